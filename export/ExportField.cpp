#include "export/ExportField.h"

#include "platform/db/Field.h"

TExportField::~TExportField() = default;

void TExportField::Assign(const vx::Field &field)
{
    DataField = field.fieldName();
    Save = field.visible();
}

QString TExportField::displayName() const
{
    return DataField.isEmpty() ? defaultDisplayName() : DataField;
}

QString TExportField::defaultDisplayName() const
{
    return QStringLiteral("TExportField");
}

TExportFields::TExportFields(TDataExport *owner) : m_owner(owner) {}

TExportFields::~TExportFields() = default;

TExportField *TExportFields::addItem()
{
    m_items.push_back(createItem());
    return m_items.back().get();
}

std::unique_ptr<TExportField> TExportFields::createItem() const
{
    return std::make_unique<TExportField>();
}
