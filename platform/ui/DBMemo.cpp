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
    if (m_text.keepsText(m_link))
        return;
    const Field *f = m_link.field();
    m_text.load([&] { setPlainText(f ? f->asString() : QString()); });
}

void DBMemo::typed()
{
    if (!m_text.typed(m_link, this))
        reload();
}

void DBMemo::updateRecord()
{
    Field *f = m_link.field();
    if (!m_text.modified() || !f || !m_link.editing())
        return;
    f->setAsString(toPlainText());
    m_text.written();
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
