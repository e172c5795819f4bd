#pragma once

#include "platform/VxPlatformExport.h"
#include "platform/ui/FieldLink.h"
#include "platform/ui/TypedText.h"

#include <QPlainTextEdit>

namespace vx::ui {

// A box of several lines bound to a text or memo field; typing puts the dataset into edit mode and
// the text is written into the field when the box is left and when the record is posted.
class VXPLATFORM_EXPORT DBMemo : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit DBMemo(QWidget *parent = nullptr);

    DataSource *dataSource() const { return m_link.dataSource(); }
    void setDataSource(DataSource *source) { m_link.setDataSource(source); }
    QString dataField() const { return m_link.fieldName(); }
    void setDataField(const QString &fieldName) { m_link.setFieldName(fieldName); }
    Field *field() const { return m_link.field(); }

    void setReadOnly(bool readOnly);
    bool isReadOnly() const { return m_readOnly; }

    // Writes the pending text into the field. Throws when the field refuses it.
    void updateRecord();
    bool isModified() const { return m_text.modified(); }

protected:
    void focusOutEvent(QFocusEvent *event) override;

private:
    void reload();
    void typed();

    FieldLink m_link;
    bool m_readOnly = false;
    TypedText m_text;
};

}  // namespace vx::ui
