#pragma once

#include <QWidget>

namespace zorvik {

// The grip's active area: a press starts the window system's own move; open-hand cursor.
class MoveHandle : public QWidget {
    Q_OBJECT

public:
    explicit MoveHandle(QWidget *parent = nullptr);

protected:
    void mousePressEvent(QMouseEvent *event) override;
};

} // namespace zorvik
