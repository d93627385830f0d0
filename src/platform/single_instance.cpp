// Plain POSIX sockets watched by QSocketNotifier rather than QLocalServer/QLocalSocket: the
// single-instance guard is the program's only use of local sockets, and QLocalServer would load
// all of QtNetwork (about 1 MB of resident memory at launch) for one abstract-namespace socket.
#include "platform/single_instance.h"

#include <QDeadlineTimer>
#include <QScopeGuard>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <utility>

#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

namespace zorvik {

namespace {

const QByteArray showCommand = QByteArrayLiteral("show\n");
// What the running instance says once it has read "show": a hang-up without it means the
// request was not heard (all client slots were taken).
const QByteArray shownReply = QByteArrayLiteral("shown\n");
// A client's deadline to speak, and a launch's to connect and hear the answer.
constexpr int timeoutMs = 1000;
// A client that says more than this without saying "show" is not one of ours.
constexpr qsizetype maxMessage = 256;
// Clients still to speak that are waited for at once; any more are hung up on at once.
constexpr int maxWaiting = 4;
// The names tried in turn while another user holds them: "<name>", "<name>-1", ...
constexpr int nameCount = 4;

// The abstract address: a leading NUL, then the name's bytes (no terminating NUL, the length
// says where it ends).
struct Address {
    sockaddr_un address{};
    socklen_t length = 0;
    bool valid = false;
};

Address abstractAddress(const QString &name)
{
    Address result;
    const QByteArray bytes = name.toUtf8();
    result.address.sun_family = AF_UNIX;
    if (bytes.isEmpty() || std::size_t(bytes.size()) + 1 > sizeof(result.address.sun_path))
        return result;
    result.address.sun_path[0] = '\0';
    std::memcpy(result.address.sun_path + 1, bytes.constData(), std::size_t(bytes.size()));
    result.length = socklen_t(offsetof(sockaddr_un, sun_path) + 1 + std::size_t(bytes.size()));
    result.valid = true;
    return result;
}

bool writeAll(int fd, const QByteArray &data)
{
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t n = ::send(fd, data.constData() + done, std::size_t(data.size() - done), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

bool sameUser(int socket)
{
    ucred peer{};
    socklen_t length = sizeof peer;
    return ::getsockopt(socket, SOL_SOCKET, SO_PEERCRED, &peer, &length) == 0 && peer.uid == ::geteuid();
}

enum class Heard { more, show, nothing };

// Reads what a client has sent so far, without waiting.
Heard hear(int client, QByteArray &received)
{
    for (;;) {
        char buffer[64];
        const ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
        if (n > 0) {
            received.append(buffer, qsizetype(n));
            if (received.contains("show"))
                return Heard::show;
            if (received.size() > maxMessage)
                return Heard::nothing;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        // 0: the other side hung up; EAGAIN: wait for more; anything else: give up.
        return n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) ? Heard::more : Heard::nothing;
    }
}

} // namespace

SingleInstance::SingleInstance(QString name, QObject *parent)
    : QObject(parent), m_name(name.isEmpty() ? defaultName() : std::move(name))
{
}

SingleInstance::~SingleInstance()
{
    // The notifiers (the listener's and each client's) are children; close their sockets.
    const QList<QSocketNotifier *> notifiers = findChildren<QSocketNotifier *>(Qt::FindDirectChildrenOnly);
    for (QSocketNotifier *notifier : notifiers) {
        const int fd = int(notifier->socket());
        delete notifier;
        ::close(fd);
    }
}

QString SingleInstance::defaultName()
{
    return QStringLiteral("zorvik-%1").arg(::getuid());
}

SingleInstance::Listener SingleInstance::ask(const QString &name)
{
    const Address address = abstractAddress(name);
    if (!address.valid)
        return Listener::nobody;
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket < 0)
        return Listener::nobody;
    const auto closeSocket = qScopeGuard([socket] { ::close(socket); });
    // A listener that stopped accepting must not hang this launch: connect and send time out.
    const timeval timeout{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    ::setsockopt(socket, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
    int connected;
    do
        connected = ::connect(socket, reinterpret_cast<const sockaddr *>(&address.address), address.length);
    while (connected < 0 && errno == EINTR);
    // Refused: nobody listens. Any other failure (a full queue that timed out) leaves the
    // listener unchecked, so it counts as someone else's.
    if (connected < 0)
        return errno == ECONNREFUSED ? Listener::nobody : Listener::stranger;
    if (!sameUser(socket))
        return Listener::stranger;
    if (!writeAll(socket, showCommand))
        return Listener::silent;
    pollfd reply{socket, POLLIN, 0};
    char buffer[16];
    if (::poll(&reply, 1, timeoutMs) <= 0)
        return Listener::silent;
    const ssize_t n = ::recv(socket, buffer, sizeof buffer, 0);
    return n > 0 && QByteArray(buffer, qsizetype(n)) == shownReply ? Listener::shown : Listener::silent;
}

bool SingleInstance::listen(const QString &name)
{
    const Address address = abstractAddress(name);
    if (!address.valid)
        return false;
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (socket < 0)
        return false;
    if (::bind(socket, reinterpret_cast<const sockaddr *>(&address.address), address.length) < 0
        || ::listen(socket, 16) < 0) {
        ::close(socket);
        return false;
    }
    m_fd = socket;
    m_name = name;
    m_listener = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
    connect(m_listener, &QSocketNotifier::activated, this, &SingleInstance::accept);
    return true;
}

bool SingleInstance::claim()
{
    if (listening())
        return true;
    const QString first = m_name;
    // An instance with its client slots taken is asked again for a while.
    const QDeadlineTimer deadline(2 * timeoutMs);
    const auto answer = [&deadline](const QString &name) {
        Listener found = ask(name);
        while (found == Listener::silent && !deadline.hasExpired()) {
            ::poll(nullptr, 0, 20);
            found = ask(name);
        }
        return found;
    };
    // This user's instance may be on any of the names (another user held the earlier ones when it
    // started, and may have let go since): look at them all before taking the first free one.
    for (int pass = 0; pass < 2; ++pass) {
        for (int index = 0; index < nameCount; ++index) {
            const QString name = index == 0 ? first : first + u'-' + QString::number(index);
            Listener found = answer(name);
            if (pass == 1 && found == Listener::nobody) {
                if (listen(name)) {
                    if (index > 0)
                        std::fprintf(stderr, "zorvik: %s is held by another user; listening on %s\n",
                                     qPrintable(first), qPrintable(name));
                    return true;
                }
                found = answer(name); // someone may have started listening since the look
            }
            if (found == Listener::silent)
                std::fprintf(stderr, "zorvik: the running instance on %s does not answer\n", qPrintable(name));
            if (found == Listener::shown || found == Listener::silent)
                return false;
        }
    }
    std::fprintf(stderr, "zorvik: %s and the names after it are held by other users; running without the guard\n",
                 qPrintable(first));
    return true;
}

bool SingleInstance::listening() const
{
    return m_fd >= 0;
}

void SingleInstance::accept()
{
    for (;;) {
        const int client = ::accept4(m_fd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (client < 0) {
            if (errno == EINTR)
                continue;
            return; // EAGAIN: all taken; anything else: try again on the next wake-up
        }
        // Another user's client is hung up on unheard. A launch has mostly said "show" by the
        // time it is accepted and is answered at once; clients still to speak are waited for
        // only while a slot is free.
        QByteArray received;
        const Heard heard = sameUser(client) ? hear(client, received) : Heard::nothing;
        if (heard == Heard::more && m_waiting < maxWaiting)
            watch(client, std::move(received));
        else
            finish(client, heard == Heard::show);
    }
}

void SingleInstance::watch(int client, QByteArray received)
{
    ++m_waiting;
    auto *notifier = new QSocketNotifier(client, QSocketNotifier::Read, this);
    auto *deadline = new QTimer(notifier);
    // The notifier leaves the children first, so the destructor never closes this descriptor a
    // second time.
    const auto done = [this, notifier, deadline, client](bool show) {
        --m_waiting;
        deadline->stop();
        notifier->setEnabled(false);
        notifier->setParent(nullptr);
        notifier->deleteLater();
        finish(client, show);
    };
    connect(deadline, &QTimer::timeout, this, [done] { done(false); });
    connect(notifier, &QSocketNotifier::activated, this, [done, client, received]() mutable {
        const Heard heard = hear(client, received);
        if (heard != Heard::more)
            done(heard == Heard::show);
    });
    deadline->setSingleShot(true);
    deadline->start(timeoutMs);
}

void SingleInstance::finish(int client, bool show)
{
    // The launch that asked waits for the answer before it exits.
    if (show)
        writeAll(client, shownReply);
    ::close(client);
    if (show)
        emit showRequested();
}

} // namespace zorvik
