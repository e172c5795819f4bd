#pragma once

#include "platform/db/DataSource.h"
#include "platform/db/Dataset.h"  // DataSource.h reads its dataset through an inline QPointer

#include <QObject>
#include <QPointer>
#include <QString>

namespace zebrune {

// Binds a control to one field of a data source's dataset. The field is looked up by name each
// time it is needed, so reopening the dataset (which makes new field objects) never leaves the
// link holding a stale one.
class TFieldLink : public QObject {
    Q_OBJECT

public:
    explicit TFieldLink(QObject *parent = nullptr);

    vx::DataSource *dataSource() const { return source_; }
    void setDataSource(vx::DataSource *source);
    QString fieldName() const { return fieldName_; }
    void setFieldName(const QString &name);
    bool readOnly() const { return readOnly_; }
    void setReadOnly(bool readOnly) { readOnly_ = readOnly; }

    // The bound field while the dataset is open, else nullptr.
    vx::Field *field() const;
    // A field is bound and neither it, its dataset nor this link is read-only.
    bool canModify() const;
    // Puts a browsing dataset into edit state (as typing into a bound control does) and sets the
    // field's text.
    void setFieldText(const QString &text);

signals:
    // The field's value may have changed: another record, a new value, opened or closed.
    void dataChange();
    // The record is about to be posted: the control writes its value back.
    void updateData();

private:
    void onRecordChanged(vx::Field *changed);
    void onSourceDestroyed();

    QPointer<vx::DataSource> source_;
    QString fieldName_;
    bool readOnly_ = false;
};

}  // namespace zebrune
