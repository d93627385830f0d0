#include "sound/sound_control.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QSlider>
#include <QtTest>

#include <map>
#include <memory>

#include "platform/audio_output.h"
#include "platform/settings_store.h"
#include "sound/rolling_audio.h"
#include "sound/volume_card.h"

using namespace zorvik;

namespace {

class MemorySettings : public SettingsStore {
public:
    QVariant value(const QString &key) const override
    {
        const auto it = values.find(key);
        return it == values.end() ? QVariant() : it->second;
    }
    void setValue(const QString &key, const QVariant &value) override { values[key] = value; }
    void remove(const QString &key) override { values.erase(key); }

    std::map<QString, QVariant> values;
};

// No sound device: every player is refused.
class NullOutput : public AudioOutput {
public:
    std::unique_ptr<AudioPlayer> createPlayer(const QByteArray &) override { return nullptr; }
};

// A window shaped like the panel: a header band at (12, 4) whose right end holds the control,
// and a "wheel" under it that the card must cover.
struct Panel {
    Panel()
    {
        window.resize(300, 400);
        header = new QWidget(&window);
        header->setGeometry(12, 4, 276, 32);
        wheel = new QWidget(&window);
        wheel->setGeometry(10, 36, 280, 280);
        auto *row = new QHBoxLayout(header);
        row->setContentsMargins(0, 0, 0, 0);
        // First in the focus chain, like the hide control: an activated window puts the
        // initial focus here and not on the sound control.
        other = new QPushButton(header);
        other->setFixedSize(44, 32);
        row->addWidget(other);
        row->addStretch();
        control = new SoundControl(audio, header);
        row->addWidget(control);
        row->addSpacing(32);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }

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
    NullOutput output;
    RollingAudio audio{settings, output};
    QWidget window;
    QWidget *header = nullptr;
    QWidget *wheel = nullptr;
    SoundControl *control = nullptr;
    QPushButton *other = nullptr;
};

} // namespace

class TestSoundControl : public QObject {
    Q_OBJECT

private slots:
    void symbol_data();
    void symbol();
    void label_data();
    void label();
    void percent_data();
    void percent();
    void buttonBasics();
    void clickTogglesAndPersists();
    void hoverOpensCardOverTheWheel();
    void sliderAndAudioStayInStep();
    void escapeClosesTheCard();
    void keyboardFocusHoldsTheCard();
    void removalTakesTheCardAlong();
};

void TestSoundControl::symbol_data()
{
    QTest::addColumn<bool>("muted");
    QTest::addColumn<double>("volume");
    QTest::addColumn<QString>("symbol");
    QTest::newRow("playing") << false << 0.25 << QStringLiteral("speaker.wave.1");
    QTest::newRow("muted") << true << 0.25 << QStringLiteral("speaker.slash");
    QTest::newRow("volume exactly 0") << false << 0.0 << QStringLiteral("speaker.slash");
    QTest::newRow("negative zero") << false << -0.0 << QStringLiteral("speaker.slash");
    QTest::newRow("barely audible") << false << 0.0001 << QStringLiteral("speaker.wave.1");
    QTest::newRow("stored above 1") << false << 1.5 << QStringLiteral("speaker.wave.1");
    QTest::newRow("muted at 0") << true << 0.0 << QStringLiteral("speaker.slash");
}

void TestSoundControl::symbol()
{
    QFETCH(bool, muted);
    QFETCH(double, volume);
    QFETCH(QString, symbol);
    QCOMPARE(SoundControl::symbolName(muted, volume), symbol);
}

void TestSoundControl::label_data()
{
    QTest::addColumn<bool>("muted");
    QTest::addColumn<double>("volume");
    QTest::addColumn<QString>("label");
    QTest::newRow("playing") << false << 0.25 << QStringLiteral("Mute rolling sound");
    QTest::newRow("muted") << true << 0.25 << QStringLiteral("Unmute rolling sound");
    QTest::newRow("volume 0, not muted") << false << 0.0 << QStringLiteral("Mute rolling sound");
}

void TestSoundControl::label()
{
    QFETCH(bool, muted);
    QFETCH(double, volume);
    QFETCH(QString, label);
    Panel panel;
    panel.audio.setMuted(muted);
    panel.audio.setVolume(volume);
    QCOMPARE(panel.control->accessibleName(), label);
}

void TestSoundControl::percent_data()
{
    QTest::addColumn<double>("volume");
    QTest::addColumn<QString>("text");
    QTest::newRow("default") << 0.25 << QStringLiteral("25%");
    QTest::newRow("truncates 0.999") << 0.999 << QStringLiteral("99%");
    QTest::newRow("0.29 is just below 29") << 0.29 << QStringLiteral("28%");
    QTest::newRow("stored 1.5") << 1.5 << QStringLiteral("150%");
    QTest::newRow("zero") << 0.0 << QStringLiteral("0%");
    QTest::newRow("full") << 1.0 << QStringLiteral("100%");
    QTest::newRow("toward zero when negative") << -0.015 << QStringLiteral("-1%");
}

void TestSoundControl::percent()
{
    QFETCH(double, volume);
    QFETCH(QString, text);
    QCOMPARE(VolumeCard::percentText(volume), text);
}

void TestSoundControl::buttonBasics()
{
    Panel panel;
    QCOMPARE(panel.control->size(), QSize(28, 32));
    QCOMPARE(panel.control->toolTip(), QStringLiteral("Click to mute or unmute. Hover to adjust volume."));
    QVERIFY(panel.control->focusPolicy() & Qt::TabFocus);
    QVERIFY(!panel.control->hoverCard().expanded());
    QVERIFY(!panel.control->volumeCard());
}

void TestSoundControl::clickTogglesAndPersists()
{
    Panel panel;
    QTest::mouseClick(panel.control, Qt::LeftButton);
    QVERIFY(panel.audio.muted());
    QCOMPARE(panel.settings.value(QStringLiteral("soundMuted")).toBool(), true);
    QCOMPARE(panel.control->accessibleName(), QStringLiteral("Unmute rolling sound"));

    // Also with the card open.
    panel.enter(panel.control);
    QVERIFY(panel.control->volumeCard() && panel.control->volumeCard()->isVisible());
    QTest::mouseClick(panel.control, Qt::LeftButton);
    QVERIFY(!panel.audio.muted());
    QCOMPARE(panel.settings.value(QStringLiteral("soundMuted")).toBool(), false);
    // A click does not take the keyboard focus, which would hold the card open.
    QVERIFY(!panel.control->hasFocus());
}

void TestSoundControl::hoverOpensCardOverTheWheel()
{
    Panel panel;
    panel.enter(panel.control);
    VolumeCard *card = panel.control->volumeCard();
    QVERIFY(card);
    QVERIFY(card->isVisible());
    QCOMPARE(card->parentWidget(), &panel.window);
    QCOMPARE(panel.window.children().last(), card); // raised above header and wheel
    QCOMPARE(card->cardRect().width(), 150);

    const QPoint buttonTopRight = panel.control->mapTo(&panel.window, QPoint(28, 0));
    const QRect visible = card->cardRect().translated(card->pos());
    QCOMPARE(visible.topLeft() + QPoint(visible.width(), 0), buttonTopRight + QPoint(0, 26));
    QVERIFY(visible.intersects(panel.wheel->geometry()));

    QSlider *slider = card->slider();
    QCOMPARE(slider->width(), 92);
    QCOMPARE(slider->accessibleName(), QStringLiteral("Rolling sound volume"));

    // Button to card hand-over, then leaving the card closes it after a quarter second.
    panel.leave(panel.control);
    panel.enter(card);
    QTest::qWait(350);
    QVERIFY(card->isVisible());
    panel.leave(card);
    QTRY_VERIFY_WITH_TIMEOUT(!card->isVisible(), 1000);

    // The card follows the button when the window is laid out anew.
    panel.enter(panel.control);
    panel.header->setGeometry(12, 40, 276, 32);
    const QRect moved = card->cardRect().translated(card->pos());
    QCOMPARE(moved.top(), panel.control->mapTo(&panel.window, QPoint(0, 0)).y() + 26);
}

void TestSoundControl::sliderAndAudioStayInStep()
{
    Panel panel;
    panel.audio.setVolume(0.29);
    panel.enter(panel.control);
    QSlider *slider = panel.control->volumeCard()->slider();
    QCOMPARE(slider->value(), 2900);
    QCOMPARE(slider->accessibleDescription(), QStringLiteral("28%"));

    slider->setValue(5000);
    QCOMPARE(panel.audio.volume(), 0.5);
    QCOMPARE(panel.settings.value(QStringLiteral("soundVolume")).toDouble(), 0.5);

    // A stored volume above 1 is shown as it is and not rewritten by merely opening.
    panel.audio.setVolume(1.5);
    QCOMPARE(slider->value(), slider->maximum());
    QCOMPARE(panel.audio.volume(), 1.5);
    QCOMPARE(slider->accessibleDescription(), QStringLiteral("150%"));
}

void TestSoundControl::escapeClosesTheCard()
{
    Panel panel;
    panel.enter(panel.control);
    VolumeCard *card = panel.control->volumeCard();
    QTest::keyClick(card->slider(), Qt::Key_Escape);
    QVERIFY(!card->isVisible());
    QVERIFY(!panel.control->hoverCard().expanded());
}

void TestSoundControl::keyboardFocusHoldsTheCard()
{
    Panel panel;
    panel.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&panel.window));
    panel.control->setFocus(Qt::TabFocusReason);
    QVERIFY(panel.control->hoverCard().expanded());
    VolumeCard *card = panel.control->volumeCard();
    QVERIFY(card && card->isVisible());

    // Tab goes on to the slider; the pointer passing by does not close the card.
    QTest::keyClick(panel.control, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), card->slider());
    QCOMPARE(panel.control->hoverCard().focus(), HoverCard::Focus::slider);
    panel.enter(card);
    panel.leave(card);
    QTest::qWait(350);
    QVERIFY(card->isVisible());

    // Focus elsewhere: closed a quarter second later.
    panel.other->setFocus(Qt::TabFocusReason);
    QCOMPARE(panel.control->hoverCard().focus(), HoverCard::Focus::none);
    QVERIFY(card->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(!card->isVisible(), 1000);
}

void TestSoundControl::removalTakesTheCardAlong()
{
    Panel panel;
    panel.enter(panel.control);
    QPointer<VolumeCard> card = panel.control->volumeCard();
    panel.leave(panel.control);
    delete panel.control;
    QVERIFY(card.isNull());
    QTest::qWait(350); // the pending close must not touch anything that is gone
}

QTEST_MAIN(TestSoundControl)
#include "tst_sound_control.moc"
