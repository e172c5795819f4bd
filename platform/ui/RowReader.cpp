#include "platform/ui/RowReader.h"

#include "platform/db/Dataset.h"

namespace vx::ui {

namespace {

// The dataset keeps its row source to itself; naming the member through a derived class yields a
// pointer to it that reads a row by position without touching the cursor.
struct RowSource : Dataset {
    static bool fetch(Dataset &dataset, int position, QVariantList &values)
    {
        return (dataset.*&RowSource::fetchRow)(position, values);
    }
};

}  // namespace

// A one-record dataset holding a row read elsewhere, so that the fields' own display rules apply
// to it. Its fields copy the definitions (and the display settings) of the bound dataset's fields.
class RowBuffer : public Dataset {
public:
    RowBuffer(Dataset &source) : Dataset(source.connection()), m_source(source)
    {
        for (const Field *f : source.fields()) {
            ColumnDef column;
            column.name = f->fieldName();
            column.type = f->dataType();
            column.size = f->size();
            m_columns << column;
        }
        open();
    }

    void show(const QVariantList &values)
    {
        for (int i = 0; i < fieldCount() && i < m_source.fieldCount(); ++i) {
            const Field *from = m_source.field(i);
            Field *to = field(i);
            to->setDisplayFormat(from->displayFormat());
            to->setEditMask(from->editMask());
        }
        m_row = values;
        while (m_row.size() < fieldCount())
            m_row << QVariant();
        setRecNo(1);
    }

    QString displayName() const override { return m_source.displayName(); }

protected:
    QList<ColumnDef> describeColumns() override { return m_columns; }
    void openRows() override {}
    void closeRows() override {}
    int rowCount() override { return 1; }
    bool fetchRow(int, QVariantList &values) override
    {
        values = m_row;
        return true;
    }
    int locateRow(const QStringList &, const QVariantList &, LocateOptions) override { return -1; }
    qint64 bookmarkAt(int) const override { return 0; }
    int positionOf(qint64) const override { return 0; }

private:
    Dataset &m_source;
    QList<ColumnDef> m_columns;
    QVariantList m_row;
};

RowReader::RowReader() = default;

RowReader::~RowReader() = default;

void RowReader::bind(Dataset *dataset)
{
    m_buffer.reset();
    m_dataset = dataset;
    if (m_dataset && m_dataset->active() && m_dataset->connection())
        m_buffer = std::make_unique<RowBuffer>(*m_dataset);
}

bool RowReader::read(int position, QVariantList &values)
{
    if (!m_dataset || !m_dataset->active() || position < 0 || position >= m_dataset->recordCount())
        return false;
    return RowSource::fetch(*m_dataset, position, values);
}

void RowReader::load(const QVariantList &values)
{
    if (m_buffer)
        m_buffer->show(values);
}

QStringList RowReader::displayTexts(const QVariantList &values)
{
    QStringList texts;
    if (!m_buffer)
        return texts;
    load(values);
    texts.reserve(m_buffer->fieldCount());
    for (const Field *f : m_buffer->fields())
        texts << f->displayText();
    return texts;
}

QString RowReader::editText(int fieldIndex, const QVariantList &values)
{
    if (!m_buffer || fieldIndex < 0 || fieldIndex >= m_buffer->fieldCount())
        return {};
    load(values);
    return m_buffer->field(fieldIndex)->editText();
}

}  // namespace vx::ui
