#include "panel/bet_button.h"

#include "game/game.h"
#include "game/message_text.h"
#include "accessibility/atspi_events.h"
#include "style/fonts.h"
#include "style/palette.h"
#include "style/symbols.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFontMetricsF>
#include <QPainter>

namespace zorvik {

namespace {
constexpr QSize buttonSize(130, 36);
constexpr qreal dotSize = 12;
constexpr qreal itemSpace = 9;
constexpr qreal checkmarkWidth = 11;
constexpr qreal cornerRadius = 12;
constexpr qreal outlineWidth = 1.5;

const QColor &colorOf(Bet bet)
{
    return bet == Bet::red ? Palette::rose() : Palette::charcoal();
}

// Qt 6.4's AT-SPI bridge does not pass a button's value text on, so the value is mirrored into
// the description, which screen readers do speak.
class BetButtonAccessible : public QAccessibleWidget {
public:
    explicit BetButtonAccessible(BetButton *button) : QAccessibleWidget(button, QAccessible::Button) {}

    QString text(QAccessible::Text kind) const override
    {
        const auto *button = static_cast<const BetButton *>(widget());
        switch (kind) {
        case QAccessible::Name:
            return button->accessibleName();
        case QAccessible::Value:
        case QAccessible::Description:
            return button->stateText();
        default:
            return QAccessibleWidget::text(kind);
        }
    }

    QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames();
        if (widget()->isEnabled())
            names.prepend(pressAction());
        return names;
    }

    void doAction(const QString &action) override
    {
        if (action == pressAction() && widget()->isEnabled())
            static_cast<BetButton *>(widget())->click();
        else
            QAccessibleWidget::doAction(action);
    }
};

QAccessibleInterface *betButtonAccessible(const QString &, QObject *object)
{
    if (auto *button = qobject_cast<BetButton *>(object))
        return new BetButtonAccessible(button);
    return nullptr;
}
} // namespace

BetButton::BetButton(Game &game, Bet bet, QWidget *parent)
    : PlainButton(parent), m_game(game), m_bet(bet)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(betButtonAccessible);
        return true;
    }();
    Q_UNUSED(factoryInstalled);

    setMinimumHeight(buttonSize.height());
    setMaximumHeight(buttonSize.height());
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFocusPolicy(Qt::TabFocus);
    setText(MessageText::betName(bet));
    // Whole sentences, so that a language can put the colour where it belongs.
    setAccessibleName(bet == Bet::red ? tr("Bet Red") : tr("Bet Black"));
    connect(this, &QAbstractButton::clicked, this, [this] { m_game.select(m_bet); });
    // Disabled while the wheel spins; enabling and disabling redraw by themselves.
    setEnabled(!m_game.spinning());
    connect(&m_game, &Game::spinningChanged, this, [this](bool spinning) { setEnabled(!spinning); });
    connect(&m_game, &Game::betChanged, this, &BetButton::showChoice);
}

bool BetButton::chosen() const
{
    return m_game.bet() == m_bet;
}

QString BetButton::stateText() const
{
    return chosen() ? tr("Selected") : tr("Not selected");
}

QFont BetButton::nameFont()
{
    return Fonts::rounded(14, QFont::DemiBold);
}

qreal BetButton::labelWidth(bool chosen) const
{
    const qreal width = dotSize + itemSpace + QFontMetricsF(nameFont()).horizontalAdvance(text());
    return chosen ? width + itemSpace + checkmarkWidth : width;
}

QSize BetButton::sizeHint() const
{
    return buttonSize;
}

void BetButton::showChoice(std::optional<Bet> bet, std::optional<Bet> previous)
{
    // Only the button that became, or stopped being, the chosen one changed.
    if (bet != m_bet && previous != m_bet)
        return;
    AtSpiEvents::descriptionChanged(this, stateText());
    update();
}

void BetButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    const bool isChosen = chosen();
    const QColor ink = Palette::ink().resolve(this);
    const QColor &betColor = colorOf(m_bet);

    // The plain style's disabled and pressed looks.
    if (!isEnabled())
        painter.setOpacity(0.45);
    else if (isDown())
        painter.setOpacity(0.7);

    // Box and outline share one rounded rectangle; it is inset by half the line width so the
    // outline is not cut by the button's edge.
    const QRectF box = QRectF(rect()).adjusted(outlineWidth / 2, outlineWidth / 2, -outlineWidth / 2,
                                               -outlineWidth / 2);
    painter.setPen(QPen(isChosen ? betColor : withOpacity(ink, 0.08), outlineWidth));
    painter.setBrush(isChosen ? withOpacity(betColor, 0.16) : withOpacity(ink, 0.06));
    painter.drawRoundedRect(box, cornerRadius, cornerRadius);

    // Label row: dot, name, and the tick while chosen; centred as one.
    const QFont font = nameFont();
    const QString name = text();
    const qreal nameWidth = QFontMetricsF(font).horizontalAdvance(name);
    const QRectF area = rect();
    qreal x = area.center().x() - labelWidth(isChosen) / 2;
    const qreal middle = area.center().y();

    painter.setPen(Qt::NoPen);
    painter.setBrush(betColor);
    painter.drawEllipse(QRectF(x, middle - dotSize / 2, dotSize, dotSize));
    x += dotSize + itemSpace;

    painter.setFont(font);
    painter.setPen(ink);
    painter.drawText(QRectF(x, area.top(), nameWidth, area.height()),
                     Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, name);
    x += nameWidth + itemSpace;

    if (isChosen) {
        Symbols::draw(painter, Symbol::checkmark,
                      QRectF(x, area.top(), checkmarkWidth, area.height()),
                      Fonts::system(11, QFont::Bold), ink);
    }

    if (showsFocusRing()) {
        painter.setOpacity(1.0);
        painter.setPen(QPen(withOpacity(isChosen ? betColor : ink, 0.6), 2.0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(3, 3, -3, -3), cornerRadius - 3, cornerRadius - 3);
    }
}

} // namespace zorvik
