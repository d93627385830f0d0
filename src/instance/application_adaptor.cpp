#include "instance/application_adaptor.h"

#include "instance/instance_log.h"
#include "instance/single_instance.h"

#include <QDBusConnection>

namespace zorvik {

ApplicationAdaptor::ApplicationAdaptor(SingleInstance *owner) : QDBusAbstractAdaptor(owner), m_owner(owner) {}

void ApplicationAdaptor::Activate(const QVariantMap &)
{
    qCDebug(lcInstance) << "Activate";
    emit m_owner->activated();
}

void ApplicationAdaptor::Open(const QStringList &uris, const QVariantMap &)
{
    qCDebug(lcInstance) << "Open" << uris.size() << "files: shown, not opened";
    emit m_owner->activated();
}

void ApplicationAdaptor::ActivateAction(const QString &name, const QVariantList &, const QVariantMap &,
                                        const QDBusMessage &message)
{
    message.setDelayedReply(true);
    QDBusConnection::sessionBus().send(message.createErrorReply(QDBusError::InvalidArgs,
                                                                QStringLiteral("No action named '%1'").arg(name)));
}

} // namespace zorvik
