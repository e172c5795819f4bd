#pragma once

#include "platform/VxPlatformExport.h"

#include <QLineEdit>
#include <QValidator>

namespace vx::ui {

// What a box lets the operator type: optionally upper case (typed, pasted or set, whatever reaches
// it), and at most a number of characters typed or pasted. The length limits the operator only:
// text the program puts into the box is kept whole, since cutting it (a price of 23174,40 in a
// box for six characters) would change the value shown and then saved. Backspace and Delete still
// work in such a text; only what would make it longer is refused.
class VXPLATFORM_EXPORT BoxValidator : public QValidator {
    Q_OBJECT
public:
    explicit BoxValidator(QLineEdit *box);

    bool upperCase() const { return m_upper; }
    void setUpperCase(bool upper) { m_upper = upper; }
    int typedLength() const { return m_typedLength; }
    void setTypedLength(int length) { m_typedLength = length; }

    State validate(QString &input, int &position) const override;

private:
    QLineEdit *m_box;
    bool m_upper = false;
    int m_typedLength = 0;
    // The text as it stood after the last change, to tell a longer text from a shorter one.
    mutable QString m_last;
};

// Makes any line edit (a combo box's too) upper case, or lets it keep what is typed again.
VXPLATFORM_EXPORT void setUpperCase(QLineEdit *edit, bool upper);
VXPLATFORM_EXPORT bool isUpperCase(const QLineEdit *edit);
// The characters the operator may type or paste into any line edit; 0 for no limit. Use it
// instead of QLineEdit::setMaxLength, which also cuts the text the program sets.
VXPLATFORM_EXPORT void setTypedLength(QLineEdit *edit, int length);
VXPLATFORM_EXPORT int typedLength(const QLineEdit *edit);

// A text box with the shop's usual limits: optionally upper case, and at most a number of
// characters typed.
class VXPLATFORM_EXPORT Edit : public QLineEdit {
    Q_OBJECT
public:
    explicit Edit(QWidget *parent = nullptr) : QLineEdit(parent) {}
    Edit(int maxLength, bool upper, QWidget *parent = nullptr);

    void setUpperCase(bool upper) { vx::ui::setUpperCase(this, upper); }
    bool upperCase() const { return isUpperCase(this); }
    // The length typed, never what the program sets (these hide QLineEdit's own, which cuts both).
    void setMaxLength(int length) { setTypedLength(this, length); }
    int maxLength() const { return typedLength(this); }
};

}  // namespace vx::ui
