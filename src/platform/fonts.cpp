#include "platform/fonts.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QStringList>

#include <cmath>

namespace zorvik::Fonts {

namespace {

// Qt's logical DPI is 96 on the desktops we run on, so one panel point (a device-independent
// pixel) is 72/96 of a typographic point.
constexpr qreal pointsPerPixel = 72.0 / 96.0;

struct Families {
    QString rounded;  // bundled Nunito
    QString hubWord;  // bundled Inter Medium
};

Families registerBundled()
{
    const auto add = [](const QString &file) {
        const int id = QFontDatabase::addApplicationFont(QStringLiteral(":/zorvik/fonts/") + file);
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        return families.isEmpty() ? QString() : families.first();
    };
    Families families;
    for (const char *file : {"Nunito_400Regular.ttf", "Nunito_500Medium.ttf",
                             "Nunito_600SemiBold.ttf", "Nunito_700Bold.ttf"}) {
        const QString family = add(QString::fromLatin1(file));
        if (families.rounded.isEmpty())
            families.rounded = family;
    }
    families.hubWord = add(QStringLiteral("Inter-Medium-latin.woff2"));
    return families;
}

// Registration needs the GUI application; before it exists the fonts fall back to the default
// face and registration happens on the first call afterwards.
const Families &families()
{
    static const Families empty;
    if (!QGuiApplication::instance())
        return empty;
    static const Families registered = registerBundled();
    return registered;
}

QFont sized(QFont font, qreal size, QFont::Weight weight)
{
    font.setPointSizeF(size * pointsPerPixel);
    font.setWeight(weight);
    return font;
}

} // namespace

void load()
{
    families();
}

QFont rounded(qreal size, QFont::Weight weight)
{
    const QString &family = families().rounded;
    if (family.isEmpty())
        return system(size, weight);
    QFont font(family);
    font.setStyleHint(QFont::SansSerif);
    return sized(font, size, weight);
}

QFont system(qreal size, QFont::Weight weight)
{
    return sized(QFont(), size, weight);
}

QFont hubWord()
{
    const QString avenir = QStringLiteral("Avenir Next");
    QFont font;
    if (QGuiApplication::instance() && QFontDatabase::hasFamily(avenir)
        && QFontDatabase::styles(avenir).contains(QStringLiteral("Medium")))
        font = QFont(avenir);
    else if (!families().hubWord.isEmpty())
        font = QFont(families().hubWord);
    font = sized(font, 24, QFont::Medium);
    // Qt keeps letter spacing in 1/64 pixel and truncates toward zero: ask for the nearest step.
    font.setLetterSpacing(QFont::AbsoluteSpacing, std::round(-2.28 * 64) / 64);
    return font;
}

} // namespace zorvik::Fonts
