#include "services/settings.h"

namespace zorvik {

namespace {

const QString mutedKey = QStringLiteral("soundMuted");
const QString volumeKey = QStringLiteral("soundVolume");
const QString appearanceKey = QStringLiteral("appearance");
const QString panelGroup = QStringLiteral("ZorvikPanel/");

QString panelKey(const char *name)
{
    return panelGroup + QLatin1String(name);
}

bool isNumber(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

bool isText(const QVariant &value)
{
    return value.typeId() == QMetaType::QString || value.typeId() == QMetaType::QByteArray;
}

std::optional<double> number(const QVariant &value)
{
    if (isNumber(value))
        return value.toDouble();
    if (!isText(value))
        return std::nullopt;
    bool ok = false;
    const double parsed = value.toString().trimmed().toDouble(&ok);
    return ok ? std::optional<double>(parsed) : std::nullopt;
}

std::optional<int> wholeNumber(const QVariant &value)
{
    if (!value.isValid())
        return std::nullopt;
    bool ok = false;
    const int result = value.toString().trimmed().toInt(&ok);
    return ok ? std::optional<int>(result) : std::nullopt;
}

} // namespace

bool Settings::soundMuted() const
{
    const QVariant value = m_store.value(mutedKey);
    if (isText(value)) {
        const QString text = value.toString().trimmed().toLower();
        if (text == QLatin1String("true") || text == QLatin1String("yes") || text == QLatin1String("on"))
            return true;
    }
    const auto parsed = number(value);
    return parsed && *parsed != 0.0;
}

void Settings::setSoundMuted(bool muted)
{
    m_store.setValue(mutedKey, muted);
}

double Settings::soundVolume() const
{
    const QVariant value = m_store.value(volumeKey);
    if (value.typeId() == QMetaType::Bool)
        return defaultVolume;
    return number(value).value_or(defaultVolume);
}

void Settings::setSoundVolume(double volume)
{
    m_store.setValue(volumeKey, volume);
}

QString Settings::appearance() const
{
    const QVariant stored = m_store.value(appearanceKey);
    return stored.isValid() ? stored.toString() : QStringLiteral("system");
}

void Settings::setAppearance(const QString &appearance)
{
    m_store.setValue(appearanceKey, appearance);
}

std::optional<bool> Settings::darkFor(const QString &appearance)
{
    if (appearance == QLatin1String("dark"))
        return true;
    if (appearance == QLatin1String("light"))
        return false;
    return std::nullopt;
}

std::optional<Settings::PanelFrame> Settings::panelFrame() const
{
    const auto x = wholeNumber(m_store.value(panelKey("x")));
    const auto y = wholeNumber(m_store.value(panelKey("y")));
    if (!x || !y)
        return std::nullopt;
    PanelFrame frame{QPoint(*x, *y), std::nullopt, m_store.value(panelKey("screen")).toString()};
    const auto width = wholeNumber(m_store.value(panelKey("width")));
    const auto height = wholeNumber(m_store.value(panelKey("height")));
    if (width && height && *width > 0 && *height > 0)
        frame.size = QSize(*width, *height);
    return frame;
}

void Settings::setPanelFrame(const PanelFrame &frame)
{
    m_store.setValue(panelKey("x"), frame.topLeft.x());
    m_store.setValue(panelKey("y"), frame.topLeft.y());
    if (frame.size) {
        m_store.setValue(panelKey("width"), frame.size->width());
        m_store.setValue(panelKey("height"), frame.size->height());
    }
    if (!frame.screen.isEmpty())
        m_store.setValue(panelKey("screen"), frame.screen);
}

} // namespace zorvik
