#include "panel/move_handle.h"

#include <QMouseEvent>
#include <QWindow>

namespace zorvik {

MoveHandle::MoveHandle(QWidget *parent) : QWidget(parent)
{
    setFixedSize(60, 32);
    setCursor(Qt::OpenHandCursor);
    setFocusPolicy(Qt::NoFocus);
}

void MoveHandle::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    // The window system tracks the pointer until the button is released.
    if (QWindow *handle = window()->windowHandle())
        handle->startSystemMove();
    event->accept();
}

} // namespace zorvik
