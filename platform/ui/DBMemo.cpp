#include "platform/ui/DBMemo.h"

#include "platform/db/Field.h"
#include "platform/ui/Dialogs.h"

namespace vx::ui {

DBMemo::DBMemo(QWidget *parent) : QPlainTextEdit(parent)
{
    connect(&m_link, &FieldLink::dataChanged, this, &DBMemo::reload);
    connect(&m_link, &FieldLink::updateData, this, &DBMemo::updateRecord);
    connect(this, &QPlainTextEdit::textChanged, this, &DBMemo::typed);
    reload();
}

void DBMemo::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    reload();
}

void DBMemo::reload()
{
    QPlainTextEdit::setReadOnly(m_readOnly || !m_link.canModify());
    if (m_loading || (m_modified && m_link.editing()))
        return;
    const Field *f = m_link.field();
    m_modified = false;
    m_loading = true;
    setPlainText(f ? f->asString() : QString());
    m_loading = false;
}

void DBMemo::typed()
{
    if (m_loading)
        return;
    if (!m_link.editing()) {
        // Entering edit mode re-reads the record; what was typed stays in the box.
        m_loading = true;
        const bool editing = m_link.edit(this);
        m_loading = false;
        if (!editing) {
            reload();
            return;
        }
    }
    m_modified = true;
}

void DBMemo::updateRecord()
{
    Field *f = m_link.field();
    if (!m_modified || !f || !m_link.editing())
        return;
    f->setAsString(toPlainText());
    m_modified = false;
}

void DBMemo::focusOutEvent(QFocusEvent *event)
{
    try {
        updateRecord();
    } catch (const std::exception &failure) {
        dialogs().showException(this, failure);
    }
    QPlainTextEdit::focusOutEvent(event);
}

}  // namespace vx::ui
