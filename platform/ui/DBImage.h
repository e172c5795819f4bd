#pragma once

#include "platform/VxPlatformExport.h"
#include "platform/ui/FieldLink.h"
#include "platform/ui/ImageView.h"

namespace vx::ui {

// The picture of the current record: its field names a picture file (a stored path, see
// loadPicture) or holds the picture's bytes. A record without a readable picture shows the
// placeholder, when one is set, or nothing.
class VXPLATFORM_EXPORT DBImage : public ImageView {
    Q_OBJECT
public:
    explicit DBImage(QWidget *parent = nullptr);

    DataSource *dataSource() const { return m_link.dataSource(); }
    void setDataSource(DataSource *source) { m_link.setDataSource(source); }
    QString dataField() const { return m_link.fieldName(); }
    void setDataField(const QString &fieldName) { m_link.setFieldName(fieldName); }
    Field *field() const { return m_link.field(); }

    QString placeholder() const { return m_placeholder; }
    void setPlaceholder(const QString &storedPath);

private:
    void reload();

    FieldLink m_link;
    QString m_placeholder;
};

}  // namespace vx::ui
