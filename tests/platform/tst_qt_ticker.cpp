#include "platform/qt_ticker.h"

#include <QTest>

using namespace zorvik;

class TestQtTicker : public QObject {
    Q_OBJECT

private slots:
    // Fires on the event loop until its own action invalidates it; the ticker then lets go.
    void firesUntilInvalidated()
    {
        QtTicker ticker;
        int fired = 0;
        std::weak_ptr<RepeatingTimer> held = ticker.schedule(1.0 / 60.0, [&](RepeatingTimer &timer) {
            if (++fired == 3)
                timer.invalidate();
        });
        QCOMPARE(ticker.liveTimers(), 1); // the ticker alone holds it
        QTRY_COMPARE(fired, 3);
        QCOMPARE(ticker.liveTimers(), 0);
        QVERIFY(held.expired());
        QTest::qWait(50);
        QCOMPARE(fired, 3);

        // Invalidated from outside (twice over), it fires no more either.
        const auto timer = ticker.schedule(0.001, [&](RepeatingTimer &) { ++fired; });
        QTRY_VERIFY(fired > 3);
        timer->invalidate();
        timer->invalidate();
        QVERIFY(!timer->isValid());
        const int seen = fired;
        QTest::qWait(30);
        QCOMPARE(fired, seen);
        QCOMPARE(ticker.liveTimers(), 0);
    }
};

QTEST_GUILESS_MAIN(TestQtTicker)
#include "tst_qt_ticker.moc"
