#include "panel/content.h"

#include "game/game.h"
#include "panel/appearance_popover.h"
#include "panel/bet_button.h"
#include "panel/header_button.h"
#include "panel/hint_line.h"
#include "panel/message_line.h"
#include "panel/move_handle.h"
#include "panel/sound_control.h"
#include "desktop/color_scheme.h"
#include "services/settings.h"
#include "style/palette.h"
#include "wheel/wheel.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace zorvik {

namespace {
constexpr int panelWidth = 300;

// Header band: 12 in from either side, 4 down from the top, 32 high.
constexpr int bandSide = 12;
constexpr int bandTop = 4;
constexpr QSize bandSize(panelWidth - 2 * bandSide, 32);
constexpr int bandSpacing = 4;
constexpr QSizeF gripSize(32, 3);

// Bet row: 14 in from either side, 12 between the buttons, 12 below.
constexpr int rowSide = 14;
constexpr int rowSpacing = 12;
constexpr int rowBelow = 12;
} // namespace

Content::Content(Game &game, const PanelServices &services, QWidget *parent)
    : QWidget(parent), m_game(game), m_services(services)
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    // Header band. Two layers share its rectangle: the grip (drawn by paintEvent, with the
    // move handle over it) in the middle, and the controls at both ends. The band itself
    // takes no clicks, so a press between the controls and the handle does nothing.
    m_band = new QWidget(this);
    m_band->setFixedSize(bandSize);

    auto *handle = new MoveHandle(m_band);
    handle->move((bandSize.width() - handle->width()) / 2, (bandSize.height() - handle->height()) / 2);

    auto *hideButton = new HeaderButton(Symbol::minus, QSize(44, 32), m_band);
    hideButton->setObjectName(QStringLiteral("hide"));
    hideButton->setToolTip(tr("Hide — reopen from the system tray"));
    hideButton->setAccessibleName(tr("Hide Zorvik"));
    hideButton->move(0, 0);
    connect(hideButton, &QAbstractButton::clicked, this, &Content::hideRequested);

    m_appearanceButton = new HeaderButton(Symbol::halfFilledCircle, QSize(28, 32), m_band);
    m_appearanceButton->setObjectName(QStringLiteral("appearance"));
    m_appearanceButton->setToolTip(tr("Appearance"));
    m_appearanceButton->setAccessibleName(tr("Appearance"));
    connect(m_appearanceButton, &QAbstractButton::clicked, this, &Content::toggleAppearance);

    auto *sound = new SoundControl(m_game.audio(), m_band);

    m_pinButton = new HeaderButton(Symbol::pin, QSize(28, 32), m_band);
    m_pinButton->setObjectName(QStringLiteral("pin"));
    if (m_services.window.keepAbove) {
        m_pinButton->setToolTip(tr("Keep on top"));
    } else {
        // Shown as what this desktop does not offer, with the reason on hover and for screen
        // readers (a tooltip is also the button's accessible description).
        m_pinButton->setEnabled(false);
        m_pinButton->setToolTip(tr("Wayland does not let a window keep itself on top"));
    }
    connect(m_pinButton, &QAbstractButton::clicked, this, &Content::togglePinned);

    // The right-hand controls, laid out from the right end, centred vertically.
    int right = bandSize.width();
    for (QWidget *control : {static_cast<QWidget *>(m_pinButton), static_cast<QWidget *>(sound),
                             static_cast<QWidget *>(m_appearanceButton)}) {
        right -= control->width();
        control->move(right, (bandSize.height() - control->height()) / 2);
        right -= bandSpacing;
    }
    // Tab order follows the band from left to right.
    setTabOrder(hideButton, m_appearanceButton);
    setTabOrder(m_appearanceButton, sound);
    setTabOrder(sound, m_pinButton);

    column->addSpacing(bandTop);
    column->addWidget(m_band, 0, Qt::AlignHCenter);

    auto *wheel = new Wheel(m_game, m_services.reducedMotion, this);
    column->addWidget(wheel, 0, Qt::AlignHCenter);

    auto *messageLine = new MessageLine(m_game, this);
    m_notification = messageLine->notification();
    column->addWidget(messageLine);

    auto *betRow = new QWidget(this);
    auto *bets = new QHBoxLayout(betRow);
    bets->setContentsMargins(rowSide, 0, rowSide, rowBelow);
    bets->setSpacing(rowSpacing);
    // Tab goes on from the header to the bets and then to the wheel: choose, then spin.
    QWidget *previous = m_pinButton;
    for (const Bet bet : allBets) {
        auto *button = new BetButton(m_game, bet, betRow);
        button->setObjectName(bet == Bet::red ? QStringLiteral("betRed") : QStringLiteral("betBlack"));
        bets->addWidget(button);
        setTabOrder(previous, button);
        previous = button;
    }
    setTabOrder(previous, wheel);
    column->addWidget(betRow);

    column->addWidget(new HintLine(this));

    // Whatever a header control shows beyond the band (the volume card under the sound
    // control) lies over the wheel, not under it.
    m_band->raise();

    setFixedSize(panelWidth, column->sizeHint().height());

    connect(&m_services.colorScheme, &ColorScheme::changed, this, &Content::applyAppearance);
    refreshPin();
    applyAppearance();
}

bool Content::effectiveDark() const
{
    return Settings::darkFor(m_services.settings.appearance()).value_or(m_services.colorScheme.prefersDark());
}

AppearancePopover *Content::appearancePopover() const
{
    return m_popover ? m_popover : const_cast<Content *>(this)->makePopover();
}

AppearancePopover *Content::makePopover()
{
    m_popover = new AppearancePopover(m_services.settings, m_appearanceButton, this);
    connect(m_popover, &AppearancePopover::chosen, this, &Content::applyAppearance);
    connect(m_popover, &AppearancePopover::closed, this, [this] { m_appearanceOpen = false; });
    m_popover->sync();
    m_popover->applyAppearance();
    return m_popover;
}

void Content::applyAppearance()
{
    setDarkAppearance(this, effectiveDark());
    if (m_popover) {
        m_popover->sync();
        m_popover->applyAppearance();
    }
}

void Content::toggleAppearance()
{
    if (m_appearanceOpen) {
        m_popover->close();
        return;
    }
    m_appearanceOpen = true;
    appearancePopover()->open();
}

void Content::togglePinned()
{
    m_pinned = !m_pinned;
    refreshPin();
    emit pinRequested(m_pinned);
}

void Content::refreshPin()
{
    const bool on = m_pinned && m_services.window.keepAbove;
    m_pinButton->setBackgroundOpacity(on ? 0.1 : 0.0);
    const QString name = on ? tr("Disable keep on top") : tr("Keep on top");
    if (m_pinButton->accessibleName() != name)
        m_pinButton->setAccessibleName(name);
}

void Content::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);

    QPainterPath card;
    card.addRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);
    painter.fillPath(card, Palette::cream().resolve(this));

    // The grip mark under the move handle, centred in the header band.
    const QColor tint = Palette::headerTint().resolve(this);
    const QPointF gripCentre = QRectF(m_band->geometry()).center();
    painter.setPen(Qt::NoPen);
    painter.setBrush(withOpacity(tint, 0.32));
    painter.drawRoundedRect(QRectF(gripCentre - QPointF(gripSize.width(), gripSize.height()) / 2, gripSize),
                            gripSize.height() / 2, gripSize.height() / 2);

    // Outline on the card's edge (its outer half falls outside the panel).
    painter.setPen(QPen(withOpacity(Palette::ink().resolve(this), 0.1), 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(card);
}

} // namespace zorvik
