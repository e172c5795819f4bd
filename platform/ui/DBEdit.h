#pragma once

#include "platform/VxPlatformExport.h"
#include "platform/ui/Edit.h"
#include "platform/ui/FieldLink.h"
#include "platform/ui/TypedText.h"

#include <QLineEdit>

namespace vx::ui {

// A text box bound to a field. It shows the field's display text, and its edit text while it has
// the focus; typing puts the dataset into edit mode, and the typed text is written into the field
// when the box is left and when the record is posted. A text the field refuses (not a number, not
// a date) is shown as an error when leaving, and makes the post fail.
class VXPLATFORM_EXPORT DBEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit DBEdit(QWidget *parent = nullptr);

    DataSource *dataSource() const { return m_link.dataSource(); }
    void setDataSource(DataSource *source) { m_link.setDataSource(source); }
    QString dataField() const { return m_link.fieldName(); }
    void setDataField(const QString &fieldName) { m_link.setFieldName(fieldName); }
    Field *field() const { return m_link.field(); }

    void setUpperCase(bool upper);
    bool upperCase() const;
    // Read-only by choice; the box is read-only anyway while its field cannot be written.
    void setReadOnly(bool readOnly);
    bool isReadOnly() const { return m_readOnly; }
    // Characters the operator may type; 0 takes the text field's size. What the field holds is
    // shown whole (these hide QLineEdit's own limit, which would cut it).
    void setMaxLength(int length);
    int maxLength() const { return typedLength(this); }

    // Writes the pending text into the field. Throws when the field refuses it.
    void updateRecord();
    // The text differs from the field's value and was not written yet.
    bool isModified() const { return m_text.modified(); }

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void reload();
    void typed();

    FieldLink m_link;
    bool m_readOnly = false;
    int m_maxLength = 0;
    TypedText m_text;
};

}  // namespace vx::ui
