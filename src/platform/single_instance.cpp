// Plain POSIX sockets watched by QSocketNotifier rather than QLocalServer/QLocalSocket: the
// single-instance guard is the program's only use of local sockets, and QLocalServer would load
// all of QtNetwork (about 1 MB of resident memory at launch) for one abstract-namespace socket.
#include "platform/single_instance.h"

#include <QByteArray>
#include <QSocketNotifier>

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <memory>
#include <utility>

#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

namespace zorvik {

namespace {

const QByteArray showCommand = QByteArrayLiteral("show\n");
constexpr int timeoutMs = 1000;
// A client that says more than this without saying "show" is not one of ours.
constexpr qsizetype maxMessage = 256;

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

bool SingleInstance::notifyRunning()
{
    const Address address = abstractAddress(m_name);
    if (!address.valid)
        return false;
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket < 0)
        return false;
    // A listener that stopped accepting must not hang this launch: connect and send time out.
    const timeval timeout{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    ::setsockopt(socket, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
    int connected;
    do
        connected = ::connect(socket, reinterpret_cast<const sockaddr *>(&address.address), address.length);
    while (connected < 0 && errno == EINTR);
    const bool sent = connected == 0 && writeAll(socket, showCommand);
    if (sent) {
        // Wait for the running instance to hang up, so the message is read before this one exits.
        pollfd hangup{socket, POLLIN, 0};
        if (::poll(&hangup, 1, timeoutMs) > 0) {
            char buffer[64];
            while (::recv(socket, buffer, sizeof buffer, MSG_DONTWAIT) > 0) {
            }
        }
    }
    ::close(socket);
    return sent;
}

bool SingleInstance::listen()
{
    const Address address = abstractAddress(m_name);
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
    m_listener = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
    connect(m_listener, &QSocketNotifier::activated, this, &SingleInstance::accept);
    return true;
}

bool SingleInstance::claim()
{
    if (listening())
        return true;
    if (notifyRunning())
        return false;
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (listen())
            return true;
        // The name is taken (EADDRINUSE): someone may have started listening between our first
        // look and now. If nobody answers, try once more.
        if (notifyRunning())
            return false;
    }
    // Neither listening nor anyone to talk to: run on without the guard.
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
        watch(client);
    }
}

void SingleInstance::watch(int client)
{
    auto *notifier = new QSocketNotifier(client, QSocketNotifier::Read, this);
    auto received = std::make_shared<QByteArray>();
    connect(notifier, &QSocketNotifier::activated, this, [this, notifier, client, received] {
        bool done = false;
        bool show = false;
        for (;;) {
            char buffer[64];
            const ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
            if (n > 0) {
                received->append(buffer, qsizetype(n));
                if (received->contains("show")) {
                    show = true;
                    done = true;
                    break;
                }
                if (received->size() > maxMessage) {
                    done = true;
                    break;
                }
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            // 0: the other side hung up; EAGAIN: wait for more; anything else: give up.
            done = n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK);
            break;
        }
        if (!done)
            return;
        // Hang up: the launch that asked waits for this before it exits. The notifier leaves the
        // children first, so the destructor never closes this descriptor a second time.
        notifier->setEnabled(false);
        notifier->setParent(nullptr);
        notifier->deleteLater();
        ::close(client);
        if (show)
            emit showRequested();
    });
}

} // namespace zorvik
