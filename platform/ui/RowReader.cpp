#include "platform/ui/RowReader.h"

#include "platform/db/Dataset.h"

namespace vx::ui {

void RowReader::bind(Dataset *dataset)
{
    m_dataset = dataset;
}

bool RowReader::read(int position, QVariantList &values)
{
    return m_dataset && m_dataset->active() && m_dataset->readRow(position, values);
}

QStringList RowReader::displayTexts(const QVariantList &values) const
{
    QStringList texts;
    if (!m_dataset || !m_dataset->active())
        return texts;
    texts.reserve(m_dataset->fieldCount());
    for (int i = 0; i < m_dataset->fieldCount(); ++i)
        texts << m_dataset->field(i)->displayText(values.value(i));
    return texts;
}

QString RowReader::editText(int fieldIndex, const QVariantList &values) const
{
    if (!m_dataset || !m_dataset->active() || fieldIndex < 0 || fieldIndex >= m_dataset->fieldCount())
        return {};
    return m_dataset->field(fieldIndex)->editText(values.value(fieldIndex));
}

}  // namespace vx::ui
