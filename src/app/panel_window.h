#pragma once

#include "style/soft_shadow.h"

#include <QPoint>
#include <QTimer>
#include <QWidget>

class QScreen;

namespace zorvik {

class CompositorWatch;
class Settings;

// The one window: frameless, translucent, not in the taskbar, on every desktop, above other
// windows while pinned. Showing it does not activate it; it can still take the keyboard.
// Its position is remembered under "ZorvikPanel" in the user's settings on every move, where
// the window system lets the program place its window (not on Wayland).
//
// While a compositing manager runs, the panel casts a soft shadow into a transparent margin
// around it; the window manager is told where the panel's frame lies within the window, and
// only the frame takes the pointer. Positions, the saved frame and the screen clamp are the
// frame's. Without a compositing manager there is no margin and the rounded corners are cut
// out of the window; the panel follows a compositing manager that starts or stops.
class PanelWindow : public QWidget {
    Q_OBJECT

public:
    PanelWindow(Settings &settings, CompositorWatch &compositor, QWidget *parent = nullptr);
    ~PanelWindow() override;

    // Hosts the panel's content, filling the window.
    void setContent(QWidget *content);

    // The panel's frame on the screen: the window without its shadow margin.
    QRect frame() const { return geometry().marginsRemoved(m_margins); }

    // Centres the frame on the primary screen.
    void centre();
    // Moves the frame to the position saved by an earlier run, clamped onto a screen; false
    // when nothing was saved or the window system places windows itself. From then on every
    // move is saved, where a position can be restored.
    bool restorePosition();
    // Sets the frame to the content's size, keeping its lower-left corner where it is, then
    // keeps it fully on its screen.
    void fitToContent();

    // Writes the position now (moves are otherwise saved 100 ms after the last one).
    void savePosition();

    // Keep-on-top, switched on a visible window without unmapping or moving it.
    void setPinned(bool pinned);

    // Shows the window with its desktop hints renewed, raised and with the keyboard.
    void present();

    // Where a saved position lands: fully inside the available area of the named screen if it
    // exists, else of the screen containing the point, else of the primary screen.
    static QPoint clampedPosition(QPoint topLeft, QSize size, const QString &screenName);

protected:
    void moveEvent(QMoveEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void setShadow(bool on);
    void moveFrame(QPoint topLeft);
    void updateShape();
    void savePositionSoon();

    Settings &m_settings;
    CompositorWatch &m_compositor;
    SoftShadow m_shadow;
    QMargins m_margins;
    QWidget *m_content = nullptr;
    bool m_pinned = true;
    bool m_saving = false;
    QTimer m_saveTimer;
};

} // namespace zorvik
