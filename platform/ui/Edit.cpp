#include "platform/ui/Edit.h"

namespace vx::ui {

QValidator::State UpperCaseValidator::validate(QString &input, int &) const
{
    input = input.toUpper();
    return Acceptable;
}

void setUpperCase(QLineEdit *edit, bool upper)
{
    const auto *current = qobject_cast<const UpperCaseValidator *>(edit->validator());
    if (upper == (current != nullptr))
        return;
    if (upper) {
        edit->setValidator(new UpperCaseValidator(edit));
        edit->setText(edit->text().toUpper());
    } else {
        const QValidator *old = edit->validator();
        edit->setValidator(nullptr);
        delete old;
    }
}

bool isUpperCase(const QLineEdit *edit)
{
    return qobject_cast<const UpperCaseValidator *>(edit->validator()) != nullptr;
}

Edit::Edit(int maxLength, bool upper, QWidget *parent) : QLineEdit(parent)
{
    setMaxLength(maxLength);
    setUpperCase(upper);
}

}  // namespace vx::ui
