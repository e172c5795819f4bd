#pragma once

#include "platform/VxPlatformExport.h"

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariantList>

namespace vx {
class Dataset;
}

namespace vx::ui {

// Reads rows of a dataset by position without moving its cursor, and gives their display texts
// through the fields' own rules (display formats, masks, yes/no texts). A grid paints rows other
// than the current record; moving the cursor for each of them would post pending edits, drag
// master-detail links along and tell every bound control that the record moved.
class VXPLATFORM_EXPORT RowReader {
public:
    // The dataset whose rows are read.
    void bind(Dataset *dataset);

    // The values of the row at a 0-based position, one per field. False when the position is out
    // of range or the row was deleted elsewhere (the dataset then drops it and counts one less).
    bool read(int position, QVariantList &values);

    // The display text of every field for a row's values, as Field::displayText gives it for the
    // current record.
    QStringList displayTexts(const QVariantList &values) const;
    // One field's text for typing (Field::editText).
    QString editText(int fieldIndex, const QVariantList &values) const;

private:
    QPointer<Dataset> m_dataset;
};

}  // namespace vx::ui
