// Every shipped language: its catalogue is complete and keeps each placeholder, the locale finds
// it, and the panel shows it in the panel's fonts without cutting or shrinking past its limit.
// The panel as the user meets it (the appearance, the sound control and its volume card, the
// bets): tests/sound/tst_sound_control.cpp and the end-to-end scripts.
#include "support/fakes.h"

#include "game/message_text.h"
#include "panel/bet_button.h"
#include "panel/content.h"
#include "panel/hint_line.h"
#include "panel/message_line.h"
#include "panel/volume_card.h"
#include "platform/color_scheme.h"
#include "platform/reduced_motion.h"
#include "platform/translations.h"
#include "style/fonts.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextLayout>
#include <QXmlStreamReader>
#include <QtTest>

using namespace zorvik;
using namespace Qt::StringLiterals;

namespace {

struct Entry {
    QString source;
    QString type;             // "unfinished", "vanished", "obsolete", or empty when done
    bool plural = false;
    QStringList translations; // one, or each plural form
};

QList<Entry> readCatalogue(const QString &path, QString *language = nullptr)
{
    QFile file(path);
    QList<Entry> entries;
    if (!file.open(QIODevice::ReadOnly))
        return entries;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        if (xml.name() == u"TS"_s && language)
            *language = attributes.value(u"language"_s).toString();
        else if (xml.name() == u"message"_s)
            entries.append({{}, {}, attributes.value(u"numerus"_s) == u"yes"_s, {}});
        else if (xml.name() == u"source"_s)
            entries.last().source = xml.readElementText();
        else if (xml.name() == u"translation"_s)
            entries.last().type = attributes.value(u"type"_s).toString();
        if ((xml.name() == u"translation"_s && !entries.last().plural) || xml.name() == u"numerusform"_s)
            entries.last().translations.append(xml.readElementText());
    }
    return entries;
}

QStringList placeholders(const QString &text)
{
    QStringList found;
    for (const QRegularExpressionMatch &m : QRegularExpression(u"%(L?[1-9]|n)"_s).globalMatch(text))
        found.append(m.captured());
    found.sort();
    return found;
}

// Whether the panel's font, or a font the system falls back to, has a glyph for every character.
bool drawable(const QString &text, const QFont &font)
{
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    for (const QGlyphRun &run : layout.glyphRuns())
        if (run.glyphIndexes().contains(0))
            return false;
    return true;
}

} // namespace

class TestPanel : public QObject {
    Q_OBJECT

private slots:
    void languages_data()
    {
        QTest::addColumn<QString>("path");
        for (const QFileInfo &ts : QDir(QStringLiteral(ZORVIK_TRANSLATIONS)).entryInfoList({u"zorvik_*.ts"_s}))
            QTest::newRow(qPrintable(ts.baseName())) << ts.absoluteFilePath();
    }
    void languages()
    {
        QFETCH(QString, path);
        QString language;
        const QList<Entry> entries = readCatalogue(path, &language);
        QVERIFY(entries.size() > 30);
        QHash<QString, QString> words;
        for (const Entry &entry : entries) {
            QVERIFY2(entry.type.isEmpty() && !entry.translations.isEmpty(), qPrintable(entry.source + u" is not done"_s));
            for (const QString &translation : entry.translations)
                QVERIFY2(!translation.isEmpty() && placeholders(translation) == placeholders(entry.source),
                         qPrintable(entry.source + u" -> "_s + translation));
            words.insert(entry.source, entry.translations.constFirst());
        }

        // The user's locale finds the catalogue; the panel shows it.
        QLocale::setDefault(QLocale(language));
        QVERIFY(Translations::install());
        Content content(m_game, {m_fakes.typedSettings, m_scheme, m_motion}, {}, {});
        content.show();
        const auto *line = content.findChild<MessageLine *>();
        const auto *hint = content.findChild<HintLine *>();
        QCOMPARE(line->text(), words.value(u"A little moment of chance."_s));
        QCOMPARE(hint->shownText(), words.value(u"Choose a color, then flick the wheel."_s));
        QVERIFY2(drawable(hint->text(), Fonts::rounded(11)), qPrintable(hint->text()));
        for (const char *bet : {"Red", "Black"}) {
            const auto *button = content.findChild<BetButton *>(u"bet"_s + QLatin1String(bet));
            QCOMPARE(button->text(), words.value(QLatin1String(bet)));
            QCOMPARE(button->accessibleName(), words.value(u"Bet "_s + QLatin1String(bet)));
            // Dot, name and tick stay clear of the rounded corners (12).
            QVERIFY2(button->labelWidth(true) <= button->width() - 2 * 12,
                     qPrintable(u"%1: %2 of %3"_s.arg(button->text()).arg(button->labelWidth(true)).arg(button->width())));
            QVERIFY2(drawable(button->text(), Fonts::rounded(14, QFont::DemiBold)), qPrintable(button->text()));
        }

        // Every message fits its line, shrunk no further than the line allows and never cut.
        QList<Message> messages{{Message::Kind::idle}, {Message::Kind::spinning}};
        for (const int number : Roulette::pockets)
            messages << Message::result(number, Bet::red) << Message::result(number, Bet::black);
        for (const Message &message : messages) {
            const QString text = MessageText::of(message);
            const MessageLine::Fit fit = MessageLine::fit(text, line->textWidth());
            QVERIFY2(fit.text == text, qPrintable(u"%1 at %2"_s.arg(text).arg(fit.scale)));
            QVERIFY2(drawable(text, fit.font), qPrintable(text));
        }

        // The widest volume in the locale's format fits its label.
        const QString widest = VolumeCard::percentText(1.5);
        QVERIFY2(VolumeCard::percentTextWidth(widest) <= VolumeCard::labelWidth && drawable(widest, Fonts::rounded(10)),
                 qPrintable(widest));
    }

    // The catalogues hold every text of the program: lupdate run over the sources finds nothing
    // new to translate.
    void cataloguesCoverTheCode()
    {
        QTemporaryDir scratch;
        const QString copy = scratch.filePath(u"zorvik_de.ts"_s);
        QVERIFY(QFile::copy(QStringLiteral(ZORVIK_TRANSLATIONS "/zorvik_de.ts"), copy));
        QProcess lupdate;
        lupdate.start(QStringLiteral(ZORVIK_LUPDATE), {u"-no-obsolete"_s, u"-locations"_s, u"none"_s, u"-silent"_s,
                                                       QStringLiteral(ZORVIK_SOURCES), u"-ts"_s, copy});
        QVERIFY(lupdate.waitForFinished(60000) && lupdate.exitCode() == 0);
        QStringList undone;
        for (const Entry &entry : readCatalogue(copy))
            if (!entry.type.isEmpty())
                undone.append(entry.source);
        QVERIFY2(undone.isEmpty(), qPrintable(undone.join(u", "_s)));
    }

    // The percentage truncates toward zero, in the locale's own form.
    void percentage_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<double>("volume");
        QTest::addColumn<QString>("shown");
        QTest::newRow("en 0.29") << u"en_US"_s << 0.29 << u"28%"_s;
        QTest::newRow("de 1.5") << u"de_DE"_s << 1.5 << u"150\u00A0%"_s;
        QTest::newRow("tr 0.999") << u"tr_TR"_s << 0.999 << u"%99"_s;
    }
    void percentage()
    {
        QFETCH(QString, locale);
        QFETCH(double, volume);
        QFETCH(QString, shown);
        QLocale::setDefault(QLocale(locale));
        QCOMPARE(VolumeCard::percentText(volume), shown);
    }

private:
    testing::Fakes m_fakes;
    ColorScheme m_scheme; // never started: the desktop's own answer must not arrive mid-test
    ReducedMotion m_motion;
    Game m_game{m_fakes.services()};
};

QTEST_MAIN(TestPanel)
#include "tst_panel.moc"
