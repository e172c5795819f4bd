#pragma once

#include <QFocusEvent>

namespace catalogue {

// A box is left when the operator moves on: not when the window loses the focus to another
// window or to a popup, after which the operator comes back to the same box.
inline bool leftByOperator(const QFocusEvent *event)
{
    return event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason;
}

}  // namespace catalogue
