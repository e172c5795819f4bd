#pragma once

#include "platform/VxPlatformExport.h"
#include "platform/db/SchemaTypes.h"

#include <QDateTime>
#include <QString>
#include <QVariant>

namespace vx {

class Dataset;

// One column of a dataset's current record: its definition, its value with typed getters and
// setters, and its text for display.
class VXPLATFORM_EXPORT Field {
public:
    Field(Dataset *dataset, const ColumnDef &definition, int index);

    Dataset *dataset() const { return m_dataset; }
    int index() const { return m_index; }
    const QString &fieldName() const { return m_def.name; }
    FieldType dataType() const { return m_def.type; }
    int size() const { return m_def.size; }
    bool isNumeric() const;
    bool readOnly() const { return m_def.type == FieldType::AutoInc || m_readOnly; }
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }

    QString displayLabel() const { return m_def.displayLabel.isEmpty() ? m_def.name : m_def.displayLabel; }
    void setDisplayLabel(const QString &label) { m_def.displayLabel = label; }
    QString displayFormat() const { return m_def.displayFormat; }
    void setDisplayFormat(const QString &format) { m_def.displayFormat = format; }
    QString editMask() const { return m_def.editMask; }
    void setEditMask(const QString &mask) { m_def.editMask = mask; }
    int displayWidth() const;
    void setDisplayWidth(int width) { m_def.displayWidth = width; }
    bool visible() const { return !m_def.hidden && m_visible; }
    void setVisible(bool visible) { m_visible = visible; }

    QVariant value() const;
    bool isNull() const;
    QString asString() const;
    double asFloat() const;
    int asInteger() const;
    QDateTime asDateTime() const;
    bool asBoolean() const;

    // Setters need the dataset in edit or insert state. Text is read in the shop's notation;
    // text that is not a valid number or date for the field throws DbError.
    void setValue(const QVariant &value);
    void setAsString(const QString &text);
    void setAsFloat(double value) { setValue(value); }
    void setAsInteger(int value) { setValue(value); }
    void setAsDateTime(const QDateTime &value) { setValue(value); }
    void setAsBoolean(bool value) { setValue(value); }
    void clear() { setValue(QVariant()); }

    // The value as grids and labels show it: through the display format, dates as dd/mm/yyyy.
    QString displayText() const { return displayText(value()); }
    // The value as an edit box shows it for typing (no grouping, no mask).
    QString editText() const { return asString(); }
    // The same texts for a value of this column read from another row (a grid paints many rows).
    QString displayText(const QVariant &value) const;
    QString editText(const QVariant &value) const { return asString(value); }
    QString asString(const QVariant &value) const;

    // The value converted to this field's type; throws DbError when it does not convert.
    QVariant converted(const QVariant &value) const;

private:
    Dataset *m_dataset;
    ColumnDef m_def;
    int m_index;
    bool m_readOnly = false;
    bool m_visible = true;
};

}  // namespace vx
