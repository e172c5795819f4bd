#include "platform/db/DataSource.h"

#include "platform/db/Dataset.h"

namespace vx {

DataSource::DataSource(QObject *parent) : QObject(parent) {}

DataSource::DataSource(Dataset *dataset, QObject *parent) : QObject(parent)
{
    setDataSet(dataset);
}

DataSource::~DataSource()
{
    if (m_dataset)
        m_dataset->detachDataSource(this);
}

Dataset *DataSource::dataSet() const
{
    return m_dataset;
}

void DataSource::setDataSet(Dataset *dataset)
{
    if (m_dataset == dataset)
        return;
    if (m_dataset)
        m_dataset->detachDataSource(this);
    m_dataset = dataset;
    if (m_dataset)
        m_dataset->attachDataSource(this);
    emit dataSetChanged();
    emit activeChanged(m_dataset && m_dataset->active());
}

}  // namespace vx
