#pragma once

#include "platform/VxPlatformExport.h"
// DataSource.h needs the complete Dataset for its inline accessor.
#include "platform/db/Dataset.h"
#include "platform/db/DataSource.h"

#include <QObject>
#include <QPointer>

namespace vx {
class Dataset;
class Field;
}  // namespace vx

namespace vx::ui {

// The link between one control and one field of a data source's dataset: tells the control when
// to show the field again and when to write what the operator typed, and puts the dataset into
// edit mode when the operator starts typing.
class VXPLATFORM_EXPORT FieldLink : public QObject {
    Q_OBJECT
public:
    explicit FieldLink(QObject *parent = nullptr);

    DataSource *dataSource() const { return m_source; }
    void setDataSource(DataSource *source);
    QString fieldName() const { return m_fieldName; }
    void setFieldName(const QString &name);

    Dataset *dataset() const;
    // The field in the open dataset, or nullptr.
    Field *field() const;
    // The dataset is in edit or insert state.
    bool editing() const;
    // The field can be written: it exists, and neither it nor its dataset is read-only.
    bool canModify() const;
    // Puts the dataset into edit mode for typing (a no-op while already editing). False, with the
    // failure shown, when it cannot be.
    bool edit(QWidget *control);

signals:
    // The field's value may differ from what the control shows.
    void dataChanged();
    // The record is about to be posted: the control writes its pending text now.
    void updateData();

private:
    void fieldChanged(vx::Field *changed);

    QPointer<DataSource> m_source;
    QList<QMetaObject::Connection> m_connections;
    QString m_fieldName;
};

}  // namespace vx::ui
