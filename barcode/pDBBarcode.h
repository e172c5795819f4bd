#pragma once

#include "barcode/pBarCode.h"

namespace vx {
class DataSource;
class Field;
namespace ui {
class FieldLink;
} // namespace ui
} // namespace vx

namespace zebrune {

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
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value) { readOnly_ = value; }
    // The bound field while its dataset is open, else nullptr.
    vx::Field *Field() const;

    // Used only when a field is bound and nothing is read-only; otherwise nothing changes. The
    // text is checked (and corrected through OnInvalidChar) first, and only the accepted text
    // goes into the field, putting a browsing dataset into edit state.
    void SetBarcode(const QString &value) override;

private:
    bool CanModify() const;
    void DataChange();
    void UpdateData();
    void WriteBack();

    vx::ui::FieldLink *link_;
    bool readOnly_ = false;
    // A barcode set on the control that the field does not hold yet.
    bool modified_ = false;
    // The record is being put into edit state for a write: its old value is not shown again.
    bool writing_ = false;
};

} // namespace zebrune
