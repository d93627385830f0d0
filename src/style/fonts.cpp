#include "style/fonts.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QResource>
#include <QStringList>

#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <iterator>

namespace zorvik::Fonts {

namespace {

// Qt's logical DPI is 96 on the desktops we run on, so one device-independent pixel is 72/96
// of a typographic point (what QFont's point sizes count).
constexpr qreal pointsPerPixel = 72.0 / 96.0;

struct Families {
    QString rounded;  // bundled Nunito
    QString hubWord;  // bundled Inter Medium
};

// The bundled Nunito weights. The panel draws in the first three; the others are registered on
// the first request for them.
struct RoundedFile {
    QFont::Weight weight;
    const char *file;
    bool atStart;
};
constexpr RoundedFile roundedFiles[] = {
    {QFont::Normal, "Nunito_400Regular.ttf", true},
    {QFont::Medium, "Nunito_500Medium.ttf", true},
    {QFont::DemiBold, "Nunito_600SemiBold.ttf", true},
    {QFont::Bold, "Nunito_700Bold.ttf", false},
};

// Registers one bundled file; its family, or empty. The fonts are stored uncompressed in the
// executable (see style/resources.cmake), so the font database is handed the mapped bytes of the
// resource rather than a copy on the heap (addApplicationFont() on a resource path reads the
// whole file into memory).
QString addBundled(const char *file)
{
    const QResource resource(QStringLiteral(":/zorvik/fonts/") + QString::fromLatin1(file));
    if (!resource.isValid())
        return {};
    const QByteArray data = resource.compressionAlgorithm() == QResource::NoCompression
        ? QByteArray::fromRawData(reinterpret_cast<const char *>(resource.data()), qsizetype(resource.size()))
        : resource.uncompressedData();
    const int id = QFontDatabase::addApplicationFontFromData(data);
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    return families.isEmpty() ? QString() : families.first();
}

Families registerBundled()
{
    Families families;
    for (const RoundedFile &rounded : roundedFiles) {
        if (!rounded.atStart)
            continue;
        const QString family = addBundled(rounded.file);
        if (families.rounded.isEmpty())
            families.rounded = family;
    }
    families.hubWord = addBundled("Inter-Medium-latin.ttf");
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

// Registers the bundled Nunito file nearest to the weight, if it was left out at start.
void ensureRoundedWeight(QFont::Weight weight)
{
    static bool registered[std::size(roundedFiles)] = {};
    std::size_t nearest = 0;
    for (std::size_t i = 1; i < std::size(roundedFiles); ++i)
        if (std::abs(roundedFiles[i].weight - weight) < std::abs(roundedFiles[nearest].weight - weight))
            nearest = i;
    if (roundedFiles[nearest].atStart || registered[nearest])
        return;
    registered[nearest] = true;
    addBundled(roundedFiles[nearest].file);
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
    ensureRoundedWeight(weight);
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
