#include "barcode/FieldLink.h"

namespace zebrune {

TFieldLink::TFieldLink(QObject *parent) : QObject(parent) {}

void TFieldLink::setDataSource(vx::DataSource *source)
{
    if (source_ == source)
        return;
    if (source_)
        disconnect(source_, nullptr, this, nullptr);
    source_ = source;
    if (source_) {
        connect(source_, &vx::DataSource::activeChanged, this, &TFieldLink::dataChange);
        connect(source_, &vx::DataSource::dataSetChanged, this, &TFieldLink::dataChange);
        connect(source_, &vx::DataSource::dataSetScrolled, this, &TFieldLink::dataChange);
        connect(source_, &vx::DataSource::recordChanged, this, &TFieldLink::onRecordChanged);
        connect(source_, &vx::DataSource::updateData, this, &TFieldLink::updateData);
        connect(source_, &QObject::destroyed, this, &TFieldLink::onSourceDestroyed);
    }
    emit dataChange();
}

void TFieldLink::setFieldName(const QString &name)
{
    if (fieldName_ == name)
        return;
    fieldName_ = name;
    emit dataChange();
}

vx::Field *TFieldLink::field() const
{
    if (!source_ || fieldName_.isEmpty())
        return nullptr;
    const vx::Dataset *dataset = source_->dataSet();
    if (dataset == nullptr || !dataset->active())
        return nullptr;
    return dataset->findField(fieldName_);
}

bool TFieldLink::canModify() const
{
    const vx::Field *f = field();
    return f != nullptr && !readOnly_ && !f->readOnly() && !f->dataset()->isReadOnly();
}

void TFieldLink::setFieldText(const QString &text)
{
    vx::Field *f = field();
    if (f == nullptr)
        return;
    if (f->dataset()->state() == vx::Dataset::State::Browse)
        f->dataset()->edit();
    f->setAsString(text);
}

void TFieldLink::onRecordChanged(vx::Field *changed)
{
    if (changed == nullptr || changed->fieldName().compare(fieldName_, Qt::CaseInsensitive) == 0)
        emit dataChange();
}

void TFieldLink::onSourceDestroyed()
{
    source_ = nullptr;
    emit dataChange();
}

}  // namespace zebrune
