#include "sound/hover_card.h"

#include <QSignalSpy>
#include <QtTest>

using namespace zorvik;

class TestHoverCard : public QObject {
    Q_OBJECT

private slots:
    void script_data();
    void script();
    void closesOnlyOnceAndOnlyWhenOpen();
    void cancelDropsThePendingClose();
};

// Each row is a script of steps run against a fresh card, then the card's state is checked.
// Steps: "enter", "leave", "wait <ms>", "focus button|slider|none", "escape".
void TestHoverCard::script_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<bool>("expanded");
    QTest::addColumn<bool>("pending");

    const auto steps = [](const char *text) { return QString::fromLatin1(text).split(u','); };

    QTest::newRow("enter opens at once") << steps("enter") << true << false;
    QTest::newRow("leave keeps it open for a while") << steps("enter,leave,wait 120") << true << true;
    QTest::newRow("leaving both for 0.25 s closes") << steps("enter,leave,wait 400") << false << false;
    QTest::newRow("button to card hand-over keeps it open")
        << steps("enter,leave,wait 60,enter,wait 400") << true << false;
    QTest::newRow("re-enter cancels the pending close")
        << steps("enter,leave,wait 180,enter,wait 180") << true << false;
    QTest::newRow("last leave decides") << steps("enter,leave,wait 180,enter,leave,wait 180") << true << true;
    QTest::newRow("focused slider holds it open") << steps("enter,focus slider,leave,wait 400") << true << false;
    QTest::newRow("escape closes at once, even with focus") << steps("enter,focus slider,escape") << false << false;
    QTest::newRow("escape leaves a pending close alone") << steps("enter,leave,escape") << false << true;
    QTest::newRow("focus on the button opens") << steps("focus button") << true << false;
    QTest::newRow("focus moving away closes 0.25 s later")
        << steps("focus button,focus none,wait 120") << true << true;
    QTest::newRow("focus gone for 0.25 s closes") << steps("focus button,focus none,wait 400") << false << false;
    QTest::newRow("focus gained does not cancel a pending close")
        << steps("enter,leave,focus button") << true << true;
    QTest::newRow("a close that finds the focus set does nothing")
        << steps("enter,leave,focus button,wait 400") << true << false;
    QTest::newRow("button to slider keeps it open")
        << steps("focus button,focus slider,wait 400") << true << false;
    QTest::newRow("repeated focus value is no change") << steps("focus none,wait 400") << false << false;
}

void TestHoverCard::script()
{
    QFETCH(QStringList, steps);
    QFETCH(bool, expanded);
    QFETCH(bool, pending);

    HoverCard card;
    for (const QString &step : steps) {
        if (step == u"enter") {
            card.hover(true);
        } else if (step == u"leave") {
            card.hover(false);
        } else if (step.startsWith(u"wait ")) {
            QTest::qWait(step.mid(5).toInt());
        } else if (step.startsWith(u"focus ")) {
            const QString target = step.mid(6);
            card.setFocus(target == u"button"   ? HoverCard::Focus::button
                          : target == u"slider" ? HoverCard::Focus::slider
                                                : HoverCard::Focus::none);
        } else if (step == u"escape") {
            card.escape();
        } else {
            QFAIL(qPrintable(QStringLiteral("unknown step ") + step));
        }
    }
    QCOMPARE(card.expanded(), expanded);
    QCOMPARE(card.dismissPending(), pending);
}

void TestHoverCard::closesOnlyOnceAndOnlyWhenOpen()
{
    HoverCard card;
    QSignalSpy spy(&card, &HoverCard::expandedChanged);
    card.hover(true);
    card.hover(true);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toBool(), true);

    QElapsedTimer clock;
    clock.start();
    card.hover(false);
    QTRY_COMPARE_WITH_TIMEOUT(spy.count(), 2, 1000);
    QVERIFY2(clock.elapsed() >= 245, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(spy.at(1).at(0).toBool(), false);

    // Escape and a late close on a card already closed report nothing.
    card.hover(false);
    card.escape();
    QTest::qWait(350);
    QCOMPARE(spy.count(), 2);
}

void TestHoverCard::cancelDropsThePendingClose()
{
    HoverCard card;
    card.hover(true);
    card.hover(false);
    card.cancel();
    QVERIFY(!card.dismissPending());
    QTest::qWait(350);
    QVERIFY(card.expanded());
}

QTEST_GUILESS_MAIN(TestHoverCard)
#include "tst_hover_card.moc"
