#include "app/floating_panel.h"

#include "platform/user_settings.h"
#include "platform/window_services.h"

#include <QGuiApplication>
#include <QPainterPath>
#include <QRegion>
#include <QScopeGuard>
#include <QScreen>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>
#include <optional>

namespace zorvik {

namespace {

const QString groupKey = QStringLiteral("ZorvikPanel/");

QString key(const char *name)
{
    return groupKey + QLatin1String(name);
}

std::optional<int> intValue(const QVariant &value)
{
    if (!value.isValid())
        return std::nullopt;
    bool ok = false;
    const int result = value.toString().toInt(&ok);
    return ok ? std::optional<int>(result) : std::nullopt;
}

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

FloatingPanel::FloatingPanel(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
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
    connect(&m_saveTimer, &QTimer::timeout, this, &FloatingPanel::savePosition);
}

FloatingPanel::~FloatingPanel()
{
    if (m_saveTimer.isActive())
        savePosition();
}

void FloatingPanel::setContent(QWidget *content)
{
    if (m_content)
        layout()->removeWidget(m_content);
    m_content = content;
    layout()->addWidget(content);
}

void FloatingPanel::centre()
{
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame(QPoint(0, 0), size());
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}

QPoint FloatingPanel::clampedPosition(QPoint topLeft, QSize size, const QString &screenName)
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

bool FloatingPanel::restorePosition()
{
    // Whatever happens here, moves from now on are the user's and are remembered.
    const auto startSaving = qScopeGuard([this] { m_saving = true; });
    UserSettings &settings = UserSettings::shared();
    const auto x = intValue(settings.value(key("x")));
    const auto y = intValue(settings.value(key("y")));
    if (!x || !y)
        return false;
    QSize savedSize = size();
    const auto width = intValue(settings.value(key("width")));
    const auto height = intValue(settings.value(key("height")));
    if (width && height && *width > 0 && *height > 0)
        savedSize = QSize(*width, *height);
    const QString screen = settings.value(key("screen")).toString();
    // The saved frame comes back whole, so fitting the content afterwards keeps the place.
    resize(savedSize);
    move(clampedPosition(QPoint(*x, *y), savedSize, screen));
    return true;
}

void FloatingPanel::fitToContent()
{
    if (!m_content)
        return;
    QSize wanted = m_content->sizeHint().expandedTo(m_content->minimumSize());
    if (!wanted.isValid() || wanted.isEmpty())
        wanted = m_content->size();
    wanted = wanted.boundedTo(m_content->maximumSize());
    const QRect before = geometry();
    setFixedSize(wanted);
    move(before.left(), before.bottom() + 1 - wanted.height());
    savePositionSoon();
}

void FloatingPanel::setPinned(bool pinned)
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

void FloatingPanel::present()
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

void FloatingPanel::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    savePositionSoon();
}

void FloatingPanel::savePositionSoon()
{
    // A drag moves the window many times a second; one write per burst is enough.
    if (m_saving)
        m_saveTimer.start();
}

void FloatingPanel::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    updateMask();
}

void FloatingPanel::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    updateMask();
}

void FloatingPanel::savePosition()
{
    m_saveTimer.stop();
    if (!m_saving)
        return;
    UserSettings &settings = UserSettings::shared();
    const QPoint where = pos();
    settings.setValue(key("x"), where.x());
    settings.setValue(key("y"), where.y());
    settings.setValue(key("width"), width());
    settings.setValue(key("height"), height());
    QScreen *screen = QGuiApplication::screenAt(geometry().center());
    if (!screen)
        screen = this->screen();
    if (screen)
        settings.setValue(key("screen"), screen->name());
}

void FloatingPanel::updateMask()
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
