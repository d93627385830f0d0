#include "panel/appearance_popover.h"

#include "services/settings.h"
#include "style/fonts.h"
#include "style/palette.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGroupBox>
#include <QMouseEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QRadioButton>
#include <QStyleOptionGroupBox>
#include <QScreen>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>

namespace zorvik {

namespace {
constexpr int padding = 16;
constexpr int gapBelowAnchor = 4;

// The desktop style draws radio rings from the window colour, which vanish on the dark card,
// and a frame around the group. Here the rings follow the panel's ink and the group shows only
// its title.
class PopoverStyle : public QProxyStyle {
public:
    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override
    {
        if (element != PE_IndicatorRadioButton) {
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            return;
        }
        const QColor ink = Palette::ink().resolve(widget);
        const QColor tint = Palette::headerTint().resolve(widget);
        const bool on = option->state & State_On;
        const bool enabled = option->state & State_Enabled;
        const qreal side = std::min(option->rect.width(), option->rect.height()) - 2;
        const QRectF ring(QPointF(option->rect.center()) - QPointF(side, side) / 2 + QPointF(0.5, 0.5),
                          QSizeF(side, side));
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setOpacity(enabled ? 1.0 : 0.5);
        painter->setPen(QPen(on ? tint : withOpacity(ink, 0.45), 1.2));
        painter->setBrush(on ? withOpacity(tint, 0.15) : Qt::transparent);
        painter->drawEllipse(ring);
        if (on) {
            painter->setPen(Qt::NoPen);
            painter->setBrush(tint);
            painter->drawEllipse(ring.center(), side * 0.25, side * 0.25);
        }
        painter->restore();
    }

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                            const QWidget *widget) const override
    {
        const auto *group = qstyleoption_cast<const QStyleOptionGroupBox *>(option);
        if (control != CC_GroupBox || !group) {
            QProxyStyle::drawComplexControl(control, option, painter, widget);
            return;
        }
        const QRect label = subControlRect(CC_GroupBox, option, SC_GroupBoxLabel, widget);
        drawItemText(painter, label, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic,
                     group->palette, group->state & State_Enabled, group->text, QPalette::WindowText);
    }
};
} // namespace

AppearancePopover::AppearancePopover(Settings &settings, QWidget *anchor, QWidget *parent)
    : QWidget(parent, Qt::Popup), m_settings(settings), m_anchor(anchor)
{
    auto *style = new PopoverStyle;
    style->setParent(this);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(padding, padding, padding, padding);

    m_group = new QGroupBox(tr("Appearance"), this);
    m_group->setFlat(true);
    m_group->setStyle(style);
    m_group->setFont(Fonts::rounded(13, QFont::DemiBold));
    auto *column = new QVBoxLayout(m_group);
    column->setContentsMargins(0, 6, 0, 0);
    column->setSpacing(6);

    m_options = new QButtonGroup(this);
    const QStringList labels{tr("System"), tr("Light"), tr("Dark")};
    for (int i = 0; i < labels.size(); ++i) {
        auto *option = new QRadioButton(labels.at(i), m_group);
        option->setFont(Fonts::rounded(13));
        option->setStyle(style);
        option->setObjectName(tags().at(i));
        m_options->addButton(option, i);
        column->addWidget(option);
    }
    layout->addWidget(m_group);

    // An option is chosen by becoming checked: a click and the arrow keys click it, but a screen
    // reader's Toggle action (the one Qt offers for a radio button) only checks it.
    connect(m_options, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (!checked)
            return;
        const QString tag = tags().value(id);
        m_settings.setAppearance(tag);
        emit chosen(tag);
    });
}

const QStringList &AppearancePopover::tags()
{
    static const QStringList list{QStringLiteral("system"), QStringLiteral("light"), QStringLiteral("dark")};
    return list;
}

void AppearancePopover::open()
{
    sync();
    applyAppearance();
    adjustSize();

    // Centred under the control, kept on the anchor's screen.
    const QPoint below = m_anchor->mapToGlobal(QPoint(m_anchor->width() / 2, m_anchor->height()));
    QPoint topLeft(below.x() - width() / 2, below.y() + gapBelowAnchor);
    if (const QScreen *screen = m_anchor->screen()) {
        const QRect available = screen->availableGeometry();
        topLeft.setX(std::clamp(topLeft.x(), available.left(), std::max(available.left(), available.right() - width() + 1)));
        topLeft.setY(std::clamp(topLeft.y(), available.top(), std::max(available.top(), available.bottom() - height() + 1)));
    }
    move(topLeft);
    show();

    if (QAbstractButton *checked = m_options->checkedButton())
        checked->setFocus(Qt::PopupFocusReason);
    else
        m_options->button(0)->setFocus(Qt::PopupFocusReason);
}

void AppearancePopover::sync()
{
    const qsizetype index = tags().indexOf(m_settings.appearance()); // exact and case-sensitive

    // Showing the stored choice is not choosing it. An exclusive group cannot show no choice at
    // all; lift the rule while clearing.
    const QSignalBlocker quiet(m_options);
    m_options->setExclusive(false);
    const QList<QAbstractButton *> buttons = m_options->buttons();
    for (QAbstractButton *button : buttons)
        button->setChecked(m_options->id(button) == index);
    m_options->setExclusive(true);
}

void AppearancePopover::applyAppearance()
{
    const QColor cream = Palette::cream().resolve(this);
    const QColor ink = Palette::ink().resolve(this);
    const QColor tint = Palette::headerTint().resolve(this);
    QPalette colors = palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        colors.setColor(group, QPalette::Window, cream);
        colors.setColor(group, QPalette::Base, cream);
        colors.setColor(group, QPalette::Button, cream);
        colors.setColor(group, QPalette::WindowText, ink);
        colors.setColor(group, QPalette::Text, ink);
        colors.setColor(group, QPalette::ButtonText, ink);
        colors.setColor(group, QPalette::Highlight, tint);
        colors.setColor(group, QPalette::HighlightedText, cream);
    }
    colors.setColor(QPalette::Disabled, QPalette::Window, cream);
    colors.setColor(QPalette::Disabled, QPalette::Base, cream);
    colors.setColor(QPalette::Disabled, QPalette::WindowText, withOpacity(ink, 0.5));
    colors.setColor(QPalette::Disabled, QPalette::Text, withOpacity(ink, 0.5));
    setPalette(colors);
    update();
}

void AppearancePopover::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Palette::cream().resolve(this));
    painter.setPen(QPen(withOpacity(Palette::ink().resolve(this), 0.15), 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
}

void AppearancePopover::mousePressEvent(QMouseEvent *event)
{
    // A press outside closes the bubble and then reaches whatever lies under the pointer,
    // except when it lies on the bubble's own control: that press only closes it, or the
    // control would open it again at once.
    const QRect anchorArea(m_anchor->mapToGlobal(QPoint(0, 0)), m_anchor->size());
    setAttribute(Qt::WA_NoMouseReplay, anchorArea.contains(event->globalPosition().toPoint()));
    QWidget::mousePressEvent(event);
}

void AppearancePopover::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    emit closed();
}

} // namespace zorvik
