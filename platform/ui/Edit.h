#pragma once

#include "platform/VxPlatformExport.h"

#include <QLineEdit>
#include <QValidator>

namespace vx::ui {

// Turns whatever reaches a line edit, typed, pasted or set, into upper case.
class VXPLATFORM_EXPORT UpperCaseValidator : public QValidator {
    Q_OBJECT
public:
    explicit UpperCaseValidator(QObject *parent = nullptr) : QValidator(parent) {}
    State validate(QString &input, int &position) const override;
};

// Makes any line edit (a combo box's too) upper case, or lets it keep what is typed again.
VXPLATFORM_EXPORT void setUpperCase(QLineEdit *edit, bool upper);
VXPLATFORM_EXPORT bool isUpperCase(const QLineEdit *edit);

// A text box with the shop's usual limits: optionally upper case, and at most a number of
// characters (QLineEdit::setMaxLength).
class VXPLATFORM_EXPORT Edit : public QLineEdit {
    Q_OBJECT
public:
    explicit Edit(QWidget *parent = nullptr) : QLineEdit(parent) {}
    Edit(int maxLength, bool upper, QWidget *parent = nullptr);

    void setUpperCase(bool upper) { vx::ui::setUpperCase(this, upper); }
    bool upperCase() const { return isUpperCase(this); }
};

}  // namespace vx::ui
