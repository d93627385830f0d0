#include "app/panel_window.h"

#include "panel/content.h"
#include "windowsystem/compositor_watch.h"
#include "windowsystem/window_services.h"
#include "services/settings.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>
#include <QScopeGuard>
#include <QScreen>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>

namespace zorvik {

namespace {

// Like the desktop's own windows: a soft shadow falling a little below the panel.
constexpr qreal shadowBlur = 14;
constexpr QPointF shadowOffset(0, 4);
constexpr qreal shadowOpacity = 0.3;

QScreen *screenNamed(const QString &name)
{
    if (name.isEmpty())
        return nullptr;
    const auto screens = QGuiApplication::screens();
    for (QScreen *screen : screens) {
        if (screen->name() == name)
            return screen;
    }
    return nullptr;
}

} // namespace

PanelWindow::PanelWindow(Settings &settings, CompositorWatch &compositor, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_settings(settings)
    , m_compositor(compositor)
    , m_shadow(Content::cornerRadius, shadowBlur, shadowOffset, shadowOpacity)
{
    setWindowTitle(QStringLiteral("Zorvik"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_DeleteOnClose, false);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    resize(300, 410);
    m_saveTimer.setSingleShot(true);
    m_saveTimer.setInterval(100);
    connect(&m_saveTimer, &QTimer::timeout, this, &PanelWindow::savePosition);
    setShadow(m_compositor.active());
    connect(&m_compositor, &CompositorWatch::changed, this, &PanelWindow::setShadow);
}

PanelWindow::~PanelWindow()
{
    if (m_saveTimer.isActive())
        savePosition();
}

void PanelWindow::setContent(QWidget *content)
{
    if (m_content)
        layout()->removeWidget(m_content);
    m_content = content;
    layout()->addWidget(content);
}

void PanelWindow::setShadow(bool on)
{
    const QRect before = frame();
    m_margins = on ? m_shadow.margins() : QMargins();
    layout()->setContentsMargins(m_margins);
    setFixedSize(before.size().grownBy(m_margins));
    moveFrame(before.topLeft());
    updateShape();
    update();
}

void PanelWindow::moveFrame(QPoint topLeft)
{
    move(topLeft - QPoint(m_margins.left(), m_margins.top()));
}

void PanelWindow::centre()
{
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect panel(QPoint(0, 0), frame().size());
    panel.moveCenter(screen->availableGeometry().center());
    moveFrame(panel.topLeft());
}

QPoint PanelWindow::clampedPosition(QPoint topLeft, QSize size, const QString &screenName)
{
    QScreen *screen = screenNamed(screenName);
    if (!screen)
        screen = QGuiApplication::screenAt(topLeft);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return topLeft;
    const QRect area = screen->availableGeometry();
    // Fully inside where it fits; a window larger than the area keeps its top-left on screen.
    const int x = std::max(area.left(), std::min(topLeft.x(), area.right() + 1 - size.width()));
    const int y = std::max(area.top(), std::min(topLeft.y(), area.bottom() + 1 - size.height()));
    return {x, y};
}

bool PanelWindow::restorePosition()
{
    // Where the compositor alone places windows, a saved place could never be used: none is
    // restored, and none is written (a place saved under X11 stays for the next X11 session).
    if (!WindowServices::capabilities().placement)
        return false;
    // Whatever happens here, moves from now on are the user's and are remembered.
    const auto startSaving = qScopeGuard([this] { m_saving = true; });
    const auto saved = m_settings.panelFrame();
    if (!saved)
        return false;
    const QSize savedSize = saved->size.value_or(frame().size());
    // The saved frame comes back whole, so fitting the content afterwards keeps the place.
    setFixedSize(savedSize.grownBy(m_margins));
    moveFrame(clampedPosition(saved->topLeft, savedSize, saved->screen));
    return true;
}

void PanelWindow::fitToContent()
{
    if (!m_content)
        return;
    QSize wanted = m_content->sizeHint().expandedTo(m_content->minimumSize());
    if (!wanted.isValid() || wanted.isEmpty())
        wanted = m_content->size();
    wanted = wanted.boundedTo(m_content->maximumSize());
    const QRect before = frame();
    const QScreen *screen = QGuiApplication::screenAt(before.center());
    setFixedSize(wanted.grownBy(m_margins));
    // The lower-left corner stays unless that puts part of the panel off its screen (a saved
    // frame far taller or shorter than the content would otherwise push it off an edge).
    const QPoint lowerLeft(before.left(), before.bottom() + 1 - wanted.height());
    moveFrame(clampedPosition(lowerLeft, wanted, screen ? screen->name() : QString()));
    savePositionSoon();
}

void PanelWindow::setPinned(bool pinned)
{
    m_pinned = pinned;
    // setWindowFlags() would destroy and re-create the native window (it vanishes, flashes and
    // may land elsewhere). Only the widget's record of the flag changes here; the window
    // manager is asked directly.
    Qt::WindowFlags flags = windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, pinned);
    overrideWindowFlags(flags);
    if (QWindow *window = windowHandle())
        WindowServices::setKeepAbove(window, pinned);
}

void PanelWindow::present()
{
    winId(); // the native window exists from here on
    QWindow *window = windowHandle();
    const bool mapping = !isVisible();
    if (mapping)
        WindowServices::prepareForShow(window, m_pinned);
    updateShape();
    show();
    // Qt's own state hints for the map still carry the stays-on-top flag the window was
    // created with; the window manager gets the current word right after.
    if (mapping && window && window->flags().testFlag(Qt::WindowStaysOnTopHint) != m_pinned)
        WindowServices::setKeepAbove(window, m_pinned);
    raise();
    activateWindow();
}

void PanelWindow::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    savePositionSoon();
}

void PanelWindow::savePositionSoon()
{
    // A drag moves the window many times a second; one write per burst is enough.
    if (m_saving)
        m_saveTimer.start();
}

void PanelWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    updateShape();
}

void PanelWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    updateShape();
}

void PanelWindow::paintEvent(QPaintEvent *)
{
    if (m_margins.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    m_shadow.paint(painter, QRectF(rect().marginsRemoved(m_margins)), devicePixelRatioF());
}

void PanelWindow::savePosition()
{
    m_saveTimer.stop();
    if (!m_saving)
        return;
    const QRect panel = frame();
    QScreen *screen = QGuiApplication::screenAt(panel.center());
    if (!screen)
        screen = this->screen();
    m_settings.setPanelFrame({panel.topLeft(), panel.size(), screen ? screen->name() : QString()});
}

void PanelWindow::updateShape()
{
    QPainterPath path;
    path.addRoundedRect(QRectF(rect().marginsRemoved(m_margins)), Content::cornerRadius, Content::cornerRadius);
    const QRegion rounded(path.toFillPolygon().toPolygon());
    QWindow *window = windowHandle();
    if (m_margins.isNull()) {
        // Without a compositing manager the clear corners would be black: cut them out.
        setMask(rounded);
    } else {
        clearMask();
    }
    if (!window)
        return;
    WindowServices::setFrameExtents(window, m_margins);
    // Presses on the shadow go to whatever lies beneath it.
    WindowServices::setInputRegion(window, m_margins.isNull() ? QRegion() : rounded);
}

} // namespace zorvik
