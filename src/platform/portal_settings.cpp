#include "platform/portal_settings.h"

#include <QDBusArgument>
#include <QDBusVariant>

namespace zorvik::PortalSettings {

QDBusMessage readCall(const QString &nameSpace, const QString &key)
{
    QDBusMessage call = QDBusMessage::createMethodCall(service, path, interface, QStringLiteral("Read"));
    call << nameSpace << key;
    return call;
}

std::optional<uint> unsignedValue(QVariant value)
{
    // Bounded, so that a pathological reply cannot keep us here.
    for (int depth = 0; depth < 8 && value.metaType() == QMetaType::fromType<QDBusVariant>(); ++depth)
        value = qvariant_cast<QDBusVariant>(value).variant();

    switch (value.metaType().id()) {
    case QMetaType::UInt:
    case QMetaType::UShort:
    case QMetaType::UChar:
    case QMetaType::ULongLong:
        return uint(value.toULongLong());
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::LongLong: {
        const qlonglong number = value.toLongLong();
        if (number < 0)
            return std::nullopt;
        return uint(number);
    }
    default:
        return std::nullopt;
    }
}

} // namespace zorvik::PortalSettings
