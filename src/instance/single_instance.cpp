#include "instance/single_instance.h"

#include "instance/application_adaptor.h"
#include "instance/instance_log.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QVariantMap>

namespace zorvik {

namespace {
// How long a launch waits for the running program to take its Activate: that one may be busy
// starting itself.
constexpr int activateTimeoutMs = 5000;
} // namespace

SingleInstance::SingleInstance(QString applicationId, QObject *parent) : QObject(parent), m_id(std::move(applicationId))
{
    new ApplicationAdaptor(this);
}

QString SingleInstance::objectPath(const QString &applicationId)
{
    return u'/' + QString(applicationId).replace(u'.', u'/').replace(u'-', u'_');
}

SingleInstance::Claim SingleInstance::claim()
{
    QElapsedTimer clock;
    clock.start();
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        qCDebug(lcInstance) << "no session bus: running without the single-instance name";
        return Claim::alone;
    }
    const qint64 connectedNs = clock.nsecsElapsed();
    // The object is there before the name: a call that comes as soon as the name is ours waits in
    // the queue until the event loop runs, and finds it.
    const QString path = objectPath(m_id);
    if (!bus.registerObject(path, this, QDBusConnection::ExportAdaptors)) {
        qCDebug(lcInstance) << "cannot serve" << path;
        return Claim::alone;
    }
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> owned = bus.interface()->registerService(
        m_id, QDBusConnectionInterface::DontQueueService, QDBusConnectionInterface::DontAllowReplacement);
    qCDebug(lcInstance) << "asked for" << m_id << "in" << (clock.nsecsElapsed() - connectedNs) / 1e6
                        << "ms, after waiting" << connectedNs / 1e6 << "ms for the bus";
    if (!owned.isValid()) {
        qCDebug(lcInstance) << "the bus would not let us own" << m_id << owned.error().message();
        bus.unregisterObject(path);
        return Claim::alone;
    }
    if (owned.value() == QDBusConnectionInterface::ServiceRegistered)
        return Claim::owner;

    bus.unregisterObject(path);
    QDBusMessage activate = QDBusMessage::createMethodCall(m_id, path, ApplicationAdaptor::interfaceName(),
                                                          QStringLiteral("Activate"));
    activate << QVariantMap();
    const QDBusMessage reply = bus.call(activate, QDBus::Block, activateTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        qCDebug(lcInstance) << "the owner of" << m_id << "did not activate:" << reply.errorMessage();
        return Claim::unanswered;
    }
    qCDebug(lcInstance) << "activated the running program in" << clock.nsecsElapsed() / 1e6 << "ms";
    return Claim::activated;
}

} // namespace zorvik
