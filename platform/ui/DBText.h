#pragma once

#include "platform/VxPlatformExport.h"
#include "platform/ui/FieldLink.h"

#include <QLabel>

namespace vx::ui {

// A label showing a field's display text for the current record.
class VXPLATFORM_EXPORT DBText : public QLabel {
    Q_OBJECT
public:
    explicit DBText(QWidget *parent = nullptr);

    DataSource *dataSource() const { return m_link.dataSource(); }
    void setDataSource(DataSource *source) { m_link.setDataSource(source); }
    QString dataField() const { return m_link.fieldName(); }
    void setDataField(const QString &fieldName) { m_link.setFieldName(fieldName); }
    Field *field() const { return m_link.field(); }

private:
    void reload();

    FieldLink m_link;
};

}  // namespace vx::ui
