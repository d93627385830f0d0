#include "platform/reduced_motion.h"

#include "platform/portal_settings.h"

#include <QDBusConnection>
#include <QDir>
#include <QFile>
#include <QProcess>

namespace zorvik {

// The preference is asked for when a drag is released, once per flick, so each call reads
// it afresh with short synchronous questions rather than keeping a subscription alive for
// the whole run of the program: a change on the desktop applies to the very next spin, and
// nothing runs at start-up. On a working desktop the portal answers within a millisecond or
// two and the gsettings process in a few; the time-outs below bound the rare hung service.
namespace {
constexpr int portalTimeoutMs = 250;
constexpr int gsettingsTimeoutMs = 500;

bool askPortal()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    const QDBusMessage reply = bus.call(
        PortalSettings::readCall(PortalSettings::appearance, QStringLiteral("reduced-motion")),
        QDBus::Block, portalTimeoutMs);
    // Portals before 1.21 answer with an error: the key is unknown to them.
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return false;
    return ReducedMotion::fromPortalValue(reply.arguments().constFirst());
}

bool askGnome()
{
    QProcess process;
    process.start(QStringLiteral("gsettings"),
                  {QStringLiteral("get"), QStringLiteral("org.gnome.desktop.interface"),
                   QStringLiteral("enable-animations")});
    if (!process.waitForFinished(gsettingsTimeoutMs)) {
        process.kill();
        process.waitForFinished(100);
        return false;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return false;
    return ReducedMotion::fromGsettings(QString::fromUtf8(process.readAllStandardOutput()));
}
} // namespace

bool ReducedMotion::preferred()
{
    return preferred(desktopSources());
}

bool ReducedMotion::preferred(const Sources &sources)
{
    for (const auto *source : {&sources.portal, &sources.gnome, &sources.kde}) {
        if (*source && (*source)())
            return true;
    }
    return false;
}

ReducedMotion::Sources ReducedMotion::desktopSources()
{
    return Sources{askPortal, askGnome, [] { return fromKdeglobalsFiles(kdeglobalsFiles()); }};
}

bool ReducedMotion::fromPortalValue(const QVariant &value)
{
    return PortalSettings::unsignedValue(value) == 1u;
}

bool ReducedMotion::fromGsettings(const QString &output)
{
    return output.trimmed() == QLatin1String("false");
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
        if (key != QLatin1String("AnimationDurationFactor"))
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

bool ReducedMotion::fromKdeglobalsFiles(const QStringList &files)
{
    for (const QString &path : files) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            continue;
        if (const auto factor = animationFactor(QString::fromUtf8(file.readAll())))
            return *factor == 0.0;
    }
    return false;
}

} // namespace zorvik
