#include "panel/move_handle.h"

namespace zorvik {

// Placeholder until the move handle lands.
MoveHandle::MoveHandle(QWidget *parent) : QWidget(parent)
{
    setFixedSize(60, 32);
}

} // namespace zorvik
