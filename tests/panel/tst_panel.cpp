// Every shipped language: its catalogue is complete and keeps each placeholder, the user's locale
// finds it, and the panel shows it within its places in the panel's fonts, every character drawn
// (by the system's fallback fonts where ours have none). The panel as the user meets it:
// tests/sound/tst_sound_control.cpp and the end-to-end scripts.
#include "support/fakes.h"

#include "game/message_text.h"
#include "panel/bet_button.h"
#include "panel/content.h"
#include "panel/hint_line.h"
#include "panel/message_line.h"
#include "panel/volume_card.h"
#include "desktop/color_scheme.h"
#include "desktop/reduced_motion.h"
#include "app/translations.h"
#include "style/fonts.h"

#include <QTextLayout>
#include <QXmlStreamReader>
#include <QtTest>

using namespace zorvik;
using namespace Qt::StringLiterals;

namespace {

struct Entry {
    QString source;
    bool done = true;
    QStringList translations; // one, or each plural form
};

QList<Entry> readCatalogue(const QString &path, QString *language = nullptr)
{
    QFile file(path);
    QList<Entry> entries;
    bool plural = false;
    QXmlStreamReader xml(file.open(QIODevice::ReadOnly) ? &file : nullptr);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QStringView name = xml.name();
        if (name == u"TS"_s && language)
            *language = xml.attributes().value(u"language"_s).toString();
        else if (name == u"message"_s)
            plural = xml.attributes().value(u"numerus"_s) == u"yes"_s;
        else if (name == u"source"_s)
            entries.append({xml.readElementText(), true, {}});
        else if (name == u"translation"_s)
            entries.last().done = xml.attributes().value(u"type"_s).isEmpty(); // not unfinished, vanished, obsolete
        if ((name == u"translation"_s && !plural) || name == u"numerusform"_s)
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

// Whether the font, or a font the system falls back to, has a glyph for every character.
bool drawable(const QString &text, const QFont &font)
{
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    const QList<QGlyphRun> runs = layout.glyphRuns();
    return std::none_of(runs.begin(), runs.end(), [](const QGlyphRun &run) { return run.glyphIndexes().contains(0); });
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
    // The catalogue as shipped, brought up to date with the sources by lupdate: a text of the
    // program that it lacks comes out unfinished.
    void languages()
    {
        QFETCH(QString, path);
        QTemporaryDir scratch;
        const QString copy = scratch.filePath(QFileInfo(path).fileName());
        QVERIFY(QFile::copy(path, copy));
        QProcess lupdate;
        lupdate.start(QStringLiteral(ZORVIK_LUPDATE), {u"-no-obsolete"_s, u"-locations"_s, u"none"_s, u"-silent"_s,
                                                       QStringLiteral(ZORVIK_SOURCES), u"-ts"_s, copy});
        QVERIFY(lupdate.waitForFinished(60000) && lupdate.exitCode() == 0);
        QString language;
        QHash<QString, QString> words;
        for (const Entry &entry : readCatalogue(copy, &language)) {
            QVERIFY2(entry.done && !entry.translations.isEmpty(), qPrintable(entry.source));
            for (const QString &translation : entry.translations)
                QVERIFY2(!translation.isEmpty() && placeholders(translation) == placeholders(entry.source),
                         qPrintable(entry.source + u" -> "_s + translation));
            words.insert(entry.source, entry.translations.constFirst());
        }

        QLocale::setDefault(QLocale(language));
        QVERIFY(Translations::install());
        Content content(m_game, {m_fakes.typedSettings, m_scheme, m_motion});
        content.show();
        const auto *line = content.findChild<MessageLine *>();
        const auto *hint = content.findChild<HintLine *>();
        QCOMPARE(line->text(), words.value(u"A little moment of chance."_s));
        QCOMPARE(hint->shownText(), words.value(u"Choose a color, then flick the wheel."_s));
        QVERIFY2(drawable(hint->text(), Fonts::rounded(11)), qPrintable(hint->text()));
        for (const QString &bet : {u"Red"_s, u"Black"_s}) {
            const auto *button = content.findChild<BetButton *>(u"bet"_s + bet);
            QVERIFY(button->text() == words.value(bet) && button->accessibleName() == words.value(u"Bet "_s + bet));
            // Dot, name and tick clear of the rounded corners (12).
            QVERIFY2(button->labelWidth(true) <= button->width() - 2 * 12
                         && drawable(button->text(), Fonts::rounded(14, QFont::DemiBold)),
                     qPrintable(u"%1: %2"_s.arg(button->text()).arg(button->labelWidth(true))));
        }

        // Every message fits its line, shrunk no further than the line allows and never cut.
        QList<Message> messages{{Message::Kind::idle}, {Message::Kind::spinning}};
        for (const int number : Roulette::pockets)
            messages << Message::result(number, Bet::red) << Message::result(number, Bet::black);
        for (const Message &message : messages) {
            const QString text = MessageText::of(message);
            const MessageLine::Fit fit = MessageLine::fit(text, line->textWidth());
            QVERIFY2(fit.text == text && drawable(text, fit.font), qPrintable(u"%1 at %2"_s.arg(text).arg(fit.scale)));
        }
        // The widest volume in the locale's format fits its label.
        const QString widest = VolumeCard::percentText(1.5);
        QVERIFY2(VolumeCard::percentTextWidth(widest) <= VolumeCard::labelWidth && drawable(widest, Fonts::rounded(10)),
                 qPrintable(widest));
    }

private:
    testing::Fakes m_fakes;
    ColorScheme m_scheme; // never started: the desktop's own answer must not arrive mid-test
    ReducedMotion m_motion;
    Game m_game{m_fakes.services()};
};

QTEST_MAIN(TestPanel)
#include "tst_panel.moc"
