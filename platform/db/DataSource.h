#pragma once

#include "platform/VxPlatformExport.h"

#include <QObject>
#include <QPointer>

namespace vx {

class Dataset;
class Field;

// The link between a dataset and the controls bound to it: controls listen here for scrolls, data
// changes and state changes, and answer updateData before a record is posted.
class VXPLATFORM_EXPORT DataSource : public QObject {
    Q_OBJECT
public:
    explicit DataSource(QObject *parent = nullptr);
    explicit DataSource(Dataset *dataset, QObject *parent = nullptr);
    ~DataSource() override;

    Dataset *dataSet() const;
    void setDataSet(Dataset *dataset);

signals:
    void activeChanged(bool active);
    // The whole content may differ: opened, re-read, sorted, filtered, a row added or deleted.
    void dataSetChanged();
    // The current record moved.
    void dataSetScrolled();
    // A field of the current record changed value (nullptr: the whole record).
    void recordChanged(vx::Field *field);
    // Browse, edit, insert or inactive.
    void stateChanged();
    // The record is about to be posted: controls write their pending text into their fields.
    void updateData();

private:
    QPointer<Dataset> m_dataset;
};

}  // namespace vx
