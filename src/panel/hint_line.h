#pragma once

#include <QLabel>

namespace zorvik {

// The fixed hint under the bet buttons: one line in a small rounded face, cut off at the end
// should it ever not fit. 8 free above it, 12 below, 14 on either side.
class HintLine : public QLabel {
    Q_OBJECT

public:
    explicit HintLine(QWidget *parent = nullptr);

    // The text as drawn: cut off at the end where it is wider than the line.
    QString shownText() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace zorvik
