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
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace zorvik;
using namespace zorvik::testing;
using namespace Qt::StringLiterals;

class TestTranslations : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_config.isValid());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_config.path());
    }
    void cleanupTestCase()
    {
        QLocale::setDefault(QLocale::c());
        Translations::install();
    }

    void panelTexts_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("pin");
        QTest::addColumn<QString>("hide");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<QString>("wheel");
        const QStringList german{u"Im Vordergrund halten"_s, u"Ausblenden — über die Menüleiste wieder öffnen"_s,
                                 u"Wähle eine Farbe und gib dem Rad einen Schwung."_s, u"Roulettekessel"_s};
        const QStringList english{u"Keep on top"_s, u"Hide — reopen from the menu bar"_s,
                                  u"Choose a color, then flick the wheel."_s, u"Roulette wheel"_s};
        // The order matters: each row replaces the catalogue the row before installed.
        QTest::newRow("de_DE") << u"de_DE"_s << true << german[0] << german[1] << german[2] << german[3];
        QTest::newRow("en_US after German") << u"en_US"_s << false << english[0] << english[1] << english[2]
                                            << english[3];
        QTest::newRow("de_AT takes plain German") << u"de_AT"_s << true << german[0] << german[1] << german[2]
                                                  << german[3];
        QTest::newRow("fr_FR has no catalogue") << u"fr_FR"_s << false << english[0] << english[1] << english[2]
                                                << english[3];
    }

    void panelTexts()
    {
        QFETCH(QString, locale);
        QFETCH(bool, found);
        QLocale::setDefault(QLocale(locale));
        QCOMPARE(Translations::install(), found);

        FakeClock clock;
        ManualTicker ticker;
        ScriptedRandom random;
        RecordingAnnouncer announcer;
        MemorySettings settings;
        RecordingAudioOutput audio;
        Game game(GameServices{&clock, &ticker, &random, &announcer, &settings, &audio});
        Content content(game, {}, {});

        auto *pinButton = content.findChild<QAbstractButton *>(u"pin"_s);
        auto *hideButton = content.findChild<QAbstractButton *>(u"hide"_s);
        QVERIFY(pinButton && hideButton);
        QFETCH(QString, pin);
        QFETCH(QString, hide);
        QCOMPARE(pinButton->toolTip(), pin);
        QCOMPARE(hideButton->toolTip(), hide);

        QFETCH(QString, hint);
        bool hintShown = false;
        for (const QLabel *label : content.findChildren<QLabel *>())
            hintShown = hintShown || label->text() == hint;
        QVERIFY2(hintShown, qPrintable(hint));

        QFETCH(QString, wheel);
        auto *view = content.findChild<Wheel *>();
        QVERIFY(view);
        QAccessibleInterface *element = QAccessible::queryAccessibleInterface(view);
        QVERIFY(element);
        QCOMPARE(element->text(QAccessible::Name), wheel);

        // The bet names and the game's message are the game's and stay as they are.
        auto *red = content.findChild<QAbstractButton *>(u"betRed"_s);
        QVERIFY(red);
        QCOMPARE(red->text(), u"Red"_s);
        game.select(Bet::red);
        game.start(7.0, true);
        QCOMPARE(game.message(), QString(u"Around it goes\u2026"_s));
    }

private:
    QTemporaryDir m_config;
};

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
