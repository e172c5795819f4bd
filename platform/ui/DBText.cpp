#include "platform/ui/DBText.h"

#include "platform/db/Field.h"

namespace vx::ui {

DBText::DBText(QWidget *parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    connect(&m_link, &FieldLink::dataChanged, this, &DBText::reload);
}

void DBText::reload()
{
    const Field *f = m_link.field();
    setText(f ? f->displayText() : QString());
}

}  // namespace vx::ui
