#include "barcode/pDBBarcode.h"

#include "barcode/FieldLink.h"

#include "platform/db/Field.h"

namespace zebrune {

TDBBarcode::TDBBarcode(QWidget *parent) : TBarCode(parent), link_(new TFieldLink(this))
{
    connect(link_, &TFieldLink::dataChange, this, &TDBBarcode::DataChange);
    connect(link_, &TFieldLink::updateData, this, &TDBBarcode::UpdateData);
}

vx::DataSource *TDBBarcode::DataSource() const
{
    return link_->dataSource();
}

void TDBBarcode::SetDataSource(vx::DataSource *source)
{
    link_->setDataSource(source);
}

QString TDBBarcode::DataField() const
{
    return link_->fieldName();
}

void TDBBarcode::SetDataField(const QString &name)
{
    link_->setFieldName(name);
}

bool TDBBarcode::ReadOnly() const
{
    return link_->readOnly();
}

void TDBBarcode::SetReadOnly(bool value)
{
    link_->setReadOnly(value);
}

vx::Field *TDBBarcode::Field() const
{
    return link_->field();
}

void TDBBarcode::SetBarcode(const QString &value)
{
    if (!link_->canModify())
        return;
    TBarCode::SetBarcode(value);
    modified_ = true;
    WriteBack();
}

void TDBBarcode::WriteBack()
{
    if (link_->field()->editText() != BarCode())
        link_->setFieldText(BarCode());
    modified_ = false;
}

// A record's text is shown as it is; one the symbology refuses leaves the panel without bars
// rather than showing the previous record's barcode.
void TDBBarcode::DataChange()
{
    modified_ = false;
    const vx::Field *field = link_->field();
    const QString text = field ? field->editText() : QString();
    try {
        TBarCode::SetBarcode(text);
    } catch (const BarcodeError &) {
        ShowUnchecked(text);
    }
}

// Only a barcode set on the control goes back: the record's own value, changed while the control
// was not listening, is never overwritten with what the control last showed.
void TDBBarcode::UpdateData()
{
    if (modified_ && link_->canModify())
        WriteBack();
}

}  // namespace zebrune
