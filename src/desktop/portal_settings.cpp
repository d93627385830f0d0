#include "desktop/portal_settings.h"

#include "desktop/desktop_log.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>

namespace zorvik {

namespace {
const QString service = QStringLiteral("org.freedesktop.portal.Desktop");
const QString path = QStringLiteral("/org/freedesktop/portal/desktop");
const QString interface = QStringLiteral("org.freedesktop.portal.Settings");
// A portal that takes longer counts as absent.
constexpr int answerTimeoutMs = 2000;
} // namespace

const QString PortalSettings::appearance = QStringLiteral("org.freedesktop.appearance");

PortalSettings::PortalSettings(QList<Key> keys, QObject *parent)
    : QObject(parent), m_keys(std::move(keys)), m_changed(std::size_t(m_keys.size()), false)
{
}

void PortalSettings::start()
{
    if (m_started)
        return;
    m_started = true;
    // SettingChanged carries a variant; Qt's D-Bus layer can only deliver it to a slot once the
    // type is known to the meta-type system.
    qRegisterMetaType<QDBusVariant>();

    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        qCDebug(lcDesktop) << "no session bus: no settings portal";
        emit missing();
        return;
    }
    bus.connect(service, path, interface, QStringLiteral("SettingChanged"), this,
                SLOT(settingChanged(QString, QString, QDBusVariant)));
    // Each key is its own question: a portal that does not know one answers that one with an
    // error. Read answers v, and the portals shipped with Debian 12 wrap the value once more
    // (v(v(u))); newer ones offer ReadOne, which we do not need.
    for (int index = 0; index < m_keys.size(); ++index) {
        QDBusMessage read = QDBusMessage::createMethodCall(service, path, interface, QStringLiteral("Read"));
        read << m_keys[index].nameSpace << m_keys[index].key;
        auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(read, answerTimeoutMs), this);
        ++m_pending;
        connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, index](QDBusPendingCallWatcher *done) {
            done->deleteLater();
            const QDBusMessage reply = done->reply();
            const bool answered = reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty();
            if (!answered)
                qCDebug(lcDesktop) << "the portal did not read" << m_keys[index].key << reply.errorName();
            readFinished(index, answered, answered ? reply.arguments().constFirst() : QVariant());
        });
    }
}

void PortalSettings::readFinished(int index, bool answered, const QVariant &value)
{
    m_answered = m_answered || answered;
    if (answered && !m_changed[std::size_t(index)])
        emit valueChanged(index, unwrapped(value));
    if (--m_pending == 0 && !m_answered) {
        qCDebug(lcDesktop) << "no settings portal answers";
        emit missing();
    }
}

void PortalSettings::settingChanged(const QString &nameSpace, const QString &key, const QDBusVariant &value)
{
    for (int index = 0; index < m_keys.size(); ++index) {
        if (m_keys[index].nameSpace == nameSpace && m_keys[index].key == key) {
            m_changed[std::size_t(index)] = true;
            emit valueChanged(index, unwrapped(value.variant()));
        }
    }
}

QVariant PortalSettings::unwrapped(QVariant value)
{
    for (int depth = 0; depth < 8 && value.metaType() == QMetaType::fromType<QDBusVariant>(); ++depth)
        value = qvariant_cast<QDBusVariant>(value).variant();
    return value;
}

std::optional<uint> PortalSettings::unsignedValue(const QVariant &wrapped)
{
    const QVariant value = unwrapped(wrapped);
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

} // namespace zorvik
