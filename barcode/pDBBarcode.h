#pragma once

#include "barcode/pBarCode.h"

namespace vx {
class DataSource;
class Field;
}  // namespace vx

namespace zebrune {

class TFieldLink;

// A TBarCode that shows a field of the current record (its edit text) and, unless read-only,
// writes a barcode set on it back into the field.
class ZEBRUNE_EXPORT TDBBarcode : public TBarCode {
    Q_OBJECT

public:
    explicit TDBBarcode(QWidget *parent = nullptr);

    vx::DataSource *DataSource() const;
    void SetDataSource(vx::DataSource *source);
    QString DataField() const;
    void SetDataField(const QString &name);
    bool ReadOnly() const;
    void SetReadOnly(bool value);
    // The bound field while its dataset is open, else nullptr.
    vx::Field *Field() const;

    // Used only when a field is bound and nothing is read-only; otherwise nothing changes. The
    // text is checked (and corrected through OnInvalidChar) first, and only the accepted text
    // goes into the field, putting a browsing dataset into edit state.
    void SetBarcode(const QString &value) override;

private:
    void DataChange();
    void UpdateData();
    void WriteBack();

    TFieldLink *link_;
    // A barcode set on the control that the field does not hold yet.
    bool modified_ = false;
};

}  // namespace zebrune
