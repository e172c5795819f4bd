#pragma once

#include "platform/VxPlatformExport.h"

class QLineEdit;
class QPushButton;
class QString;
class QWidget;

// Controls built in code carry the object names tests and key filters find them by.
namespace vx::ui {

// A box that shows a figure the operator cannot change.
VXPLATFORM_EXPORT QLineEdit *readOnlyBox(QWidget *parent, const char *name);
// The same for an amount or a quantity, aligned right as figures are.
VXPLATFORM_EXPORT QLineEdit *readOnlyFigureBox(QWidget *parent, const char *name);
// A button that Enter in a box does not press by accident.
VXPLATFORM_EXPORT QPushButton *namedButton(QWidget *parent, const char *name, const QString &caption);

}  // namespace vx::ui
