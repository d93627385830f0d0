#include "sound/sound_control.h"

#include "fakes.h"
#include "sound/rolling_audio.h"
#include "sound/volume_card.h"

#include <QHBoxLayout>
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
        auto *row = new QHBoxLayout(header);
        row->setContentsMargins(0, 0, 0, 0);
        row->addWidget(other);
        row->addStretch();
        row->addWidget(control);
        row->addSpacing(32);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }
    VolumeCard *card() const { return control->volumeCard(); }
    bool cardShown() const { return card() && card()->isVisible(); }
    void enter(QWidget *w)
    {
        QEnterEvent event(QPointF(2, 2), w->mapTo(&window, QPointF(2, 2)), w->mapToGlobal(QPointF(2, 2)));
        QCoreApplication::sendEvent(w, &event);
    }
    void leave(QWidget *w)
    {
        QEvent event(QEvent::Leave);
        QCoreApplication::sendEvent(w, &event);
    }

    MemorySettings settings;
    RecordingAudioOutput output;
    RollingAudio audio{settings, output};
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
    void showsTheAudioState_data()
    {
        QTest::addColumn<bool>("muted");
        QTest::addColumn<double>("volume");
        QTest::addColumn<QString>("symbol");
        QTest::addColumn<QString>("percent");
        const QString wave = QStringLiteral("speaker.wave.1"), slash = QStringLiteral("speaker.slash");
        QTest::newRow("default") << false << 0.25 << wave << "25%";
        QTest::newRow("muted") << true << 0.25 << slash << "25%";
        QTest::newRow("volume exactly 0, not muted") << false << 0.0 << slash << "0%";
        QTest::newRow("negative zero") << false << -0.0 << slash << "0%";
        QTest::newRow("barely audible") << false << 0.0001 << wave << "0%";
        QTest::newRow("0.999 truncates") << false << 0.999 << wave << "99%";
        QTest::newRow("0.29 is just below 29") << false << 0.29 << wave << "28%";
        QTest::newRow("stored 1.5") << false << 1.5 << wave << "150%";
        QTest::newRow("toward zero when negative") << false << -0.015 << wave << "-1%";
    }
    void showsTheAudioState()
    {
        QFETCH(bool, muted);
        QFETCH(double, volume);
        QFETCH(QString, symbol);
        QFETCH(QString, percent);
        QCOMPARE(SoundControl::symbolName(muted, volume), symbol);
        Panel panel;
        panel.audio.setMuted(muted);
        panel.audio.setVolume(volume);
        QCOMPARE(panel.control->accessibleName(), muted ? u"Unmute rolling sound"_s : u"Mute rolling sound"_s);
        panel.enter(panel.control);
        QVERIFY(panel.cardShown());
        QCOMPARE(panel.card()->slider()->accessibleDescription(), percent);
    }

    void hoverOpensCardOverTheWheel()
    {
        Panel panel;
        panel.enter(panel.control);
        VolumeCard *card = panel.card();
        QVERIFY(panel.cardShown());
        QCOMPARE(card->parentWidget(), &panel.window);
        QCOMPARE(panel.window.children().last(), card); // raised above header and wheel
        const QRect visible = card->cardRect().translated(card->pos());
        QCOMPARE(visible.topRight() + QPoint(1, 0), panel.control->mapTo(&panel.window, QPoint(28, 26)));
        QVERIFY(visible.intersects(panel.wheel->geometry()));
        QCOMPARE(card->slider()->accessibleName(), u"Rolling sound volume"_s);

        // Button to card hand-over keeps it open; leaving the card closes it a quarter second later.
        panel.leave(panel.control);
        panel.enter(card);
        QTest::qWait(350);
        QVERIFY(card->isVisible());
        panel.leave(card);
        QTRY_VERIFY_WITH_TIMEOUT(!card->isVisible(), 1000);

        // The card follows the button when the window is laid out anew.
        panel.enter(panel.control);
        panel.header->setGeometry(12, 40, 276, 32);
        QCOMPARE(card->cardRect().translated(card->pos()).top(),
                 panel.control->mapTo(&panel.window, QPoint(0, 0)).y() + 26);

        // Removing the control takes the card along; the pending close touches nothing gone.
        QPointer<VolumeCard> held = card;
        panel.leave(panel.control);
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
        panel.audio.setVolume(0.29);
        panel.enter(panel.control);
        QTest::mouseClick(panel.control, Qt::LeftButton);
        QVERIFY(!panel.audio.muted() && !panel.control->hasFocus());
        QSlider *slider = panel.card()->slider();
        QCOMPARE(slider->value(), 2900);
        slider->setValue(5000);
        QCOMPARE(panel.audio.volume(), 0.5);
        // A volume above 1 is shown as it is, and not rewritten by the slider's clamp.
        panel.audio.setVolume(1.5);
        QCOMPARE(slider->value(), slider->maximum());
        QCOMPARE(panel.audio.volume(), 1.5);
        // Escape on the slider closes the card at once.
        QTest::keyClick(slider, Qt::Key_Escape);
        QVERIFY(!panel.cardShown());
    }

    void keyboardFocusHoldsTheCard()
    {
        Panel panel;
        panel.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&panel.window));
        // Tab reaches the control (a click does not), and focus on it opens the card.
        QVERIFY(panel.control->focusPolicy() == Qt::TabFocus);
        panel.control->setFocus(Qt::TabFocusReason);
        QVERIFY(panel.cardShown());

        // Tab goes on to the slider; the pointer passing by does not close the card.
        QTest::keyClick(panel.control, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), panel.card()->slider());
        panel.enter(panel.card());
        panel.leave(panel.card());
        QTest::qWait(350);
        QVERIFY(panel.cardShown());

        // Focus elsewhere: closed a quarter second later.
        panel.other->setFocus(Qt::TabFocusReason);
        QVERIFY(panel.cardShown());
        QTRY_VERIFY_WITH_TIMEOUT(!panel.cardShown(), 1000);
    }
};

QTEST_MAIN(TestSoundControl)
#include "tst_sound_control.moc"
