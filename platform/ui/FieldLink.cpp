#include "platform/ui/FieldLink.h"

#include "platform/db/DataSource.h"
#include "platform/db/Dataset.h"
#include "platform/ui/Dialogs.h"

namespace vx::ui {

FieldLink::FieldLink(QObject *parent) : QObject(parent) {}

void FieldLink::setDataSource(DataSource *source)
{
    if (m_source == source)
        return;
    for (const QMetaObject::Connection &c : std::as_const(m_connections))
        disconnect(c);
    m_connections.clear();
    m_source = source;
    if (m_source) {
        m_connections << connect(m_source, &DataSource::dataSetChanged, this, &FieldLink::dataChanged)
                      << connect(m_source, &DataSource::dataSetScrolled, this, &FieldLink::dataChanged)
                      << connect(m_source, &DataSource::activeChanged, this, &FieldLink::dataChanged)
                      << connect(m_source, &DataSource::stateChanged, this, &FieldLink::dataChanged)
                      << connect(m_source, &DataSource::recordChanged, this, &FieldLink::fieldChanged)
                      << connect(m_source, &DataSource::updateData, this, &FieldLink::updateData)
                      << connect(m_source, &QObject::destroyed, this, &FieldLink::dataChanged);
    }
    emit dataChanged();
}

void FieldLink::setFieldName(const QString &name)
{
    m_fieldName = name;
    emit dataChanged();
}

Dataset *FieldLink::dataset() const
{
    return m_source ? m_source->dataSet() : nullptr;
}

Field *FieldLink::field() const
{
    const Dataset *ds = dataset();
    if (!ds || !ds->active() || m_fieldName.isEmpty())
        return nullptr;
    return ds->findField(m_fieldName);
}

bool FieldLink::editing() const
{
    const Dataset *ds = dataset();
    return ds && (ds->state() == Dataset::State::Edit || ds->state() == Dataset::State::Insert);
}

bool FieldLink::canModify() const
{
    const Dataset *ds = dataset();
    const Field *f = field();
    return f && !f->readOnly() && !ds->isReadOnly();
}

bool FieldLink::edit(QWidget *control)
{
    if (!canModify())
        return false;
    if (editing())
        return true;
    try {
        dataset()->edit();
    } catch (const std::exception &failure) {
        dialogs().showException(control, failure);
        return false;
    }
    return editing();
}

void FieldLink::fieldChanged(Field *changed)
{
    if (!changed || changed == field())
        emit dataChanged();
}

}  // namespace vx::ui
