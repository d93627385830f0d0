#include "sound/hover_card.h"

#include <QSignalSpy>
#include <QtTest>

using namespace zorvik;

class TestHoverCard : public QObject {
    Q_OBJECT

private slots:
    // Each row runs a script of steps against a fresh card, then checks its state. Steps:
    // "enter", "leave", "wait <ms>", "focus button|slider|none", "escape", "cancel".
    void script_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<bool>("expanded");
        QTest::addColumn<bool>("pending");
        QTest::newRow("enter opens at once") << "enter" << true << false;
        QTest::newRow("leave keeps it open for a while") << "enter,leave,wait 120" << true << true;
        QTest::newRow("leaving for 0.25 s closes") << "enter,leave,wait 400" << false << false;
        QTest::newRow("button to card hand-over") << "enter,leave,wait 60,enter,wait 400" << true << false;
        QTest::newRow("last leave decides") << "enter,leave,wait 180,enter,leave,wait 180" << true << true;
        QTest::newRow("focused slider holds it open") << "enter,focus slider,leave,wait 400" << true << false;
        QTest::newRow("escape closes at once, even with focus") << "enter,focus slider,escape" << false << false;
        QTest::newRow("focus on the button opens") << "focus button" << true << false;
        QTest::newRow("focus leaving starts a close") << "focus button,focus none,wait 120" << true << true;
        QTest::newRow("focus gone for 0.25 s closes") << "focus button,focus none,wait 400" << false << false;
        QTest::newRow("a close that finds focus does nothing") << "enter,leave,focus button,wait 400" << true << false;
        QTest::newRow("button to slider keeps it open") << "focus button,focus slider,wait 400" << true << false;
        QTest::newRow("cancel drops the pending close") << "enter,leave,cancel,wait 350" << true << false;
    }
    void script()
    {
        QFETCH(QString, steps);
        QFETCH(bool, expanded);
        QFETCH(bool, pending);
        HoverCard card;
        for (const QString &step : steps.split(u',')) {
            if (step == u"enter" || step == u"leave")
                card.hover(step == u"enter");
            else if (step.startsWith(u"wait "))
                QTest::qWait(step.mid(5).toInt());
            else if (step.startsWith(u"focus "))
                card.setFocus(step.endsWith(u"button")   ? HoverCard::Focus::button
                              : step.endsWith(u"slider") ? HoverCard::Focus::slider
                                                         : HoverCard::Focus::none);
            else if (step == u"escape")
                card.escape();
            else if (step == u"cancel")
                card.cancel();
            else
                QFAIL(qPrintable(step));
        }
        QCOMPARE(card.expanded(), expanded);
        QCOMPARE(card.dismissPending(), pending);
    }

    // Each change is reported once; escape and a late close on a closed card report nothing.
    void reportsEachChangeOnceAndClosesAfterAQuarterSecond()
    {
        HoverCard card;
        QSignalSpy spy(&card, &HoverCard::expandedChanged);
        card.hover(true);
        card.hover(true);
        QElapsedTimer clock;
        clock.start();
        card.hover(false);
        QTRY_COMPARE_WITH_TIMEOUT(spy.count(), 2, 1000);
        QVERIFY2(clock.elapsed() >= 245, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(spy, (QList<QVariantList>{{true}, {false}}));
        card.hover(false);
        card.escape();
        QTest::qWait(350);
        QCOMPARE(spy.count(), 2);
    }
};

QTEST_GUILESS_MAIN(TestHoverCard)
#include "tst_hover_card.moc"
