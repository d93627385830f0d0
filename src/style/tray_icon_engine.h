#pragma once

#include <QColor>
#include <QIconEngine>

#include <optional>

namespace zorvik {

// The tray icon as Qt hands it to the tray: it carries the symbolic icon's name, which a
// StatusNotifierItem host looks up in its icon theme and tints, and draws the picture at any size
// asked of it (the host's pixmaps, an XEmbed tray's window) from the same code as the art.
class TrayIconEngine : public QIconEngine {
public:
    explicit TrayIconEngine(std::optional<QColor> ink);

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QString iconName() override;
    QString key() const override;
    QIconEngine *clone() const override;

private:
    std::optional<QColor> m_ink;
};

} // namespace zorvik
