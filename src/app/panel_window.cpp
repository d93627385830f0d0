#include "app/panel_window.h"

#include "platform/window_services.h"
#include "services/settings.h"

#include <QGuiApplication>
#include <QPainterPath>
#include <QRegion>
#include <QScopeGuard>
#include <QScreen>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>

namespace zorvik {

namespace {

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

PanelWindow::PanelWindow(Settings &settings, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), m_settings(settings)
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

void PanelWindow::centre()
{
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame(QPoint(0, 0), size());
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
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
    // Whatever happens here, moves from now on are the user's and are remembered.
    const auto startSaving = qScopeGuard([this] { m_saving = true; });
    const auto saved = m_settings.panelFrame();
    if (!saved)
        return false;
    const QSize savedSize = saved->size.value_or(size());
    // The saved frame comes back whole, so fitting the content afterwards keeps the place.
    resize(savedSize);
    move(clampedPosition(saved->topLeft, savedSize, saved->screen));
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
    const QRect before = geometry();
    setFixedSize(wanted);
    // The lower-left corner stays unless that puts part of the panel off its screen (a saved
    // frame far taller or shorter than the content would otherwise push it off an edge).
    const QScreen *screen = QGuiApplication::screenAt(before.topLeft());
    move(clampedPosition(QPoint(before.left(), before.bottom() + 1 - wanted.height()), wanted,
                         screen ? screen->name() : QString()));
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
    updateMask();
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
    updateMask();
}

void PanelWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    updateMask();
}

void PanelWindow::savePosition()
{
    m_saveTimer.stop();
    if (!m_saving)
        return;
    QScreen *screen = QGuiApplication::screenAt(geometry().center());
    if (!screen)
        screen = this->screen();
    m_settings.setPanelFrame({pos(), size(), screen ? screen->name() : QString()});
}

void PanelWindow::updateMask()
{
    // Without a compositing manager the clear corners would be black: clip the window instead.
    if (WindowServices::compositingActive()) {
        clearMask();
        return;
    }
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);
    setMask(QRegion(path.toFillPolygon().toPolygon()));
}

} // namespace zorvik
