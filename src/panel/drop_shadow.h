#pragma once

#include "style/soft_shadow.h"

#include <QPointer>
#include <QWidget>

namespace zorvik {

// The soft shadow of a widget that floats over the panel (the volume card): a sibling drawn
// just beneath it that follows it around and takes no input, so that the widget's own region
// is exactly what it shows and a click beside it reaches whatever lies there.
class DropShadow : public QWidget {
    Q_OBJECT

public:
    DropShadow(QWidget *target, const SoftShadow &shadow);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void follow();

    QPointer<QWidget> m_target;
    SoftShadow m_shadow;
};

} // namespace zorvik
