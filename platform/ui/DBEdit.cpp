#include "platform/ui/DBEdit.h"

#include "platform/db/Field.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Edit.h"

#include <QFocusEvent>

namespace vx::ui {

DBEdit::DBEdit(QWidget *parent) : QLineEdit(parent)
{
    connect(&m_link, &FieldLink::dataChanged, this, &DBEdit::reload);
    connect(&m_link, &FieldLink::updateData, this, &DBEdit::updateRecord);
    connect(this, &QLineEdit::textEdited, this, &DBEdit::typed);
    reload();
}

void DBEdit::setUpperCase(bool upper)
{
    vx::ui::setUpperCase(this, upper);
}

bool DBEdit::upperCase() const
{
    return isUpperCase(this);
}

void DBEdit::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    reload();
}

void DBEdit::setMaxLength(int length)
{
    m_maxLength = length;
    reload();
}

// Shows the field again, unless the operator is in the middle of typing into it.
void DBEdit::reload()
{
    const Field *f = m_link.field();
    QLineEdit::setReadOnly(m_readOnly || !m_link.canModify());
    const int fieldSize = f && f->dataType() == FieldType::String ? f->size() : 0;
    setTypedLength(this, m_maxLength > 0 ? m_maxLength : fieldSize);
    if (m_text.keepsText(m_link))
        return;
    m_text.load([&] { setText(!f ? QString() : hasFocus() ? f->editText() : f->displayText()); });
}

void DBEdit::typed()
{
    if (!m_text.typed(m_link, this))
        reload();
}

void DBEdit::updateRecord()
{
    if (!m_text.modified())
        return;
    Field *f = m_link.field();
    if (!f || !m_link.editing())
        return;
    f->setAsString(text());
    m_text.written();
    reload();
}

void DBEdit::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    reload();
}

void DBEdit::focusOutEvent(QFocusEvent *event)
{
    try {
        updateRecord();
    } catch (const std::exception &failure) {
        dialogs().showException(this, failure);
    }
    QLineEdit::focusOutEvent(event);
    reload();
}

}  // namespace vx::ui
