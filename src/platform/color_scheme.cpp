#include "platform/color_scheme.h"

#include "platform/gsettings.h"
#include "platform/portal_settings.h"

#include <QDBusConnection>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>

namespace zorvik {

namespace {
constexpr int answerTimeoutMs = 2000;
const QString colorSchemeKey = QStringLiteral("color-scheme");
} // namespace

ColorScheme::ColorScheme(QObject *parent) : QObject(parent) {}

void ColorScheme::start()
{
    if (m_started)
        return;
    m_started = true;

    // The SettingChanged signal carries a variant; Qt's D-Bus layer can only deliver it to a
    // slot once the type is known to the meta-type system.
    qRegisterMetaType<QDBusVariant>();

    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        readGsettings();
        return;
    }
    bus.connect(PortalSettings::service, PortalSettings::path, PortalSettings::interface,
                QStringLiteral("SettingChanged"), this,
                SLOT(portalSettingChanged(QString, QString, QDBusVariant)));

    const QDBusPendingCall call = bus.asyncCall(
        PortalSettings::readCall(PortalSettings::appearance, colorSchemeKey), answerTimeoutMs);
    auto *watcher = new QDBusPendingCallWatcher(call, this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *done) {
        done->deleteLater();
        if (m_settled)
            return;
        const QDBusMessage reply = done->reply();
        std::optional<Preference> answer;
        if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty())
            answer = fromPortalValue(reply.arguments().constFirst());
        if (answer) {
            const bool differs = *answer != m_preference;
            m_preference = *answer;
            if (differs)
                emit changed();
        } else {
            readGsettings();
        }
    });
}

void ColorScheme::setPreference(Preference preference)
{
    m_settled = true;
    if (preference == m_preference)
        return;
    m_preference = preference;
    emit changed();
}

void ColorScheme::portalSettingChanged(const QString &nameSpace, const QString &key,
                                       const QDBusVariant &value)
{
    if (nameSpace != PortalSettings::appearance || key != colorSchemeKey)
        return;
    if (const auto preference = fromPortalValue(QVariant::fromValue(value)))
        setPreference(*preference);
}

void ColorScheme::readGsettings()
{
    Gsettings::get(this, QStringLiteral("org.gnome.desktop.interface"), colorSchemeKey, [this](const QString &output) {
        if (m_settled)
            return;
        const auto answer = fromGsettings(output);
        if (answer && *answer != m_preference) {
            m_preference = *answer;
            emit changed();
        }
    });
}

std::optional<ColorScheme::Preference> ColorScheme::fromPortalValue(const QVariant &value)
{
    const auto number = PortalSettings::unsignedValue(value);
    if (!number)
        return std::nullopt;
    switch (*number) {
    case 1:
        return Preference::dark;
    case 2:
        return Preference::light;
    default:
        return Preference::none;
    }
}

std::optional<ColorScheme::Preference> ColorScheme::fromGsettings(const QString &output)
{
    const QString text = output.trimmed();
    if (text == QLatin1String("'prefer-dark'"))
        return Preference::dark;
    if (text == QLatin1String("'prefer-light'"))
        return Preference::light;
    if (text == QLatin1String("'default'"))
        return Preference::none;
    return std::nullopt;
}

} // namespace zorvik
