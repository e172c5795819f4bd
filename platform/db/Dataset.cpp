#include "platform/db/Dataset.h"

#include "platform/db/Connection.h"
#include "platform/db/DataSource.h"
#include "platform/db/DbError.h"

#include <QRegularExpression>

#include <atomic>

namespace vx {

namespace {

quint64 newFieldsGeneration()
{
    static std::atomic<quint64> last{0};
    return ++last;
}

}  // namespace

Dataset::Dataset(Connection *connection, QObject *parent) : QObject(parent), m_connection(connection) {}

Dataset::~Dataset()
{
    for (const QPointer<DataSource> &source : std::as_const(m_sources)) {
        if (source)
            source->setDataSet(nullptr);
    }
}

void Dataset::open()
{
    if (active())
        return;
    if (!m_connection)
        throw DbError(QStringLiteral("%1 no tiene una conexión a la base de datos.").arg(displayName()));
    const QList<ColumnDef> columns = describeColumns();
    m_fields.clear();
    m_fieldsByName.clear();
    m_fieldsGeneration = newFieldsGeneration();
    for (int i = 0; i < columns.size(); ++i) {
        m_fields.push_back(std::make_unique<Field>(this, columns[i], i));
        m_fieldsByName.insert(columns[i].name, m_fields.back().get());
    }
    m_fieldsRead.assign(m_fields.size(), false);
    m_sortTerms = parseSort(m_sortText);
    try {
        m_where = whereCondition();
        openRows();
    } catch (...) {
        m_fieldsByName.clear();
        m_fields.clear();
        m_fieldsGeneration = newFieldsGeneration();
        throw;
    }
    m_state = State::Browse;
    m_position = rowCount() > 0 ? 0 : -1;
    m_bof = true;
    m_eof = m_position < 0;
    loadCurrent();
    emit afterOpen();
    for (const QPointer<DataSource> &source : std::as_const(m_sources)) {
        if (source && !controlsDisabled())
            emit source->activeChanged(true);
    }
    notifyChanged();
    notifyState();
}

void Dataset::close()
{
    if (!active())
        return;
    closeRows();
    m_state = State::Inactive;
    m_position = -1;
    m_bof = m_eof = true;
    m_record.clear();
    m_modified.clear();
    m_fieldsByName.clear();
    m_fields.clear();
    m_fieldsGeneration = newFieldsGeneration();
    for (const QPointer<DataSource> &source : std::as_const(m_sources)) {
        if (source && !controlsDisabled())
            emit source->activeChanged(false);
    }
    notifyChanged();
    notifyState();
}

void Dataset::setActive(bool activeNow)
{
    if (activeNow)
        open();
    else
        close();
}

QList<Field *> Dataset::fields() const
{
    QList<Field *> out;
    out.reserve(int(m_fields.size()));
    for (const auto &f : m_fields)
        out << f.get();
    return out;
}

Field *Dataset::findField(const QString &name) const
{
    if (Field *exact = m_fieldsByName.value(name))
        return exact;
    for (const auto &f : m_fields) {
        if (f->fieldName().compare(name, Qt::CaseInsensitive) == 0)
            return f.get();
    }
    return nullptr;
}

Field *Dataset::fieldByName(const QString &name) const
{
    if (Field *f = findField(name))
        return f;
    if (!active())
        throw DbError(QStringLiteral("%1 está cerrada: no se puede leer el campo %2.").arg(displayName(), name));
    throw DbError(QStringLiteral("%1: no existe el campo %2.").arg(displayName(), name));
}

void Dataset::checkActive() const
{
    if (!active())
        throw DbError(QStringLiteral("No se puede realizar la operación: %1 está cerrada.").arg(displayName()));
}

void Dataset::checkModifiable() const
{
    checkActive();
    if (isReadOnly())
        throw DbError(QStringLiteral("%1 es de sólo lectura.").arg(displayName()));
}

void Dataset::checkBrowseMode()
{
    checkActive();
    if (m_state == State::Edit || m_state == State::Insert)
        post();
}

void Dataset::loadCurrent()
{
    while (m_position >= 0) {
        if (fetchRow(m_position, m_record, false))
            break;
        // The row was deleted elsewhere; the source dropped it, so the next one moved up.
        const int count = rowCount();
        if (m_position >= count)
            m_position = count - 1;
    }
    if (m_position < 0) {
        clearBuffer();
        m_bof = m_eof = true;
    }
    m_modified.assign(m_fields.size(), false);
}

void Dataset::clearBuffer()
{
    m_record = QVariantList(int(m_fields.size()));
}

void Dataset::setPosition(int position, bool bof, bool eof)
{
    // The flags change before anyone hears of the move, so that a navigator enabling its buttons
    // on the scroll sees where the cursor now is.
    m_position = position;
    m_bof = bof;
    m_eof = eof;
    loadCurrent();
    notifyScrolled();
}

void Dataset::first()
{
    checkBrowseMode();
    const int position = rowCount() > 0 ? 0 : -1;
    setPosition(position, true, position < 0);
}

void Dataset::last()
{
    checkBrowseMode();
    const int position = rowCount() - 1;
    setPosition(position, position < 0, true);
}

void Dataset::next()
{
    checkBrowseMode();
    if (m_position >= 0 && m_position < rowCount() - 1) {
        setPosition(m_position + 1, false, false);
    } else {
        m_eof = true;
        m_bof = m_position < 0;
    }
}

void Dataset::prior()
{
    checkBrowseMode();
    if (m_position > 0) {
        setPosition(m_position - 1, false, false);
    } else {
        m_bof = true;
        m_eof = m_position < 0;
    }
}

int Dataset::moveBy(int distance)
{
    checkBrowseMode();
    const int count = rowCount();
    if (count == 0 || distance == 0)
        return 0;
    const int target = std::clamp(m_position + distance, 0, count - 1);
    const int moved = target - m_position;
    setPosition(target, distance < 0 && moved != distance, distance > 0 && moved != distance);
    return moved;
}

bool Dataset::isEmpty() const
{
    return !active() || const_cast<Dataset *>(this)->rowCount() == 0;
}

int Dataset::recordCount() const
{
    if (!active())
        return 0;
    return const_cast<Dataset *>(this)->rowCount();
}

void Dataset::setRecNo(int recNo)
{
    checkBrowseMode();
    const int count = rowCount();
    if (count == 0)
        return;
    setPosition(std::clamp(recNo - 1, 0, count - 1), false, false);
}

Bookmark Dataset::bookmark() const
{
    if (!active() || m_position < 0)
        return {};
    return {bookmarkAt(m_position)};
}

bool Dataset::bookmarkValid(const Bookmark &mark) const
{
    return active() && mark.isValid() && positionOf(mark.value) >= 0;
}

void Dataset::gotoBookmark(const Bookmark &mark)
{
    checkBrowseMode();
    const int position = mark.isValid() ? positionOf(mark.value) : -1;
    if (position < 0)
        throw DbError(QStringLiteral("%1: el registro marcado ya no está disponible.").arg(displayName()));
    setPosition(position, false, false);
}

QVariant Dataset::locateValue(const Field *field, const QVariant &value) const
{
    return field->converted(value);
}

bool Dataset::locate(const QString &fieldNames, const QVariant &values, LocateOptions options)
{
    checkBrowseMode();
    const QStringList names = fieldNames.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    QVariantList list = values.typeId() == QMetaType::QVariantList ? values.toList() : QVariantList{values};
    if (names.isEmpty() || names.size() != list.size())
        throw DbError(QStringLiteral("%1: la búsqueda por %2 necesita un valor por campo.").arg(displayName(), fieldNames));
    QStringList columns;
    for (int i = 0; i < names.size(); ++i) {
        const Field *f = fieldByName(names[i].trimmed());
        columns << f->fieldName();
        const bool partialText = options.testFlag(LocateOption::PartialKey)
                                 && (f->dataType() == FieldType::String || f->dataType() == FieldType::Memo);
        list[i] = partialText ? QVariant(list[i].toString()) : locateValue(f, list[i]);
    }
    const int position = locateRow(columns, list, options);
    if (position < 0)
        return false;
    setPosition(position, false, false);
    return true;
}

QList<SortTerm> Dataset::parseSort(const QString &text) const
{
    QList<SortTerm> terms;
    static const QRegularExpression separators(QStringLiteral("[;,]"));
    for (const QString &part : text.split(separators, Qt::SkipEmptyParts)) {
        const QStringList words = part.simplified().split(QLatin1Char(' '));
        if (words.isEmpty() || words.first().isEmpty())
            continue;
        SortTerm term;
        QString column = words.first();
        column.remove(QLatin1Char('[')).remove(QLatin1Char(']'));
        const Field *f = findField(column);
        if (active() || !m_fields.empty()) {
            if (!f)
                throw DbError(QStringLiteral("%1: no se puede ordenar por %2, que no es un campo.").arg(displayName(), column));
            column = f->fieldName();
        }
        term.column = column;
        if (words.size() > 1) {
            const QString direction = words[1].toUpper();
            if (direction == QLatin1String("DESC"))
                term.descending = true;
            else if (direction != QLatin1String("ASC"))
                throw DbError(QStringLiteral("%1: el orden \"%2\" no es válido.").arg(displayName(), part.trimmed()));
        }
        terms << term;
    }
    return terms;
}

void Dataset::setSort(const QString &sortText)
{
    if (!active()) {
        m_sortText = sortText;
        return;
    }
    checkBrowseMode();
    const QList<SortTerm> terms = parseSort(sortText);
    m_sortText = sortText;
    m_sortTerms = terms;
    requery(true);
}

void Dataset::setFilter(const QString &filterText)
{
    if (filterText == m_filterText)
        return;
    const QString previous = m_filterText;
    m_filterText = filterText;
    if (!active() || !m_filtered)
        return;
    try {
        whereCondition();
    } catch (const DbError &) {
        m_filterText = previous;
        throw;
    }
    requery(false);
}

void Dataset::setFiltered(bool filteredNow)
{
    if (filteredNow == m_filtered)
        return;
    m_filtered = filteredNow;
    if (!active())
        return;
    try {
        whereCondition();
    } catch (const DbError &) {
        m_filtered = !filteredNow;
        throw;
    }
    requery(false);
}

void Dataset::setRecordFilter(const QString &sqlPredicate)
{
    setRecordFilter(SqlCondition{sqlPredicate, {}});
}

void Dataset::setRecordFilter(const SqlCondition &condition)
{
    m_recordFilter = condition.sql;
    m_recordParams = condition.params;
    if (active() && m_filtered)
        requery(false);
}

void Dataset::setMasterLink(DataSource *master, const QString &masterFields, const QString &detailFields)
{
    if (m_master)
        disconnect(m_master, nullptr, this, nullptr);
    m_master = master;
    m_masterFields = masterFields.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    m_detailFields = detailFields.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    if (m_masterFields.size() != m_detailFields.size())
        throw DbError(QStringLiteral("%1: los campos maestros (%2) y de detalle (%3) no se corresponden.")
                          .arg(displayName(), masterFields, detailFields));
    m_masterValues.clear();
    if (m_master) {
        connect(m_master, &DataSource::dataSetScrolled, this, &Dataset::masterMoved);
        connect(m_master, &DataSource::dataSetChanged, this, &Dataset::masterMoved);
        connect(m_master, &DataSource::activeChanged, this, &Dataset::masterMoved);
        connect(m_master, &DataSource::recordChanged, this, &Dataset::masterMoved);
    }
    if (active())
        requery(false);
}

void Dataset::masterMoved()
{
    if (!active() || !m_master)
        return;
    QVariantList values;
    Dataset *master = m_master->dataSet();
    if (master && master->active() && !master->isEmpty()) {
        for (const QString &name : std::as_const(m_masterFields))
            values << master->fieldByName(name)->value();
    }
    if (values == m_masterValues && !values.isEmpty())
        return;
    requery(false);
}

SqlCondition Dataset::whereCondition() const
{
    QStringList parts;
    SqlCondition out;
    if (m_filtered && !m_filterText.trimmed().isEmpty()) {
        const FilterExpression expression = FilterExpression::parse(m_filterText);
        const SqlCondition filter = expression.toSql(
            [this](const QString &name) -> std::optional<FilterExpression::Column> {
                if (const Field *f = findField(name))
                    return FilterExpression::Column{f->fieldName(), f->dataType()};
                return std::nullopt;
            },
                                                     m_connection->dialect());
        parts << filter.sql;
        out.params << filter.params;
    }
    if (m_filtered && !m_recordFilter.isEmpty()) {
        parts << QStringLiteral("(%1)").arg(m_recordFilter);
        out.params << m_recordParams;
    }
    if (m_master) {
        Dataset *master = m_master->dataSet();
        m_masterValues.clear();
        if (!master || !master->active() || master->isEmpty()) {
            parts << QStringLiteral("1 = 0");
        } else {
            for (int i = 0; i < m_detailFields.size(); ++i) {
                const QVariant value = master->fieldByName(m_masterFields[i])->value();
                m_masterValues << value;
                const auto type = columnType(m_detailFields[i]);
                if (!type)
                    throw DbError(QStringLiteral("%1: no existe el campo de detalle %2.").arg(displayName(), m_detailFields[i]));
                parts << QStringLiteral("%1 = ?").arg(m_detailFields[i]);
                out.params << m_connection->dialect().toDatabase(value, *type);
            }
        }
    }
    out.sql = parts.join(QStringLiteral(" AND "));
    return out;
}

QString Dataset::orderByTerms() const
{
    QStringList terms;
    for (const SortTerm &term : m_sortTerms)
        terms << m_connection->dialect().orderTerm(term.column, term.descending);
    return terms.join(QStringLiteral(", "));
}

std::optional<FieldType> Dataset::columnType(const QString &name) const
{
    if (const Field *f = findField(name))
        return f->dataType();
    return std::nullopt;
}

void Dataset::requery(bool keepPosition)
{
    checkBrowseMode();
    const Bookmark mark = bookmark();
    closeRows();
    try {
        m_where = whereCondition();
        openRows();
    } catch (...) {
        m_position = -1;
        clearBuffer();
        notifyChanged();
        throw;
    }
    int position = rowCount() > 0 ? 0 : -1;
    if (keepPosition && mark.isValid()) {
        const int kept = positionOf(mark.value);
        if (kept >= 0)
            position = kept;
    }
    m_position = position;
    m_bof = !keepPosition || position <= 0;
    m_eof = position < 0;
    loadCurrent();
    notifyChanged();
    emit afterScroll();
}

void Dataset::refresh()
{
    checkActive();
    requery(true);
}

bool Dataset::readRow(int position, QVariantList &values)
{
    checkActive();
    if (position < 0 || position >= rowCount())
        return false;
    return fetchRow(position, values, true);
}

QList<QVariantList> Dataset::columnValues(const QStringList &fieldNames)
{
    checkActive();
    QList<int> indexes;
    for (const QString &name : fieldNames)
        indexes << fieldByName(name)->index();
    QList<QVariantList> rows;
    QVariantList row;
    for (int position = 0; position < rowCount(); ++position) {
        if (!fetchRow(position, row, true)) {
            --position;  // the row was dropped; the next one took its place
            continue;
        }
        QVariantList values;
        values.reserve(indexes.size());
        for (const int i : indexes)
            values << row[i];
        rows << values;
    }
    return rows;
}

void Dataset::setState(State newState)
{
    if (m_state == newState)
        return;
    m_state = newState;
    notifyState();
}

void Dataset::append()
{
    checkModifiable();
    checkBrowseMode();
    m_insertAppends = true;
    clearBuffer();
    m_modified.assign(m_fields.size(), false);
    setState(State::Insert);
    if (m_master && m_master->dataSet() && m_master->dataSet()->active() && !m_master->dataSet()->isEmpty()) {
        for (int i = 0; i < m_detailFields.size(); ++i)
            fieldByName(m_detailFields[i])->setValue(m_master->dataSet()->fieldByName(m_masterFields[i])->value());
    }
    emit newRecord();
    notifyChanged();
}

void Dataset::insert()
{
    append();
    m_insertAppends = false;
}

void Dataset::edit()
{
    checkModifiable();
    if (m_state == State::Edit || m_state == State::Insert)
        return;
    if (m_position < 0) {
        // Editing an empty dataset starts a new record, as operators expect.
        append();
        return;
    }
    refreshRow(m_position);
    QVariantList current;
    if (!fetchRow(m_position, current, false)) {
        loadCurrent();
        notifyChanged();
        throw DbError(QStringLiteral("%1: el registro ya no existe; otra estación lo eliminó.").arg(displayName()));
    }
    loadCurrent();
    setState(State::Edit);
    notifyChanged();
}

void Dataset::checkSizes() const
{
    // The name stands inside a sentence: "... de la tabla STOCK tiene ...".
    QString owner = displayName();
    if (!owner.isEmpty())
        owner[0] = owner[0].toLower();
    // Only what this edit changed: a value stored before (by an older program, or another tool)
    // does not stop the operator from changing the row's other fields.
    for (const auto &f : m_fields) {
        if (!m_modified[size_t(f->index())])
            continue;
        ColumnDef column;
        column.name = f->fieldName();
        column.type = f->dataType();
        column.size = f->size();
        column.displayLabel = f->displayLabel();
        checkValueFits(column, m_record[f->index()], owner);
    }
}

void Dataset::post()
{
    checkActive();
    if (m_state != State::Edit && m_state != State::Insert)
        return;
    for (const QPointer<DataSource> &source : std::as_const(m_sources)) {
        if (source)
            emit source->updateData();
    }
    checkSizes();
    if (m_state == State::Edit) {
        postEdit(m_position, m_record, m_modified);
    } else {
        const int position = postInsert(m_position, m_insertAppends || m_position < 0, m_record);
        m_position = position;
    }
    m_bof = m_eof = false;
    setState(State::Browse);
    loadCurrent();
    emit afterPost();
    notifyChanged();
}

void Dataset::cancel()
{
    if (m_state != State::Edit && m_state != State::Insert)
        return;
    setState(State::Browse);
    loadCurrent();
    notifyChanged();
}

void Dataset::deleteRecord()
{
    checkModifiable();
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    if (m_state == State::Edit)
        cancel();
    if (m_position < 0)
        throw DbError(QStringLiteral("%1 no tiene registros que eliminar.").arg(displayName()));
    deleteRow(m_position);
    const int count = rowCount();
    if (m_position >= count)
        m_position = count - 1;
    m_bof = m_position <= 0;
    m_eof = m_position < 0;
    loadCurrent();
    notifyChanged();
}

void Dataset::postEdit(int, const QVariantList &, const std::vector<bool> &) {}

int Dataset::postInsert(int position, bool, const QVariantList &)
{
    return position;
}

void Dataset::deleteRow(int) {}

void Dataset::refreshRow(int) {}

QVariant Dataset::notLoaded()
{
    return QVariant::fromValue(NotLoaded{});
}

bool Dataset::isNotLoaded(const QVariant &value)
{
    // Such values are made only by notLoaded(), here in this library, so the type's interface
    // alone tells them: no comparison of type ids for every field a walk reads.
    return value.metaType().iface() == QMetaType::fromType<NotLoaded>().iface();
}

QVariant Dataset::recordValue(int index) const
{
    if (index < 0 || index >= m_record.size())
        return {};
    // Read through a const view: the record shares its values with the source's cache, and a
    // writable access would copy the whole row on every move.
    if (isNotLoaded(std::as_const(m_record)[index])) {
        // Read the whole row now; values changed in this edit stay as they are.
        QVariantList complete;
        if (const_cast<Dataset *>(this)->fetchRow(m_position, complete, true)) {
            for (int i = 0; i < m_record.size() && i < complete.size(); ++i) {
                if (isNotLoaded(m_record[i]))
                    m_record[i] = complete[i];
            }
        } else {
            m_record[index] = QVariant();
        }
    }
    m_fieldsRead[size_t(index)] = true;
    return std::as_const(m_record)[index];
}

void Dataset::setRecordValue(int index, const QVariant &value)
{
    if (m_state != State::Edit && m_state != State::Insert)
        throw DbError(QStringLiteral("%1 no está en modo de edición: primero use Editar o Agregar.").arg(displayName()));
    if (m_fields[size_t(index)]->readOnly())
        throw DbError(QStringLiteral("El campo %1 es de sólo lectura.").arg(m_fields[size_t(index)]->fieldName()));
    m_record[index] = value;
    m_modified[size_t(index)] = true;
    if (controlsDisabled()) {
        m_changedWhileDisabled = true;
        return;
    }
    for (const QPointer<DataSource> &source : std::as_const(m_sources)) {
        if (source)
            emit source->recordChanged(m_fields[size_t(index)].get());
    }
}

void Dataset::disableControls()
{
    ++m_disableCount;
}

void Dataset::enableControls()
{
    if (m_disableCount == 0)
        return;
    if (--m_disableCount == 0 && m_changedWhileDisabled) {
        m_changedWhileDisabled = false;
        notifyChanged();
    }
}

void Dataset::attachDataSource(DataSource *source)
{
    if (!m_sources.contains(source))
        m_sources << source;
}

void Dataset::detachDataSource(DataSource *source)
{
    m_sources.removeAll(source);
}

void Dataset::notifyChanged()
{
    if (controlsDisabled()) {
        m_changedWhileDisabled = true;
        return;
    }
    for (const QPointer<DataSource> &source : std::as_const(m_sources)) {
        if (source)
            emit source->dataSetChanged();
    }
}

void Dataset::notifyScrolled()
{
    emit afterScroll();
    if (controlsDisabled()) {
        m_changedWhileDisabled = true;
        return;
    }
    for (const QPointer<DataSource> &source : std::as_const(m_sources)) {
        if (source)
            emit source->dataSetScrolled();
    }
}

void Dataset::notifyState()
{
    if (controlsDisabled())
        return;
    for (const QPointer<DataSource> &source : std::as_const(m_sources)) {
        if (source)
            emit source->stateChanged();
    }
}

}  // namespace vx
