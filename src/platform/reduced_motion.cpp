#include "platform/reduced_motion.h"

#include "platform/gsettings.h"
#include "platform/portal_settings.h"

#include <QDBusConnection>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <QDir>
#include <QFile>
#include <QFileSystemWatcher>

#include <array>

namespace zorvik {

namespace {

constexpr int answerTimeoutMs = 2000;

const QString reducedMotionKey = QStringLiteral("reduced-motion");
const QString gnomeInterface = QStringLiteral("org.gnome.desktop.interface");
const QString enableAnimationsKey = QStringLiteral("enable-animations");
const QString kdeGroup = QStringLiteral("org.kde.kdeglobals.KDE");
const QString animationFactorKey = QStringLiteral("AnimationDurationFactor");

struct PortalKey {
    const QString &nameSpace;
    const QString &key;
    ReducedMotion::Source source;
};

const std::array<PortalKey, 3> &portalKeys()
{
    static const std::array<PortalKey, 3> keys{{
        {PortalSettings::appearance, reducedMotionKey, ReducedMotion::Source::portal},
        {gnomeInterface, enableAnimationsKey, ReducedMotion::Source::gnome},
        {kdeGroup, animationFactorKey, ReducedMotion::Source::kde},
    }};
    return keys;
}

QVariant unwrapped(QVariant value)
{
    // Bounded, so that a pathological reply cannot keep us here.
    for (int depth = 0; depth < 8 && value.metaType() == QMetaType::fromType<QDBusVariant>(); ++depth)
        value = qvariant_cast<QDBusVariant>(value).variant();
    return value;
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
        const double factor = unwrapped(value).toString().trimmed().toDouble(&ok);
        return ok ? std::optional<bool>(factor == 0.0) : std::nullopt;
    }
    }
    return std::nullopt;
}

} // namespace

ReducedMotion::ReducedMotion(QObject *parent) : QObject(parent) {}

ReducedMotion::~ReducedMotion() = default;

void ReducedMotion::start()
{
    if (m_started)
        return;
    m_started = true;
    qRegisterMetaType<QDBusVariant>();
    readPortal();
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

void ReducedMotion::readPortal()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        readFallbacks();
        return;
    }
    bus.connect(PortalSettings::service, PortalSettings::path, PortalSettings::interface,
                QStringLiteral("SettingChanged"), this,
                SLOT(portalSettingChanged(QString, QString, QDBusVariant)));

    // Each key is its own question: a portal that does not know one (before 1.21 nobody knows
    // "reduced-motion") answers that one with an error.
    for (const PortalKey &entry : portalKeys()) {
        ++m_portalPending;
        const QDBusPendingCall call =
            bus.asyncCall(PortalSettings::readCall(entry.nameSpace, entry.key), answerTimeoutMs);
        auto *watcher = new QDBusPendingCallWatcher(call, this);
        const Source source = entry.source;
        connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, source](QDBusPendingCallWatcher *done) {
            done->deleteLater();
            const QDBusMessage reply = done->reply();
            if (reply.type() == QDBusMessage::ReplyMessage) {
                m_portalAnswered = true;
                if (!reply.arguments().isEmpty() && !m_answers[static_cast<int>(source)])
                    setAnswer(source, answerFor(source, reply.arguments().constFirst()));
            }
            // No portal, or one that hangs: the desktop's own files and tools answer instead.
            if (--m_portalPending == 0 && !m_portalAnswered)
                readFallbacks();
        });
    }
}

void ReducedMotion::portalSettingChanged(const QString &nameSpace, const QString &key, const QDBusVariant &value)
{
    for (const PortalKey &entry : portalKeys()) {
        if (entry.nameSpace == nameSpace && entry.key == key)
            setAnswer(entry.source, answerFor(entry.source, QVariant::fromValue(value)));
    }
}

void ReducedMotion::readFallbacks()
{
    if (m_fallbacksRead)
        return;
    m_fallbacksRead = true;
    Gsettings::get(this, gnomeInterface, enableAnimationsKey, [this](const QString &output) {
        if (const auto answer = fromGsettings(output))
            setAnswer(Source::gnome, answer);
    });
    // Small files, read again only when KDE writes them.
    m_kdeWatcher = new QFileSystemWatcher(this);
    for (const QString &file : kdeglobalsFiles()) {
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
    setAnswer(Source::kde, fromKdeglobalsFiles(kdeglobalsFiles()));
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
    const QVariant inner = unwrapped(value);
    if (inner.typeId() != QMetaType::Bool)
        return std::nullopt;
    return !inner.toBool();
}

std::optional<double> ReducedMotion::animationFactor(const QString &kdeglobals)
{
    bool inKdeGroup = false;
    std::optional<double> factor;
    const QStringList lines = kdeglobals.split(QLatin1Char('\n'));
    for (const QString &raw : lines) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            // "[KDE]" and also "[KDE][$i]" (an immutable group) open the group.
            inKdeGroup = line == QLatin1String("[KDE]") || line.startsWith(QLatin1String("[KDE]["));
            continue;
        }
        if (!inKdeGroup)
            continue;
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals < 0)
            continue;
        QString key = line.left(equals).trimmed();
        // Keys may carry KConfig flags: "AnimationDurationFactor[$i]".
        if (const qsizetype flags = key.indexOf(QLatin1String("[$")); flags >= 0)
            key.truncate(flags);
        if (key != animationFactorKey)
            continue;
        bool ok = false;
        const double value = line.mid(equals + 1).trimmed().toDouble(&ok);
        if (ok)
            factor = value; // a later line of the same file wins, as in KConfig
    }
    return factor;
}

QStringList ReducedMotion::kdeglobalsFiles()
{
    QStringList directories;
    const QString home = qEnvironmentVariable("XDG_CONFIG_HOME");
    directories << (home.isEmpty() ? QDir::homePath() + QLatin1String("/.config") : home);
    const QString dirs = qEnvironmentVariable("XDG_CONFIG_DIRS");
    if (dirs.isEmpty())
        directories << QStringLiteral("/etc/xdg");
    else
        directories << dirs.split(QLatin1Char(':'), Qt::SkipEmptyParts);

    QStringList files;
    for (const QString &directory : std::as_const(directories))
        files << directory + QLatin1String("/kdeglobals");
    return files;
}

std::optional<bool> ReducedMotion::fromKdeglobalsFiles(const QStringList &files)
{
    for (const QString &path : files) {
        QFile file(path);
        // A kdeglobals file is a few kilobytes; anything far larger is not one.
        if (file.size() > (1 << 20) || !file.open(QIODevice::ReadOnly | QIODevice::Text))
            continue;
        if (const auto factor = animationFactor(QString::fromUtf8(file.readAll())))
            return *factor == 0.0;
    }
    return std::nullopt;
}

} // namespace zorvik
