// The panel content: the sound control with its volume card, and the fixed texts. Choosing the
// appearance, as a screen reader user does: tests/e2e/test_user_paths.py.
#include "support/fakes.h"

#include "panel/content.h"
#include "panel/hint_line.h"
#include "panel/sound_control.h"
#include "panel/volume_card.h"
#include "platform/color_scheme.h"
#include "platform/reduced_motion.h"
#include "platform/translations.h"
#include "sound/rolling_audio.h"
#include "style/fonts.h"
#include "wheel/wheel.h"

#include <QAccessible>
#include <QSlider>
#include <QtTest>

using namespace zorvik;
using namespace Qt::StringLiterals;

class TestPanel : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Fonts::load(); }

    // A click mutes and unmutes, with the volume card open too, and takes no keyboard focus (which
    // would hold the card open). Hovering opens the card over the wheel under the control; it
    // stays open while the pointer moves over to it, and its slider sets the volume.
    void soundControl()
    {
        auto content = makeContent();
        auto *control = content->findChild<SoundControl *>();
        RollingAudio &audio = m_game.audio();
        QTest::mouseClick(control, Qt::LeftButton);
        QVERIFY(audio.muted());
        QCOMPARE(control->accessibleName(), u"Unmute rolling sound"_s);
        hover(control, true);
        QTest::mouseClick(control, Qt::LeftButton);
        QVERIFY(!audio.muted() && !control->hasFocus());
        VolumeCard *card = control->volumeCard();
        const QRect visible = card->cardRect().translated(card->pos());
        QCOMPARE(visible.topRight() + QPoint(1, 0), control->mapTo(content.get(), QPoint(28, 26)));
        QWidget *onTop = content->childAt(visible.center());
        QVERIFY(visible.intersects(content->findChild<Wheel *>()->geometry()) && card->isAncestorOf(onTop));
        hover(control, false);
        QTest::qWait(60);
        hover(card, true);
        QTest::qWait(400);
        QVERIFY(card->isVisible());
        card->slider()->setValue(5000);
        QCOMPARE(audio.volume(), 0.5);
        // A volume above 1 (a hand edit) is shown as it is, and not rewritten by the slider's clamp.
        audio.setVolume(1.5);
        QVERIFY(card->slider()->value() == card->slider()->maximum() && audio.volume() == 1.5);
    }

    // Tooltips, accessible names and the hint, in the user's language; a language without a
    // catalogue keeps the English keys. Each row replaces the catalogue the row before installed.
    void fixedTexts_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QStringList>("texts");
        const QStringList german{u"Ausblenden — über die Menüleiste wieder öffnen"_s, u"Zorvik ausblenden"_s,
                                 u"Erscheinungsbild"_s, u"Nicht mehr im Vordergrund halten"_s,
                                 u"Rollgeräusch stummschalten"_s, u"Setze auf Red"_s, u"Roulettekessel"_s,
                                 u"Wähle eine Farbe und gib dem Rad einen Schwung."_s};
        QTest::newRow("de_DE") << u"de_DE"_s << german;
        QTest::newRow("en_US after German")
            << u"en_US"_s
            << QStringList{u"Hide — reopen from the menu bar"_s, u"Hide Zorvik"_s, u"Appearance"_s,
                           u"Disable keep on top"_s, u"Mute rolling sound"_s, u"Bet Red"_s, u"Roulette wheel"_s,
                           u"Choose a color, then flick the wheel."_s};
        QTest::newRow("de_AT takes plain German") << u"de_AT"_s << german;
    }
    void fixedTexts()
    {
        QFETCH(QString, locale);
        QFETCH(QStringList, texts);
        QLocale::setDefault(QLocale(locale));
        QCOMPARE(Translations::install(), !locale.startsWith(u"en"));
        auto content = makeContent();
        const auto widget = [&](const QString &name) { return content->findChild<QWidget *>(name); };
        QCOMPARE((QStringList{widget(u"hide"_s)->toolTip(), widget(u"hide"_s)->accessibleName(),
                              widget(u"appearance"_s)->toolTip(), widget(u"pin"_s)->accessibleName(),
                              content->findChild<SoundControl *>()->accessibleName(),
                              widget(u"betRed"_s)->accessibleName(),
                              QAccessible::queryAccessibleInterface(content->findChild<Wheel *>())->text(QAccessible::Name),
                              content->findChild<HintLine *>()->text()}),
                 texts);
        QLocale::setDefault(QLocale(u"en_US"_s));
        Translations::install();
    }

private:
    std::unique_ptr<Content> makeContent()
    {
        auto content = std::make_unique<Content>(m_game, PanelServices{m_fakes.typedSettings, m_scheme, m_motion}, [] {},
                                                 [](bool) {});
        content->show();
        content->activateWindow();
        [&] { QVERIFY(QTest::qWaitForWindowActive(content.get())); }();
        return content;
    }
    static void hover(QWidget *w, bool inside)
    {
        QEnterEvent enter(QPointF(2, 2), w->mapTo(w->window(), QPointF(2, 2)), w->mapToGlobal(QPointF(2, 2)));
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(w, inside ? static_cast<QEvent *>(&enter) : &leave);
    }

    testing::Fakes m_fakes;
    ColorScheme m_scheme; // never started: the desktop's own answer must not arrive mid-test
    ReducedMotion m_motion;
    Game m_game{m_fakes.services()};
};

QTEST_MAIN(TestPanel)
#include "tst_panel.moc"
