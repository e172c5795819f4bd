#pragma once

#include "platform/VxPlatformExport.h"

#include <QList>
#include <QString>

#include <utility>

class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// Controls built in code carry the object names tests and key filters find them by.
namespace vx::ui {

// A box that shows a figure the operator cannot change.
VXPLATFORM_EXPORT QLineEdit *readOnlyBox(QWidget *parent, const char *name);
// The same for an amount or a quantity, aligned right as figures are.
VXPLATFORM_EXPORT QLineEdit *readOnlyFigureBox(QWidget *parent, const char *name);
// A button that Enter in a box does not press by accident.
VXPLATFORM_EXPORT QPushButton *namedButton(QWidget *parent, const char *name, const QString &caption);
// A box's caption, in the box's window; Alt and the caption's underlined letter go to the box.
VXPLATFORM_EXPORT QLabel *captionFor(const QString &text, QWidget *buddy);
// Boxes side by side, each under its caption: the captions in `row`, the boxes in the row below.
VXPLATFORM_EXPORT void addCaptionedBoxes(QGridLayout *grid, int row, const QList<std::pair<QString, QWidget *>> &boxes);

}  // namespace vx::ui
