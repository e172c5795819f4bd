#pragma once

#include <QString>

#include <memory>
#include <vector>

class TDataExport;

namespace vx {
class Field;
}

// One dataset field that an export writes, and whether it writes it.
class TExportField {
public:
    virtual ~TExportField();

    QString DataField;
    bool Save = true;

    // Takes name and visibility from a dataset field; kinds of export field take more.
    virtual void Assign(const vx::Field &field);
    // DataField, or the kind of item when no field is named yet.
    QString displayName() const;

protected:
    virtual QString defaultDisplayName() const;
};

// The fields an export writes, in order. Owned by the export component.
class TExportFields {
public:
    explicit TExportFields(TDataExport *owner);
    virtual ~TExportFields();
    TExportFields(const TExportFields &) = delete;
    TExportFields &operator=(const TExportFields &) = delete;

    TDataExport *owner() const { return m_owner; }
    int count() const { return int(m_items.size()); }
    bool isEmpty() const { return m_items.empty(); }
    TExportField *item(int index) const { return m_items.at(std::size_t(index)).get(); }
    // A new item of the collection's kind, at the end.
    TExportField *addItem();
    void clear() { m_items.clear(); }

protected:
    virtual std::unique_ptr<TExportField> createItem() const;

private:
    TDataExport *m_owner;
    std::vector<std::unique_ptr<TExportField>> m_items;
};
