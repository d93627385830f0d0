#pragma once

#include <QPoint>
#include <QTimer>
#include <QWidget>

class QScreen;

namespace zorvik {

class Settings;

// The one window: frameless, translucent, not in the taskbar, on every desktop, above other
// windows while pinned. Showing it does not activate it; it can still take the keyboard.
// Its position is remembered under "ZorvikPanel" in the user's settings on every move.
class PanelWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr int cornerRadius = 22;

    explicit PanelWindow(Settings &settings, QWidget *parent = nullptr);
    ~PanelWindow() override;

    // Hosts the panel's content, filling the window.
    void setContent(QWidget *content);
    QWidget *content() const { return m_content; }

    // Centres the window on the primary screen.
    void centre();
    // Moves the window to the position saved by an earlier run, clamped onto a screen; false
    // when nothing was saved. From then on every move is saved.
    bool restorePosition();
    // Sets the window to the content's size, keeping the lower-left corner where it is as far as
    // the panel stays whole on its screen.
    void fitToContent();

    // Writes the position now (moves are otherwise saved 100 ms after the last one).
    void savePosition();

    // Keep-on-top, switched on a visible window without unmapping or moving it.
    void setPinned(bool pinned);
    bool pinned() const { return m_pinned; }

    // Shows the window with its desktop hints renewed, raised and with the keyboard.
    void present();

    // Where a saved position lands: fully inside the available area of the named screen if it
    // exists, else of the screen containing the point, else of the primary screen.
    static QPoint clampedPosition(QPoint topLeft, QSize size, const QString &screenName);

protected:
    void moveEvent(QMoveEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void updateMask();
    void savePositionSoon();

    Settings &m_settings;
    QWidget *m_content = nullptr;
    bool m_pinned = true;
    bool m_saving = false;
    QTimer m_saveTimer;
};

} // namespace zorvik
