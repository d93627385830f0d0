#include "desktop/reduced_motion.h"

#include "desktop/gsettings.h"
#include "desktop/kdeglobals.h"

#include <QFile>
#include <QFileSystemWatcher>

namespace zorvik {

namespace {

const QString gnomeInterface = QStringLiteral("org.gnome.desktop.interface");
const QString enableAnimationsKey = QStringLiteral("enable-animations");

// In the order of ReducedMotion::Source: GNOME's and KDE's portals pass their own keys on too.
QList<PortalSettings::Key> portalKeys()
{
    return {{PortalSettings::appearance, QStringLiteral("reduced-motion")},
            {gnomeInterface, enableAnimationsKey},
            {QStringLiteral("org.kde.kdeglobals.KDE"), QStringLiteral("AnimationDurationFactor")}};
}

std::optional<bool> fromFactor(std::optional<double> factor)
{
    return factor ? std::optional<bool>(*factor == 0.0) : std::nullopt;
}

std::optional<bool> answerFor(ReducedMotion::Source source, const QVariant &value)
{
    switch (source) {
    case ReducedMotion::Source::portal:
        return ReducedMotion::fromPortalValue(value);
    case ReducedMotion::Source::gnome:
        return ReducedMotion::fromGnomeValue(value);
    case ReducedMotion::Source::kde: {
        // KDE's portal passes kdeglobals values on as text.
        bool ok = false;
        const double factor = value.toString().trimmed().toDouble(&ok);
        return fromFactor(ok ? std::optional<double>(factor) : std::nullopt);
    }
    }
    return std::nullopt;
}

} // namespace

ReducedMotion::ReducedMotion(QObject *parent) : QObject(parent), m_portal(portalKeys(), this)
{
    connect(&m_portal, &PortalSettings::valueChanged, this, [this](int index, const QVariant &value) {
        const auto source = static_cast<Source>(index);
        setAnswer(source, answerFor(source, value));
    });
    connect(&m_portal, &PortalSettings::missing, this, &ReducedMotion::readFallbacks);
}

ReducedMotion::~ReducedMotion() = default;

void ReducedMotion::start()
{
    m_portal.start();
}

bool ReducedMotion::preferred() const
{
    for (const auto &answer : m_answers) {
        if (answer)
            return *answer;
    }
    return false;
}

void ReducedMotion::setAnswer(Source source, std::optional<bool> reduce)
{
    const bool before = preferred();
    m_answers[static_cast<int>(source)] = reduce;
    if (preferred() != before)
        emit changed();
}

void ReducedMotion::readFallbacks()
{
    if (m_kdeWatcher)
        return;
    Gsettings::get(this, gnomeInterface, enableAnimationsKey, [this](const QString &output) {
        if (const auto answer = fromGsettings(output))
            setAnswer(Source::gnome, answer);
    });
    // Small files, read again only when KDE writes them.
    m_kdeWatcher = new QFileSystemWatcher(this);
    for (const QString &file : Kdeglobals::files()) {
        if (QFile::exists(file))
            m_kdeWatcher->addPath(file);
    }
    connect(m_kdeWatcher, &QFileSystemWatcher::fileChanged, this, [this](const QString &path) {
        // KConfig replaces the file on save, which ends the watch: take the new one.
        if (!m_kdeWatcher->files().contains(path) && QFile::exists(path))
            m_kdeWatcher->addPath(path);
        readKdeglobals();
    });
    readKdeglobals();
}

void ReducedMotion::readKdeglobals()
{
    setAnswer(Source::kde, fromFactor(Kdeglobals::animationFactor(Kdeglobals::files())));
}

std::optional<bool> ReducedMotion::fromPortalValue(const QVariant &value)
{
    const auto number = PortalSettings::unsignedValue(value);
    return number ? std::optional<bool>(*number == 1u) : std::nullopt;
}

std::optional<bool> ReducedMotion::fromGsettings(const QString &output)
{
    const QString text = output.trimmed();
    if (text == QLatin1String("false"))
        return true;
    if (text == QLatin1String("true"))
        return false;
    return std::nullopt;
}

std::optional<bool> ReducedMotion::fromGnomeValue(const QVariant &value)
{
    const QVariant inner = PortalSettings::unwrapped(value);
    if (inner.typeId() != QMetaType::Bool)
        return std::nullopt;
    return !inner.toBool();
}

} // namespace zorvik
