#include "panel/drop_shadow.h"

#include <QEvent>
#include <QPainter>

namespace zorvik {

DropShadow::DropShadow(QWidget *target, const SoftShadow &shadow)
    : QWidget(target->parentWidget()), m_target(target), m_shadow(shadow)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    target->installEventFilter(this);
    follow();
}

bool DropShadow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_target) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide:
        case QEvent::ZOrderChange:
            follow();
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void DropShadow::follow()
{
    if (!m_target)
        return;
    setGeometry(m_target->geometry().marginsAdded(m_shadow.margins()));
    setVisible(m_target->isVisible());
    stackUnder(m_target);
}

void DropShadow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QMargins room = m_shadow.margins();
    m_shadow.paint(painter, QRectF(rect().marginsRemoved(room)), devicePixelRatioF());
}

} // namespace zorvik
