#include "panel/volume_card.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <QSignalBlocker>
#include <QSlider>

#include <unicode/unum.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>

#include "panel/drop_shadow.h"
#include "panel/volume_card_hover.h"
#include "sound/rolling_audio.h"
#include "style/fonts.h"
#include "style/palette.h"

namespace zorvik {

namespace {

constexpr qreal cornerRadius = 12;
constexpr qreal shadowOpacity = 0.1;
constexpr qreal shadowBlur = 5;
constexpr qreal shadowOffsetY = 2;
constexpr qreal percentFontSize = 10;

QString sliderStyle(bool dark)
{
    const QString sage = Palette::sage().name(QColor::HexArgb);
    const QString track = QColor(dark ? QColor(255, 255, 255, 46) : QColor(0, 0, 0, 31)).name(QColor::HexArgb);
    const QString knob = dark ? QStringLiteral("#ffe4e8e4") : QStringLiteral("#ffffffff");
    // Opaque: the style sheet draws a rounded border's corners twice, which shows with alpha.
    const QString knobEdge = dark ? QStringLiteral("#ff5d645f") : QStringLiteral("#ffc9c8c2");
    return QStringLiteral(
               "QSlider { background: transparent; }"
               "QSlider::groove:horizontal { height: 4px; border-radius: 2px; background: %1; }"
               "QSlider::sub-page:horizontal { height: 4px; border-radius: 2px; background: %2; }"
               "QSlider::handle:horizontal { width: 14px; height: 14px; margin: -5px 0;"
               " border-radius: 7px; background: %3; border: 1px solid %4; }"
               "QSlider::handle:horizontal:focus { border: 2px solid %2; }")
        .arg(track, sage, knob, knobEdge);
}

// Every digit is set in a cell as wide as the widest digit, so the label keeps its width while
// the number changes.
qreal digitCell(const QFontMetricsF &metrics)
{
    qreal cell = 0;
    for (char16_t d = u'0'; d <= u'9'; ++d)
        cell = std::max(cell, metrics.horizontalAdvance(QChar(d)));
    return cell;
}

qreal tabularWidth(const QFontMetricsF &metrics, const QString &text)
{
    const qreal cell = digitCell(metrics);
    qreal total = 0;
    for (QChar c : text)
        total += c.isDigit() ? cell : metrics.horizontalAdvance(c);
    return total;
}

// Draws text with tabular digits, centred horizontally in rect and vertically on its middle.
void drawTabular(QPainter &painter, const QRectF &rect, const QString &text)
{
    const QFontMetricsF metrics(painter.font());
    const qreal cell = digitCell(metrics);
    qreal x = rect.center().x() - tabularWidth(metrics, text) / 2;
    const qreal baseline = rect.center().y() + (metrics.ascent() - metrics.descent()) / 2;
    for (QChar c : text) {
        const qreal advance = metrics.horizontalAdvance(c);
        const qreal width = c.isDigit() ? cell : advance;
        painter.drawText(QPointF(x + (width - advance) / 2, baseline), QString(c));
        x += width;
    }
}

// The card's slider as screen readers hear it: the percentage the card shows, 0 to 100 in steps
// of one, rather than the slider's own fine steps.
class VolumeSliderAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    VolumeSliderAccessible(QSlider *slider, VolumeCard *card)
        : QAccessibleWidget(slider, QAccessible::Slider), m_card(card)
    {
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QVariant currentValue() const override { return VolumeCard::percent(m_card->audio().volume()); }
    void setCurrentValue(const QVariant &value) override
    {
        const double percent = std::clamp(value.toDouble(), 0.0, 100.0);
        static_cast<QSlider *>(widget())->setValue(int(std::lround(percent * VolumeCard::sliderSteps / 100)));
    }
    QVariant maximumValue() const override { return 100.0; }
    QVariant minimumValue() const override { return 0.0; }
    QVariant minimumStepSize() const override { return 1.0; }

private:
    VolumeCard *m_card;
};

QAccessibleInterface *volumeSliderAccessible(const QString &, QObject *object)
{
    auto *slider = qobject_cast<QSlider *>(object);
    auto *card = slider ? qobject_cast<VolumeCard *>(slider->parentWidget()) : nullptr;
    return card ? new VolumeSliderAccessible(slider, card) : nullptr;
}

} // namespace

VolumeCard::VolumeCard(RollingAudio &audio, VolumeCardHover &hover, QWidget *anchor, QWidget *parent)
    : QWidget(parent), m_audio(audio), m_hover(hover), m_anchor(anchor), m_slider(new QSlider(Qt::Horizontal, this))
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(volumeSliderAccessible);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover, false);

    m_slider->setRange(0, sliderSteps);
    m_slider->setSingleStep(sliderSteps / 100);
    m_slider->setPageStep(sliderSteps / 10);
    // Like the desktop's other small controls, a click does not take the keyboard focus:
    // only Tab does, so clicking the slider never pins the card open.
    m_slider->setFocusPolicy(Qt::TabFocus);
    m_slider->setAccessibleName(tr("Rolling sound volume"));
    applySliderStyle(isDarkAppearance(anchor));

    const QFontMetricsF metrics(Fonts::rounded(percentFontSize));
    m_rowHeight = std::max(m_slider->sizeHint().height(), int(std::ceil(metrics.height())));
    setFixedSize(cardWidth, m_rowHeight + 2 * inset);
    const int sliderWidth = cardWidth - 2 * inset - spacing - labelWidth;
    const int sliderHeight = m_slider->sizeHint().height();
    m_slider->setGeometry(inset, inset + (m_rowHeight - sliderHeight) / 2, sliderWidth, sliderHeight);
    // The shadow is a sibling beneath the card: the card's widget is the card and nothing more.
    m_shadow = new DropShadow(this, SoftShadow(cornerRadius, shadowBlur, QPointF(0, shadowOffsetY), shadowOpacity));

    connect(m_slider, &QSlider::valueChanged, this,
            [this](int value) { m_audio.setVolume(double(value) / sliderSteps); });
    connect(&m_audio, &RollingAudio::volumeChanged, this, &VolumeCard::syncFromAudio);
    syncFromAudio();
}

double VolumeCard::percent(double volume)
{
    const double percent = std::trunc(volume * 100);
    return std::isfinite(percent) ? percent : 0.0;
}

QString VolumeCard::percentText(double volume)
{
    const auto whole = static_cast<std::int64_t>(percent(volume));
    const QLocale locale;
    // The locale's own percent format from ICU (which QtCore loads anyway): where the sign goes,
    // with or without a space, and its digits. The number is given as shown, not as a fraction
    // to be multiplied by 100.
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<UNumberFormat, void (*)(UNumberFormat *)> format(
        unum_open(UNUM_PERCENT, nullptr, 0, locale.name().toLatin1().constData(), nullptr, &status), unum_close);
    std::array<UChar, 32> text{};
    int32_t length = 0;
    if (U_SUCCESS(status)) {
        unum_setAttribute(format.get(), UNUM_MULTIPLIER, 1);
        length = unum_formatInt64(format.get(), whole, text.data(), int32_t(text.size()), nullptr, &status);
    }
    if (U_FAILURE(status) || length > int32_t(text.size()))
        return locale.toString(whole) + locale.percent();
    return QString(reinterpret_cast<const QChar *>(text.data()), length);
}

qreal VolumeCard::percentTextWidth(const QString &text)
{
    return tabularWidth(QFontMetricsF(Fonts::rounded(percentFontSize)), text);
}

VolumeCard::~VolumeCard()
{
    delete m_shadow;
}

void VolumeCard::place()
{
    QWidget *host = parentWidget();
    if (!m_anchor || !host)
        return;
    const QPoint topRight = m_anchor->mapTo(host, QPoint(m_anchor->width(), 0));
    move(topRight.x() - cardWidth, topRight.y() + dropDown);
}

void VolumeCard::syncFromAudio()
{
    const double volume = std::clamp(std::isnan(m_audio.volume()) ? 0.0 : m_audio.volume(), 0.0, 1.0);
    {
        const QSignalBlocker block(m_slider);
        m_slider->setValue(int(std::lround(volume * sliderSteps)));
    }
    update();
}

void VolumeCard::applySliderStyle(bool dark)
{
    if (m_styledDark == int(dark))
        return;
    m_styledDark = int(dark);
    m_slider->setStyleSheet(sliderStyle(dark));
}

void VolumeCard::paintEvent(QPaintEvent *)
{
    const bool dark = isDarkAppearance(m_anchor ? m_anchor.data() : this);
    applySliderStyle(dark);

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF card(rect());
    QPainterPath shape;
    shape.addRoundedRect(card, cornerRadius, cornerRadius);
    painter.fillPath(shape, Palette::cream().resolve(dark));
    painter.setPen(QPen(QColor(0, 0, 0, 20), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(card.adjusted(0.5, 0.5, -0.5, -0.5), cornerRadius - 0.5, cornerRadius - 0.5);

    // The label takes the header's foreground, like the button.
    painter.setPen(Palette::headerTint().resolve(dark));
    painter.setFont(Fonts::rounded(percentFontSize));
    const QRectF label(card.right() - inset - labelWidth, card.top() + inset, labelWidth, m_rowHeight);
    drawTabular(painter, label, percentText(m_audio.volume()));
}

void VolumeCard::enterEvent(QEnterEvent *event)
{
    m_hover.hover(true);
    QWidget::enterEvent(event);
}

void VolumeCard::leaveEvent(QEvent *event)
{
    m_hover.hover(false);
    QWidget::leaveEvent(event);
}

void VolumeCard::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        // The keyboard focus goes back to the sound control before the slider it is on goes
        // away (else it would move on to the next control), and the card stays closed.
        if (m_slider->hasFocus() && m_anchor)
            m_anchor->setFocus(Qt::BacktabFocusReason);
        m_hover.escape();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace zorvik
