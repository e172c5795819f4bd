#include "barcode/pDBBarcode.h"

#include "platform/db/Field.h"
#include "platform/ui/FieldLink.h"

#include <QScopedValueRollback>

namespace zebrune {

TDBBarcode::TDBBarcode(QWidget *parent) : TBarCode(parent), link_(new vx::ui::FieldLink(this))
{
    connect(link_, &vx::ui::FieldLink::dataChanged, this, &TDBBarcode::DataChange);
    connect(link_, &vx::ui::FieldLink::updateData, this, &TDBBarcode::UpdateData);
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

vx::Field *TDBBarcode::Field() const
{
    return link_->field();
}

bool TDBBarcode::CanModify() const
{
    return !readOnly_ && link_->canModify();
}

void TDBBarcode::SetBarcode(const QString &value)
{
    if (!CanModify())
        return;
    TBarCode::SetBarcode(value);
    modified_ = true;
    WriteBack();
}

void TDBBarcode::WriteBack()
{
    const QString text = BarCode();
    if (link_->field()->editText() != text) {
        {
            const QScopedValueRollback<bool> writing(writing_, true);
            if (!link_->edit(this))
                return;
        }
        link_->field()->setAsString(text);
    }
    modified_ = false;
}

// A record's text is shown as it is; one the symbology refuses leaves the panel without bars
// rather than showing the previous record's barcode.
void TDBBarcode::DataChange()
{
    if (writing_)
        return;
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
    if (modified_ && CanModify())
        WriteBack();
}

} // namespace zebrune
