#pragma once

#include <QObject>
#include <QTimer>

#include <chrono>

namespace zorvik {

// When the sound control's volume card is shown. Entering the button or the card opens it at
// once; it closes a quarter of a second after the pointer has left both, unless one of them
// holds the keyboard focus, and at once on Escape. Every enter cancels the pending close and
// every leave replaces it, so the last notification decides.
class VolumeCardHover : public QObject {
    Q_OBJECT

public:
    // Which of the two focusable elements holds the keyboard focus.
    enum class Focus { none, button, slider };

    static constexpr std::chrono::milliseconds dismissDelay{250};

    explicit VolumeCardHover(QObject *parent = nullptr);

    bool expanded() const { return m_expanded; }
    bool dismissPending() const { return m_dismiss.isActive(); }
    Focus focus() const { return m_focus; }

    // The pointer entered (true) or left (false) the button or the card.
    void hover(bool inside);
    // The keyboard focus moved; does nothing when it did not change.
    void setFocus(Focus focus);
    // Escape in the card: closes at once and leaves a pending close as it is.
    void escape();
    // The control goes away: a pending close is cancelled.
    void cancel();

signals:
    void expandedChanged(bool expanded);

private:
    void setExpanded(bool expanded);
    void dismiss();

    bool m_expanded = false;
    Focus m_focus = Focus::none;
    QTimer m_dismiss;
};

} // namespace zorvik
