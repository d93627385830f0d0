#include "desktop/color_scheme.h"

#include "desktop/gsettings.h"

namespace zorvik {

namespace {
const QString colorSchemeKey = QStringLiteral("color-scheme");
} // namespace

ColorScheme::ColorScheme(QObject *parent)
    : QObject(parent), m_portal({{PortalSettings::appearance, colorSchemeKey}}, this)
{
    connect(&m_portal, &PortalSettings::valueChanged, this,
            [this](int, const QVariant &value) { answer(fromPortalValue(value)); });
    connect(&m_portal, &PortalSettings::missing, this, &ColorScheme::readGsettings);
}

void ColorScheme::start()
{
    m_portal.start();
}

void ColorScheme::readGsettings()
{
    Gsettings::get(this, QStringLiteral("org.gnome.desktop.interface"), colorSchemeKey, [this](const QString &output) { answer(fromGsettings(output)); });
}

void ColorScheme::answer(std::optional<Preference> preference)
{
    if (!preference || *preference == m_preference)
        return;
    m_preference = *preference;
    emit changed();
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
