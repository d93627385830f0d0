// Renders the application icon as PNGs for the hicolor theme: the tray glyph in ink on a cream
// tile, the ball in rose, matching the scalable SVG. Usage: render_icons <dir> <size>...
#include "style/tray_icon_art.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>

namespace {

QImage render(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 128.0, size / 128.0);

    const QColor cream(0xf5, 0xf0, 0xe3);
    const QColor ink(0x40, 0x4a, 0x47);
    const QColor rose(0xb8, 0x63, 0x63);
    QColor edge = ink;
    edge.setAlphaF(0.25f);
    painter.setPen(QPen(edge, 2));
    painter.setBrush(cream);
    painter.drawRoundedRect(QRectF(4, 4, 120, 120), 28, 28);

    // The glyph clears its hole to transparent; draw it on its own layer first.
    QImage glyph(size, size, QImage::Format_ARGB32_Premultiplied);
    glyph.fill(Qt::transparent);
    {
        QPainter g(&glyph);
        g.scale(size / 128.0, size / 128.0);
        g.translate(14, 14);
        g.scale(5, 5);
        zorvik::TrayIconArt::paint(g, ink);
        g.setRenderHint(QPainter::Antialiasing);
        g.setPen(Qt::NoPen);
        g.setBrush(rose);
        g.drawEllipse(QPointF(15.5, 4), 1.25, 1.25);
    }
    painter.resetTransform();
    painter.drawImage(0, 0, glyph);
    return image;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fputs("usage: render_icons <dir> <size>...\n", stderr);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    for (int i = 2; i < argc; ++i) {
        const int size = QByteArray(argv[i]).toInt();
        const QString dir = QStringLiteral("%1x%1/apps").arg(size);
        if (size <= 0 || !out.mkpath(dir)
            || !render(size).save(out.filePath(dir + QStringLiteral("/io.github.zorvik.Zorvik.png")))) {
            std::fprintf(stderr, "render_icons: cannot write the %s px icon\n", argv[i]);
            return 1;
        }
    }
    return 0;
}
