#pragma once

#include <QFont>
#include <QLabel>
#include <QString>

namespace zorvik {

class Game;
class SpokenNotification;

// The game's status line under the wheel, in the user's language: one line, 32 high, 10 free on either side. A text
// too wide for the line is drawn smaller, down to 0.85 of its size, and only then cut off at
// the end; it never wraps. (A QLabel underneath, whose text is its accessible name; the drawing
// is our own.) Assistive technologies see the status bar of the panel, holding the notification
// that speaks the game's announcements where no screen reader listens for AT-SPI ones.
class MessageLine : public QLabel {
    Q_OBJECT

public:
    explicit MessageLine(Game &game, QWidget *parent = nullptr);

    // How a text is drawn into a given width: the font after shrinking, the scale it was
    // shrunk by, and the text after truncation (unchanged when it fits).
    struct Fit {
        QFont font;
        double scale = 1.0;
        QString text;
    };
    static Fit fit(const QString &text, qreal width);
    // The width the text is fitted into: the line's, less the free space on either side.
    qreal textWidth() const;

    static constexpr double minimumScale = 0.85;

    SpokenNotification *notification() const { return m_notification; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void showMessage();

    Game &m_game;
    SpokenNotification *m_notification;
};

} // namespace zorvik
