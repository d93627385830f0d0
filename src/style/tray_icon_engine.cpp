#include "style/tray_icon_engine.h"

#include "style/tray_icon_art.h"

#include <QPainter>
#include <QPixmap>

namespace zorvik {

TrayIconEngine::TrayIconEngine(std::optional<QColor> ink) : m_ink(ink)
{
}

void TrayIconEngine::paint(QPainter *painter, const QRect &rect, QIcon::Mode, QIcon::State)
{
    // Drawn square and centred, at the device's own resolution.
    const int side = qMin(rect.width(), rect.height());
    const qreal dpr = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    QImage image = TrayIconArt::image(qRound(side * dpr), m_ink);
    image.setDevicePixelRatio(dpr);
    painter->drawImage(QRectF(rect.x() + (rect.width() - side) / 2, rect.y() + (rect.height() - side) / 2, side, side),
                       image);
}

QPixmap TrayIconEngine::pixmap(const QSize &size, QIcon::Mode, QIcon::State)
{
    return QPixmap::fromImage(TrayIconArt::image(qMin(size.width(), size.height()), m_ink));
}

QString TrayIconEngine::iconName()
{
    return TrayIconArt::symbolicName;
}

QString TrayIconEngine::key() const
{
    return QStringLiteral("zorvik-tray");
}

QIconEngine *TrayIconEngine::clone() const
{
    return new TrayIconEngine(m_ink);
}

} // namespace zorvik
