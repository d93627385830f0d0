#include "app/display_probe.h"

#include <QList>

#include <xcb/xcb.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace zorvik {

namespace {

// Why the X display does not answer; empty when it does. Without -display it is DISPLAY's.
QByteArray x11Failure(const QByteArray &argument)
{
    const QByteArray name = argument.isEmpty() ? qgetenv("DISPLAY") : argument;
    if (name.isEmpty())
        return "an X display (DISPLAY is unset)";
    xcb_connection_t *connection = xcb_connect(name.constData(), nullptr);
    const int error = xcb_connection_has_error(connection);
    xcb_disconnect(connection);
    if (error == 0)
        return {};
    const char *why = error == XCB_CONN_CLOSED_PARSE_ERR       ? " (not a display name)"
                      : error == XCB_CONN_CLOSED_INVALID_SCREEN ? " (no such screen)"
                                                                : "";
    return "the X display \"" + name + '"' + why;
}

// Why the Wayland display does not answer; empty when it does. Its socket is found as the
// Wayland client library finds it.
QByteArray waylandFailure()
{
    if (!qEnvironmentVariableIsEmpty("WAYLAND_SOCKET"))
        return {}; // a connection handed over by whoever started the program
    QByteArray name = qgetenv("WAYLAND_DISPLAY");
    if (name.isEmpty())
        name = "wayland-0";
    const QByteArray display = "the Wayland display \"" + name + '"';
    QByteArray path = name;
    if (!name.startsWith('/')) {
        const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
        if (runtime.isEmpty())
            return display + " (XDG_RUNTIME_DIR is unset)";
        path = runtime + '/' + name;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    int error = ENAMETOOLONG;
    if (path.size() < qsizetype(sizeof address.sun_path)) {
        std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
        const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        error = socket < 0 || ::connect(socket, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0
                    ? errno
                    : 0;
        if (socket >= 0)
            ::close(socket);
    }
    // EAGAIN: a compositor listens there and has not taken the connection yet.
    if (error == 0 || error == EAGAIN)
        return {};
    return display + " (" + (path == name ? QByteArray() : path + ": ") + std::strerror(error) + ')';
}

} // namespace

DisplayProbe::Choice DisplayProbe::choose(const QByteArray &platformArgument, const QByteArray &displayArgument)
{
    QList<QByteArray> failures;
    const auto failed = [&failures](const QByteArray &failure) {
        if (!failures.contains(failure))
            failures << failure;
    };
    const QByteArray chosen = platformArgument.isEmpty() ? qgetenv("QT_QPA_PLATFORM") : platformArgument;
    if (!chosen.isEmpty()) {
        // Qt starts the first platform of the list that starts ("xcb:option" passes options).
        const QList<QByteArray> entries = chosen.split(';');
        for (const QByteArray &entry : entries) {
            const QByteArray name = entry.split(':').constFirst().trimmed();
            QByteArray failure;
            if (name == "xcb")
                failure = x11Failure(displayArgument);
            else if (name.startsWith("wayland"))
                failure = waylandFailure();
            if (failure.isEmpty())
                return {};
            failed(failure);
        }
    } else {
        const bool x11 = !displayArgument.isEmpty() || !qEnvironmentVariableIsEmpty("DISPLAY");
        const bool wayland =
            !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_SOCKET");
        if (!x11 && !wayland)
            return {{}, "no graphical display (DISPLAY and WAYLAND_DISPLAY are unset)"};
        if (x11) {
            const QByteArray failure = x11Failure(displayArgument);
            if (failure.isEmpty())
                return {"xcb", {}};
            failed(failure);
        }
        if (wayland) {
            const QByteArray failure = waylandFailure();
            if (failure.isEmpty())
                return {"wayland", {}};
            failed(failure);
        }
    }
    return {{}, "cannot connect to " + failures.join(" or to ")};
}

} // namespace zorvik
