// The bundled German catalogue reaches the panel's fixed texts; other languages keep the
// English keys, and the game's own texts are never translated.
#include "fakes.h"

#include "game/game.h"
#include "panel/content.h"
#include "platform/translations.h"
#include "wheel/wheel.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QLabel>
#include <QLocale>
#include <QStandardPaths>
#include <QtTest>

using namespace zorvik;
using namespace zorvik::testing;
using namespace Qt::StringLiterals;

class TestTranslations : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // Pin and hide tooltips, the hint line and the wheel's accessible name. The order of the
    // rows matters: each replaces the catalogue the row before installed.
    void panelTexts_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QStringList>("texts");
        const QStringList german{u"Im Vordergrund halten"_s, u"Ausblenden — über die Menüleiste wieder öffnen"_s,
                                 u"Wähle eine Farbe und gib dem Rad einen Schwung."_s, u"Roulettekessel"_s};
        const QStringList english{u"Keep on top"_s, u"Hide — reopen from the menu bar"_s,
                                  u"Choose a color, then flick the wheel."_s, u"Roulette wheel"_s};
        QTest::newRow("de_DE") << u"de_DE"_s << true << german;
        QTest::newRow("en_US after German") << u"en_US"_s << false << english;
        QTest::newRow("de_AT takes plain German") << u"de_AT"_s << true << german;
        QTest::newRow("fr_FR has no catalogue") << u"fr_FR"_s << false << english;
    }
    void panelTexts()
    {
        QFETCH(QString, locale);
        QFETCH(bool, found);
        QFETCH(QStringList, texts);
        QLocale::setDefault(QLocale(locale));
        QCOMPARE(Translations::install(), found);

        Fakes fakes;
        Game game(fakes.services());
        Content content(game, {}, {});
        const auto button = [&](const QString &name) { return content.findChild<QAbstractButton *>(name); };
        QCOMPARE(button(u"pin"_s)->toolTip(), texts[0]);
        QCOMPARE(button(u"hide"_s)->toolTip(), texts[1]);
        const auto labels = content.findChildren<QLabel *>();
        QVERIFY2(std::any_of(labels.begin(), labels.end(), [&](QLabel *l) { return l->text() == texts[2]; }),
                 qPrintable(texts[2]));
        QCOMPARE(QAccessible::queryAccessibleInterface(content.findChild<Wheel *>())->text(QAccessible::Name),
                 texts[3]);

        // The bet names and the game's message are the game's and stay as they are.
        QCOMPARE(button(u"betRed"_s)->text(), u"Red"_s);
        game.select(Bet::red);
        game.start(7.0, true);
        QCOMPARE(game.message(), u"Around it goes\u2026"_s);
    }
};

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
