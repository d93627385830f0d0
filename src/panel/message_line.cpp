#include "panel/message_line.h"

#include "game/game.h"
#include "game/message_text.h"
#include "panel/spoken_notification.h"
#include "style/fonts.h"
#include "style/palette.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFontMetricsF>
#include <QPainter>

namespace zorvik {

namespace {
constexpr qreal fontSize = 14;
constexpr int lineHeight = 32;
constexpr int sideSpace = 10;

QFont messageFont(double scale)
{
    return Fonts::rounded(fontSize * scale, QFont::Medium);
}

// The panel's status line: a status bar named by its text.
class StatusBarAccessible : public QAccessibleWidget {
public:
    explicit StatusBarAccessible(MessageLine *line) : QAccessibleWidget(line, QAccessible::StatusBar) {}

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name)
            return static_cast<const MessageLine *>(widget())->text();
        return QAccessibleWidget::text(kind);
    }
};

QAccessibleInterface *statusBarAccessible(const QString &, QObject *object)
{
    if (auto *line = qobject_cast<MessageLine *>(object))
        return new StatusBarAccessible(line);
    return nullptr;
}
} // namespace

MessageLine::MessageLine(Game &game, QWidget *parent)
    : QLabel(parent), m_game(game), m_notification(new SpokenNotification(this))
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(statusBarAccessible);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setFixedHeight(lineHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(&m_game, &Game::messageChanged, this, &MessageLine::showMessage);
    showMessage();
}

// The game's message in the user's language.
void MessageLine::showMessage()
{
    setText(MessageText::of(m_game.messageMeaning()));
}

MessageLine::Fit MessageLine::fit(const QString &text, qreal width)
{
    Fit fit{messageFont(1.0), 1.0, text};
    qreal advance = QFontMetricsF(fit.font).horizontalAdvance(text);
    // Text width grows nearly but not exactly in proportion to the size (hinting, rounding of
    // advances), so step down until it fits or the smallest size is reached.
    for (int attempt = 0; advance > width && fit.scale > minimumScale && attempt < 8; ++attempt) {
        fit.scale = std::max(minimumScale, fit.scale * width / advance - 0.002);
        fit.font = messageFont(fit.scale);
        advance = QFontMetricsF(fit.font).horizontalAdvance(text);
    }
    if (advance > width)
        fit.text = QFontMetricsF(fit.font).elidedText(text, Qt::ElideRight, width);
    return fit;
}

qreal MessageLine::textWidth() const
{
    return width() - 2 * sideSpace;
}

QSize MessageLine::sizeHint() const
{
    return {300, lineHeight};
}

QSize MessageLine::minimumSizeHint() const
{
    return {2 * sideSpace, lineHeight};
}

void MessageLine::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QRectF area = QRectF(rect()).adjusted(sideSpace, 0, -sideSpace, 0);
    const Fit shown = fit(text(), textWidth());
    painter.setFont(shown.font);
    painter.setPen(Palette::ink().resolve(this));
    painter.drawText(area, Qt::AlignCenter | Qt::TextSingleLine, shown.text);
}

} // namespace zorvik
