#include "panel/sound_control.h"

#include "panel/volume_card.h"
#include "sound/rolling_audio.h"
#include "support/fakes.h"

#include <QAccessible>
#include <QPushButton>
#include <QSlider>
#include <QtTest>

using namespace zorvik;
using namespace zorvik::testing;
using namespace Qt::StringLiterals;

namespace {

// Shaped like the panel: a header band whose right end holds the control, a focusable button
// first in the focus chain (like the hide control), and a "wheel" below that the card covers.
struct Panel {
    Panel()
    {
        window.resize(300, 400);
        header->setGeometry(12, 4, 276, 32);
        wheel->setGeometry(10, 36, 280, 280);
        control->move(216, 0);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }
    VolumeCard *card() const { return control->volumeCard(); }
    bool cardShown() const { return card() && card()->isVisible(); }
    void hover(QWidget *w, bool inside)
    {
        QEnterEvent enter(QPointF(2, 2), w->mapTo(&window, QPointF(2, 2)), w->mapToGlobal(QPointF(2, 2)));
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(w, inside ? static_cast<QEvent *>(&enter) : &leave);
    }

    MemorySettings settings;
    RecordingAudioOutput output;
    Settings audioSettings{settings};
    RollingAudio audio{audioSettings, output};
    QWidget window;
    QWidget *header = new QWidget(&window);
    QWidget *wheel = new QWidget(&window);
    QPushButton *other = new QPushButton(header);
    SoundControl *control = new SoundControl(audio, header);
};

} // namespace

class TestSoundControl : public QObject {
    Q_OBJECT

private slots:
    // Each row runs a script of steps against a fresh panel, then checks the card. Steps: "enter"
    // and "leave" (the button, or "card"), "wait <ms>", "focus button|slider|other", "tab", "escape".
    void hoverCard_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<bool>("pending"); // a close is under way
        QTest::newRow("enter opens at once") << "enter" << true << false;
        QTest::newRow("leaving for 0.25 s closes") << "enter,leave,wait 400" << false << false;
        QTest::newRow("button to card hand-over") << "enter,leave,wait 60,enter card,wait 400" << true << false;
        QTest::newRow("leaving the card closes") << "enter,leave,enter card,leave card,wait 400" << false << false;
        QTest::newRow("last leave decides") << "enter,leave,wait 180,enter,leave,wait 180" << true << true;
        QTest::newRow("focused slider holds it open") << "enter,focus slider,leave,wait 400" << true << false;
        // The focus goes back to the button without opening the card again, so Tab then leaves.
        QTest::newRow("escape closes at once, even with focus") << "enter,focus slider,escape,tab" << false << true;
        QTest::newRow("escape on the button closes") << "focus button,escape" << false << false;
        QTest::newRow("tab reaches the button, then the slider")
            << "focus other,tab,tab,enter card,leave card,wait 400" << true << false;
        QTest::newRow("focus gone for 0.25 s closes") << "focus button,focus other,wait 400" << false << false;
        QTest::newRow("a close that finds focus does nothing") << "enter,leave,focus button,wait 400" << true << false;
    }
    void hoverCard()
    {
        QFETCH(QString, steps);
        QFETCH(bool, shown);
        QFETCH(bool, pending);
        Panel panel;
        const auto widget = [&](const QString &name) -> QWidget * {
            return name == u"card" ? panel.card()
                : name == u"slider" ? panel.card()->slider()
                : name == u"other"  ? static_cast<QWidget *>(panel.other)
                                    : panel.control;
        };
        for (const QString &step : steps.split(u',')) {
            const QString verb = step.section(u' ', 0, 0), what = step.section(u' ', 1);
            if (verb == u"enter" || verb == u"leave")
                panel.hover(widget(what), verb == u"enter");
            else if (verb == u"wait")
                QTest::qWait(what.toInt());
            else if (verb == u"focus")
                widget(what)->setFocus(Qt::TabFocusReason);
            else
                QTest::keyClick(QApplication::focusWidget(), verb == u"tab" ? Qt::Key_Tab : Qt::Key_Escape);
        }
        QCOMPARE(panel.cardShown(), shown);
        QCOMPARE(panel.control->hoverCard().dismissPending(), pending);
    }

    void cardSitsOverTheWheelUnderTheButton()
    {
        Panel panel;
        panel.hover(panel.control, true);
        VolumeCard *card = panel.card();
        QVERIFY(panel.cardShown());
        QCOMPARE(card->parentWidget(), &panel.window);
        QCOMPARE(panel.window.children().last(), card); // raised above header and wheel
        const QRect visible = card->geometry();
        QCOMPARE(visible.topRight() + QPoint(1, 0), panel.control->mapTo(&panel.window, QPoint(28, 26)));
        QVERIFY(visible.intersects(panel.wheel->geometry()));
        // The shadow takes no clicks: just beside and below the card lie the header and the wheel.
        QCOMPARE(panel.window.childAt(visible.topRight() + QPoint(3, 2)), panel.header);
        QCOMPARE(panel.window.childAt(visible.bottomLeft() + QPoint(20, 4)), panel.wheel);
        // Removing the control takes the card along; the pending close touches nothing gone.
        QPointer<VolumeCard> held = card;
        panel.hover(panel.control, true);
        panel.hover(panel.control, false);
        delete panel.control;
        QVERIFY(held.isNull());
        QTest::qWait(350);
    }

    // A click mutes and unmutes, with the card open too, and takes no keyboard focus (which would
    // hold the card open); slider and volume stay in step.
    void clickAndSlider()
    {
        Panel panel;
        QTest::mouseClick(panel.control, Qt::LeftButton);
        QVERIFY(panel.audio.muted());
        QCOMPARE(panel.control->accessibleName(), u"Unmute rolling sound"_s);
        panel.audio.setVolume(0.29);
        panel.hover(panel.control, true);
        QTest::mouseClick(panel.control, Qt::LeftButton);
        QVERIFY(!panel.audio.muted() && !panel.control->hasFocus());
        QSlider *slider = panel.card()->slider();
        QCOMPARE(slider->value(), 2900);
        // Screen readers hear the percentage shown; 0.29 * 100 is just below 29.
        QAccessibleValueInterface *heard = QAccessible::queryAccessibleInterface(slider)->valueInterface();
        QCOMPARE(heard->currentValue().toDouble(), 28.0);
        QLocale::setDefault(QLocale(u"tr_TR"_s)); // shown as the locale writes a percentage
        QCOMPARE(VolumeCard::percentText(0.29), u"%28"_s);
        slider->setValue(5000);
        QCOMPARE(panel.audio.volume(), 0.5);
        // A volume above 1 is shown as it is, and not rewritten by the slider's clamp.
        panel.audio.setVolume(1.5);
        QCOMPARE(slider->value(), slider->maximum());
        QCOMPARE(panel.audio.volume(), 1.5);
        QCOMPARE(heard->currentValue().toDouble(), 150.0);
        QLocale::setDefault(QLocale(u"de_DE"_s));
        QCOMPARE(VolumeCard::percentText(1.5), u"150\u00A0%"_s);
    }
};

QTEST_MAIN(TestSoundControl)
#include "tst_sound_control.moc"
