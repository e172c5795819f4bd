#include "platform/ui/NamedControls.h"

#include <QLineEdit>
#include <QPushButton>

namespace vx::ui {

QLineEdit *readOnlyBox(QWidget *parent, const char *name)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setReadOnly(true);
    return box;
}

QLineEdit *readOnlyFigureBox(QWidget *parent, const char *name)
{
    QLineEdit *box = readOnlyBox(parent, name);
    box->setAlignment(Qt::AlignRight);
    return box;
}

QPushButton *namedButton(QWidget *parent, const char *name, const QString &caption)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

}  // namespace vx::ui
