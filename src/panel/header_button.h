#pragma once

#include "panel/plain_button.h"
#include "style/symbols.h"

namespace zorvik {

// A plain header control: one symbol in the header tint, no bezel, the whole frame clickable.
// Reachable with Tab, pressed with Space or Return, and ringed while it has keyboard focus.
// The keep-on-top control also shows a faint rounded background while it is on.
class HeaderButton : public PlainButton {
    Q_OBJECT

public:
    HeaderButton(Symbol symbol, QSize size, QWidget *parent = nullptr);

    // Opacity of the headerTint-filled rounded background (corner radius 9); 0 draws none.
    void setBackgroundOpacity(double opacity);

    void setSymbol(Symbol symbol);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Symbol m_symbol;
    QSize m_size;
    double m_backgroundOpacity = 0.0;
};

} // namespace zorvik
