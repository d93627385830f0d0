#include "panel/volume_card.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QSignalBlocker>
#include <QSlider>

#include <algorithm>
#include <cmath>
#include <vector>

#include "panel/volume_card_hover.h"
#include "sound/rolling_audio.h"
#include "style/fonts.h"
#include "style/palette.h"

namespace zorvik {

namespace {

// Room around the card for its shadow (black 0.1, blur 5, 2 down).
constexpr QMargins shadowMargins(6, 4, 6, 9);
constexpr qreal cornerRadius = 12;
constexpr qreal shadowOpacity = 0.1;
constexpr qreal shadowBlur = 5;
constexpr qreal shadowOffsetY = 2;
constexpr qreal percentFontSize = 10;

// Blurs the alpha channel of a premultiplied image with a Gaussian kernel; a blur radius r
// reads as a standard deviation of r / 2.
void gaussianBlur(QImage &image, qreal sigma)
{
    const int radius = int(std::ceil(sigma * 3));
    std::vector<double> kernel(std::size_t(2 * radius + 1));
    double sum = 0;
    for (int i = -radius; i <= radius; ++i)
        sum += kernel[std::size_t(i + radius)] = std::exp(-(i * i) / (2 * sigma * sigma));
    for (double &k : kernel)
        k /= sum;

    const int w = image.width();
    const int h = image.height();
    std::vector<double> alpha(std::size_t(w) * std::size_t(h));
    for (int y = 0; y < h; ++y) {
        const QRgb *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < w; ++x)
            alpha[std::size_t(y * w + x)] = qAlpha(row[x]);
    }
    std::vector<double> pass(alpha.size());
    const auto convolve = [&](const std::vector<double> &from, std::vector<double> &to, bool across) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                double v = 0;
                for (int i = -radius; i <= radius; ++i) {
                    const int sx = across ? x + i : x;
                    const int sy = across ? y : y + i;
                    if (sx >= 0 && sx < w && sy >= 0 && sy < h)
                        v += kernel[std::size_t(i + radius)] * from[std::size_t(sy * w + sx)];
                }
                to[std::size_t(y * w + x)] = v;
            }
    };
    convolve(alpha, pass, true);
    convolve(pass, alpha, false);
    for (int y = 0; y < h; ++y) {
        QRgb *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int a = std::clamp(int(std::lround(alpha[std::size_t(y * w + x)])), 0, 255);
            row[x] = qRgba(0, 0, 0, a);
        }
    }
}

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

// Draws text with every digit in a cell as wide as the widest digit, so the label keeps its
// width while the number changes. The whole string is centred horizontally in rect and
// vertically on its middle.
void drawTabular(QPainter &painter, const QRectF &rect, const QString &text)
{
    const QFontMetricsF metrics(painter.font());
    qreal cell = 0;
    for (char16_t d = u'0'; d <= u'9'; ++d)
        cell = std::max(cell, metrics.horizontalAdvance(QChar(d)));
    const auto width = [&](QChar c) { return c.isDigit() ? cell : metrics.horizontalAdvance(c); };
    qreal total = 0;
    for (QChar c : text)
        total += width(c);
    qreal x = rect.center().x() - total / 2;
    const qreal baseline = rect.center().y() + (metrics.ascent() - metrics.descent()) / 2;
    for (QChar c : text) {
        const qreal advance = metrics.horizontalAdvance(c);
        painter.drawText(QPointF(x + (width(c) - advance) / 2, baseline), QString(c));
        x += width(c);
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
    const int cardHeight = m_rowHeight + 2 * inset;
    setFixedSize(cardWidth + shadowMargins.left() + shadowMargins.right(),
                 cardHeight + shadowMargins.top() + shadowMargins.bottom());
    const int sliderWidth = cardWidth - 2 * inset - spacing - labelWidth;
    const int sliderHeight = m_slider->sizeHint().height();
    m_slider->setGeometry(shadowMargins.left() + inset,
                          shadowMargins.top() + inset + (m_rowHeight - sliderHeight) / 2, sliderWidth,
                          sliderHeight);

    connect(m_slider, &QSlider::valueChanged, this,
            [this](int value) { m_audio.setVolume(double(value) / sliderSteps); });
    connect(&m_audio, &RollingAudio::changed, this, &VolumeCard::syncFromAudio);
    syncFromAudio();
}

double VolumeCard::percent(double volume)
{
    const double percent = std::trunc(volume * 100);
    return std::isfinite(percent) ? percent : 0.0;
}

QString VolumeCard::percentText(double volume)
{
    return QString::asprintf("%lld%%", static_cast<long long>(percent(volume)));
}

QRect VolumeCard::cardRect() const
{
    return rect().marginsRemoved(shadowMargins);
}

void VolumeCard::place()
{
    QWidget *host = parentWidget();
    if (!m_anchor || !host)
        return;
    const QPoint topTrailing = m_anchor->mapTo(host, QPoint(m_anchor->width(), 0));
    move(topTrailing.x() - cardWidth - shadowMargins.left(), topTrailing.y() + dropDown - shadowMargins.top());
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

const QImage &VolumeCard::shadow(qreal ratio)
{
    const QSize pixels = (QSizeF(size()) * ratio).toSize();
    if (m_shadow.size() == pixels && qFuzzyCompare(m_shadow.devicePixelRatio(), ratio))
        return m_shadow;
    m_shadow = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
    m_shadow.setDevicePixelRatio(ratio);
    m_shadow.fill(Qt::transparent);
    {
        QPainter p(&m_shadow);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawRoundedRect(QRectF(cardRect()).translated(0, shadowOffsetY), cornerRadius, cornerRadius);
    }
    gaussianBlur(m_shadow, shadowBlur / 2 * ratio);
    return m_shadow;
}

void VolumeCard::paintEvent(QPaintEvent *)
{
    const bool dark = isDarkAppearance(m_anchor ? m_anchor.data() : this);
    applySliderStyle(dark);

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(shadowOpacity);
    painter.drawImage(QPointF(0, 0), shadow(devicePixelRatioF()));
    painter.setOpacity(1);

    const QRectF card(cardRect());
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
