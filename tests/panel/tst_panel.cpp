// The panel content as the user meets it: its appearance against the real user settings in Qt's
// test location, the sound control with its volume card, and the fixed texts.
#include "support/fakes.h"

#include "panel/appearance_popover.h"
#include "panel/content.h"
#include "panel/hint_line.h"
#include "panel/sound_control.h"
#include "panel/volume_card.h"
#include "platform/color_scheme.h"
#include "platform/reduced_motion.h"
#include "platform/translations.h"
#include "services/user_settings.h"
#include "sound/rolling_audio.h"
#include "style/fonts.h"
#include "style/palette.h"
#include "wheel/wheel.h"

#include <QAccessible>
#include <QRadioButton>
#include <QSlider>
#include <QtTest>

using namespace zorvik;
using namespace Qt::StringLiterals;

class TestPanel : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Fonts::load(); }
    void init()
    {
        m_store.remove(u"appearance"_s);
        m_game.audio().setMuted(false);
        setDesktopDark(false);
    }

    // The appearance as stored or chosen in the popover (stored at once where another process
    // reads it; the popover stays open), against the desktop's. Drawn as a translucent window
    // would be: clear corners, and an opaque card in the colour of the setting, which wins over
    // the desktop. Anything but the three known values follows the desktop, also as it changes.
    void appearance_data()
    {
        QTest::addColumn<QVariant>("stored"); // invalid: no key
        QTest::addColumn<QString>("chosen");  // empty: the popover is not opened
        QTest::addColumn<bool>("desktopDark");
        QTest::addColumn<bool>("dark");
        QTest::newRow("light on a dark desktop") << QVariant(u"light"_s) << QString() << true << false;
        QTest::newRow("absent: the desktop's") << QVariant() << QString() << true << true;
        QTest::newRow("capitalised: the desktop's") << QVariant(u"Dark"_s) << QString() << false << false;
        QTest::newRow("dark chosen on a light desktop") << QVariant(u"light"_s) << u"dark"_s << false << true;
        QTest::newRow("system chosen on a dark desktop") << QVariant(u"light"_s) << u"system"_s << true << true;
    }
    void appearance()
    {
        QFETCH(QVariant, stored);
        QFETCH(QString, chosen);
        QFETCH(bool, desktopDark);
        QFETCH(bool, dark);
        setDesktopDark(desktopDark);
        if (stored.isValid())
            m_store.setValue(u"appearance"_s, stored);
        auto content = makeContent();
        if (!chosen.isEmpty()) {
            QTest::mouseClick(content->findChild<QWidget *>(u"appearance"_s), Qt::LeftButton);
            QTest::mouseClick(content->appearancePopover()->findChild<QRadioButton *>(chosen), Qt::LeftButton);
            QVERIFY(content->appearancePopover()->isVisible() && content->appearanceOpen());
            stored = chosen;
        }
        QCOMPARE(QSettings(QSettings::IniFormat, QSettings::UserScope, u"Zorvik"_s, u"zorvik"_s).value(u"appearance"_s),
                 stored);
        QImage image(content->size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        content->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        const int w = image.width() - 1, h = image.height() - 1;
        for (const QPoint corner : {QPoint(0, 0), QPoint(w, 0), QPoint(0, h), QPoint(w, h)})
            QCOMPARE(image.pixelColor(corner).alpha(), 0);
        const QColor cream = Palette::cream().resolve(dark);
        for (const QPoint at : {QPoint(4, 200), QPoint(150, h - 3)}) { // left of the wheel, below the hint
            const QColor seen = image.pixelColor(at);
            QVERIFY2(seen.alpha() == 255 && qAbs(seen.red() - cream.red()) <= 2
                         && qAbs(seen.green() - cream.green()) <= 2 && qAbs(seen.blue() - cream.blue()) <= 2,
                     qPrintable(seen.name()));
        }
        const bool follows = !Settings::darkFor(stored.toString());
        setDesktopDark(!desktopDark);
        QCOMPARE(isDarkAppearance(content.get()), follows ? !dark : dark);
    }

    // Steps against a fresh panel, then whether the volume card shows. "enter" and "leave" (the
    // sound control, or "card"), "wait <ms>", "focus <object name>", "tab", "escape".
    void volumeCard_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<bool>("shown");
        QTest::newRow("open 0.2 s after leaving") << "enter,leave,wait 200" << true;
        QTest::newRow("closed 0.25 s after leaving") << "enter,leave,wait 400" << false;
        QTest::newRow("button to card hand-over") << "enter,leave,wait 60,enter card,wait 400" << true;
        QTest::newRow("leaving the card closes") << "enter,leave,enter card,leave card,wait 400" << false;
        QTest::newRow("focused slider holds it open") << "enter,focus slider,leave,wait 400" << true;
        QTest::newRow("escape closes at once, even with focus") << "enter,focus slider,escape" << false;
        QTest::newRow("tab reaches the control, then the slider")
            << "focus appearance,tab,tab,enter card,leave card,wait 400" << true;
    }
    void volumeCard()
    {
        QFETCH(QString, steps);
        QFETCH(bool, shown);
        auto content = makeContent();
        auto *control = content->findChild<SoundControl *>();
        for (const QString &step : steps.split(u',')) {
            const QString verb = step.section(u' ', 0, 0), what = step.section(u' ', 1);
            QWidget *target = what == u"card" ? control->volumeCard()
                : what == u"slider"          ? control->volumeCard()->slider()
                : what.isEmpty()             ? control
                                             : content->findChild<QWidget *>(what);
            if (verb == u"enter" || verb == u"leave")
                hover(target, verb == u"enter");
            else if (verb == u"wait")
                QTest::qWait(what.toInt());
            else if (verb == u"focus")
                target->setFocus(Qt::TabFocusReason);
            else
                QTest::keyClick(QApplication::focusWidget(), verb == u"tab" ? Qt::Key_Tab : Qt::Key_Escape);
        }
        QCOMPARE(control->volumeCard() && control->volumeCard()->isVisible(), shown);
    }

    // A click mutes and unmutes, with the card open too, and takes no keyboard focus (which would
    // hold the card open). The card lies over the wheel under the control; slider and volume
    // stay in step.
    void muteAndVolume()
    {
        auto content = makeContent();
        auto *control = content->findChild<SoundControl *>();
        RollingAudio &audio = m_game.audio();
        QTest::mouseClick(control, Qt::LeftButton);
        QVERIFY(audio.muted());
        QCOMPARE(control->accessibleName(), u"Unmute rolling sound"_s);
        audio.setVolume(0.29);
        hover(control, true);
        QTest::mouseClick(control, Qt::LeftButton);
        QVERIFY(!audio.muted() && !control->hasFocus());
        VolumeCard *card = control->volumeCard();
        const QRect visible = card->cardRect().translated(card->pos());
        QCOMPARE(visible.topRight() + QPoint(1, 0), control->mapTo(content.get(), QPoint(28, 26)));
        QVERIFY(visible.intersects(content->findChild<Wheel *>()->geometry()));
        QWidget *onTop = content->childAt(visible.center());
        QVERIFY(onTop == card || card->isAncestorOf(onTop));
        QSlider *slider = card->slider();
        QCOMPARE(slider->value(), 2900);
        QCOMPARE(slider->accessibleDescription(), u"28%"_s); // 0.29 * 100 is just below 29
        slider->setValue(5000);
        QCOMPARE(audio.volume(), 0.5);
        // A volume above 1 (a hand edit) is shown as it is, and not rewritten by the slider's clamp.
        audio.setVolume(1.5);
        QVERIFY(slider->value() == slider->maximum() && audio.volume() == 1.5);
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
        auto content = std::make_unique<Content>(m_game, PanelServices{m_settings, m_scheme, m_motion}, [] {},
                                                 [](bool) {});
        content->show();
        content->activateWindow();
        [&] { QVERIFY(QTest::qWaitForWindowActive(content.get())); }();
        return content;
    }
    void setDesktopDark(bool dark)
    {
        m_scheme.setPreference(dark ? ColorScheme::Preference::dark : ColorScheme::Preference::light);
    }
    static void hover(QWidget *w, bool inside)
    {
        QEnterEvent enter(QPointF(2, 2), w->mapTo(w->window(), QPointF(2, 2)), w->mapToGlobal(QPointF(2, 2)));
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(w, inside ? static_cast<QEvent *>(&enter) : &leave);
    }

    // The real file, in Qt's test location (set before the store is made): another process reads
    // what the popover wrote.
    const bool m_testLocation = (QStandardPaths::setTestModeEnabled(true), true);
    UserSettings m_store;
    Settings m_settings{m_store};
    ColorScheme m_scheme; // never started: the desktop's own answer must not arrive mid-test
    ReducedMotion m_motion;
    testing::Fakes m_fakes;
    Game m_game{m_fakes.services()};
};

QTEST_MAIN(TestPanel)
#include "tst_panel.moc"
