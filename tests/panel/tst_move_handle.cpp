#include "panel/move_handle.h"

#include <QtTest>

using namespace zorvik;

class TestMoveHandle : public QObject {
    Q_OBJECT

private slots:
    void openHandOverItsWholeArea();
    void pressWithoutWindowDoesNothing();
    void pressInAWindowLeavesEverythingAlone();
};

void TestMoveHandle::openHandOverItsWholeArea()
{
    MoveHandle handle;
    QCOMPARE(handle.size(), QSize(60, 32));
    QCOMPARE(handle.cursor().shape(), Qt::OpenHandCursor);
    QVERIFY(!handle.autoFillBackground());
    QCOMPARE(handle.focusPolicy(), Qt::NoFocus);
}

void TestMoveHandle::pressWithoutWindowDoesNothing()
{
    MoveHandle handle; // never shown: no native window behind it
    QVERIFY(!handle.window()->windowHandle());
    QTest::mousePress(&handle, Qt::LeftButton, {}, QPoint(30, 16));
    QTest::mouseRelease(&handle, Qt::LeftButton, {}, QPoint(30, 16));
    QVERIFY(!handle.window()->windowHandle());
}

void TestMoveHandle::pressInAWindowLeavesEverythingAlone()
{
    QWidget window;
    window.resize(120, 60);
    auto *handle = new MoveHandle(&window);
    handle->move(30, 10);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QPoint before = window.pos();
    QTest::mousePress(handle, Qt::LeftButton, {}, QPoint(30, 16));
    QTest::mouseRelease(handle, Qt::LeftButton, {}, QPoint(30, 16));
    // The window system does the moving; the handle itself changes nothing.
    QCOMPARE(window.pos(), before);
    QCOMPARE(handle->pos(), QPoint(30, 10));
    QVERIFY(!handle->hasFocus());
}

QTEST_MAIN(TestMoveHandle)
#include "tst_move_handle.moc"
