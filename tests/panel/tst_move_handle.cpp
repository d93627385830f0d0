#include "panel/move_handle.h"

#include <QtTest>

using namespace zorvik;

class TestMoveHandle : public QObject {
    Q_OBJECT

private slots:
    void openHandOverItsWholeArea()
    {
        MoveHandle handle;
        QCOMPARE(handle.size(), QSize(60, 32));
        QCOMPARE(handle.cursor().shape(), Qt::OpenHandCursor);
    }

    // The window system does any moving; the handle itself changes nothing, with or without a
    // native window behind it.
    void pressChangesNothingItself()
    {
        MoveHandle alone;
        QTest::mousePress(&alone, Qt::LeftButton, {}, QPoint(30, 16));
        QTest::mouseRelease(&alone, Qt::LeftButton, {}, QPoint(30, 16));
        QVERIFY(!alone.window()->windowHandle());

        QWidget window;
        window.resize(120, 60);
        auto *handle = new MoveHandle(&window);
        handle->move(30, 10);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QPoint before = window.pos();
        QTest::mousePress(handle, Qt::LeftButton, {}, QPoint(30, 16));
        QTest::mouseRelease(handle, Qt::LeftButton, {}, QPoint(30, 16));
        QCOMPARE(window.pos(), before);
        QCOMPARE(handle->pos(), QPoint(30, 10));
        QVERIFY(!handle->hasFocus());
    }
};

QTEST_MAIN(TestMoveHandle)
#include "tst_move_handle.moc"
