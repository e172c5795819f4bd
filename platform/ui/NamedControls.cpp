#include "platform/ui/NamedControls.h"

#include <QGridLayout>
#include <QLabel>
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

QLabel *captionFor(const QString &text, QWidget *buddy)
{
    auto *label = new QLabel(text, buddy->parentWidget());
    label->setBuddy(buddy);
    return label;
}

void addCaptionedBoxes(QGridLayout *grid, int row, const QList<std::pair<QString, QWidget *>> &boxes)
{
    for (int i = 0; i < boxes.size(); ++i) {
        grid->addWidget(captionFor(boxes[i].first, boxes[i].second), row, i);
        grid->addWidget(boxes[i].second, row + 1, i);
    }
}

}  // namespace vx::ui
