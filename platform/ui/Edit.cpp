#include "platform/ui/Edit.h"

namespace vx::ui {

BoxValidator::BoxValidator(QLineEdit *box) : QValidator(box), m_box(box), m_last(box->text()) {}

QValidator::State BoxValidator::validate(QString &input, int &) const
{
    // Setting a text clears the box's undo history, and every change the operator makes adds to
    // it: so only a change with undo available is the operator's.
    const bool typed = m_box->isUndoAvailable();
    if (typed && m_typedLength > 0 && input.size() > m_typedLength && input.size() > m_last.size())
        return Invalid;  // the box takes back the key or the paste
    if (m_upper)
        input = input.toUpper();
    m_last = input;
    return Acceptable;
}

namespace {

BoxValidator *boxValidator(const QLineEdit *edit)
{
    return qobject_cast<BoxValidator *>(const_cast<QValidator *>(edit->validator()));
}

BoxValidator *ensureBoxValidator(QLineEdit *edit)
{
    if (BoxValidator *current = boxValidator(edit))
        return current;
    auto *validator = new BoxValidator(edit);
    edit->setValidator(validator);
    return validator;
}

}  // namespace

void setUpperCase(QLineEdit *edit, bool upper)
{
    if (isUpperCase(edit) == upper)
        return;
    ensureBoxValidator(edit)->setUpperCase(upper);
    if (upper)
        edit->setText(edit->text().toUpper());
}

bool isUpperCase(const QLineEdit *edit)
{
    const BoxValidator *validator = boxValidator(edit);
    return validator && validator->upperCase();
}

void setTypedLength(QLineEdit *edit, int length)
{
    if (typedLength(edit) == length)
        return;
    ensureBoxValidator(edit)->setTypedLength(length);
}

int typedLength(const QLineEdit *edit)
{
    const BoxValidator *validator = boxValidator(edit);
    return validator ? validator->typedLength() : 0;
}

Edit::Edit(int maxLength, bool upper, QWidget *parent) : QLineEdit(parent)
{
    setMaxLength(maxLength);
    setUpperCase(upper);
}

}  // namespace vx::ui
