#include "desktop/kdeglobals.h"

#include <QDir>
#include <QFile>

namespace zorvik::Kdeglobals {

QStringList files()
{
    QStringList directories;
    const QString home = qEnvironmentVariable("XDG_CONFIG_HOME");
    directories << (home.isEmpty() ? QDir::homePath() + QLatin1String("/.config") : home);
    const QString dirs = qEnvironmentVariable("XDG_CONFIG_DIRS");
    if (dirs.isEmpty())
        directories << QStringLiteral("/etc/xdg");
    else
        directories << dirs.split(QLatin1Char(':'), Qt::SkipEmptyParts);

    QStringList result;
    for (const QString &directory : std::as_const(directories))
        result << directory + QLatin1String("/kdeglobals");
    return result;
}

std::optional<double> animationFactor(const QString &text)
{
    bool inKdeGroup = false;
    std::optional<double> factor;
    const QStringList lines = text.split(QLatin1Char('\n'));
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

std::optional<double> animationFactor(const QStringList &paths)
{
    for (const QString &path : paths) {
        QFile file(path);
        // A kdeglobals file is a few kilobytes; anything far larger is not one.
        if (file.size() > (1 << 20) || !file.open(QIODevice::ReadOnly | QIODevice::Text))
            continue;
        if (const auto factor = animationFactor(QString::fromUtf8(file.readAll())))
            return factor;
    }
    return std::nullopt;
}

} // namespace zorvik::Kdeglobals
