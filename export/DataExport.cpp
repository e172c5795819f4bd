#include "export/DataExport.h"

#include "export/ExportError.h"
#include "export/ExportField.h"

#include "platform/db/Dataset.h"
#include "platform/db/DbError.h"

#include <QDir>
#include <QSaveFile>

namespace {

// Keeps the dataset's controls still and its position where it was for the time of a walk
// over its records, whatever ends the walk.
class DatasetWalk {
public:
    explicit DatasetWalk(vx::Dataset *dataSet) : m_dataSet(dataSet)
    {
        m_dataSet->disableControls();
        m_start = m_dataSet->bookmark();
    }
    ~DatasetWalk()
    {
        if (!m_dataSet)
            return;
        try {
            if (m_dataSet->bookmarkValid(m_start))
                m_dataSet->gotoBookmark(m_start);
        } catch (const vx::DbError &) {
            // The record went away meanwhile; the dataset stays where the walk left it.
        }
        m_dataSet->enableControls();
    }
    DatasetWalk(const DatasetWalk &) = delete;
    DatasetWalk &operator=(const DatasetWalk &) = delete;

private:
    QPointer<vx::Dataset> m_dataSet;
    vx::Bookmark m_start;
};

} // namespace

TDataExport::TDataExport(QObject *parent) : QObject(parent) {}

TDataExport::~TDataExport() = default;

void TDataExport::SaveToFile(const QString &fileName)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw ExportError(QStringLiteral("No se pudo crear el archivo %1: %2")
                              .arg(QDir::toNativeSeparators(fileName), file.errorString()));
    SaveToStream(&file);
    // The last buffered bytes reach the disk only here, and a failure to write them is not
    // seen by commit() itself: flush first and check.
    if (!file.flush() || file.size() != file.pos() || !file.commit())
        throw ExportError(QStringLiteral("No se pudo guardar el archivo %1: %2")
                              .arg(QDir::toNativeSeparators(fileName), file.errorString()));
}

void TDataExport::SaveToStream(QIODevice *stream)
{
    checkCanExport();
    const QPointer<TDataExport> self(this);
    m_stream = stream;
    try {
        BeginExport();
        ExportRecords();
        EndExport();
    } catch (...) {
        if (self)
            abortExport();
        throw;
    }
    if (self)
        m_stream = nullptr;
}

void TDataExport::checkCanExport() const
{
    if (m_exporting)
        throw ExportError(QStringLiteral("Ya hay una exportación en curso."));
    if (!m_dataSet)
        throw ExportError(QStringLiteral("Cannot perform this operation without a dataset"));
    if (!m_dataSet->active())
        throw vx::DbError(
            QStringLiteral("No se puede realizar la operación: %1 está cerrado.").arg(m_dataSet->displayName()));
    if (m_dataSet->isEmpty())
        throw vx::DbError(
            QStringLiteral("No se puede realizar la operación: %1 no tiene registros.").arg(m_dataSet->displayName()));
}

void TDataExport::checkStillExporting(const QPointer<TDataExport> &self)
{
    if (!self)
        throw ExportError(QStringLiteral("La exportación se interrumpió: se destruyó el componente."));
    if (!self->m_dataSet)
        throw ExportError(QStringLiteral("La exportación se interrumpió: se destruyó el conjunto de datos."));
}

void TDataExport::BeginExport()
{
    const QPointer<TDataExport> self(this);
    m_exporting = true;
    if (OnBeginExport) {
        OnBeginExport(this);
        checkStillExporting(self);
    }
    TExportFields *fields = GetExportFields();
    if (fields->isEmpty()) {
        const QList<vx::Field *> datasetFields = m_dataSet->fields();
        for (const vx::Field *field : datasetFields)
            fields->addItem()->Assign(*field);
        m_filledFields = true;
    }
}

void TDataExport::ExportRecords()
{
    const QPointer<TDataExport> self(this);
    vx::Dataset *dataSet = m_dataSet;
    const DatasetWalk walk(dataSet);
    dataSet->first();
    while (!dataSet->eof()) {
        bool cancel = false;
        if (BeforeWriteRecord) {
            BeforeWriteRecord(this, cancel);
            checkStillExporting(self);
        }
        if (!cancel) {
            WriteRecord();
            if (AfterWriteRecord) {
                AfterWriteRecord(this);
                checkStillExporting(self);
            }
        }
        dataSet->next();
    }
}

void TDataExport::EndExport()
{
    if (m_filledFields) {
        GetExportFields()->clear();
        m_filledFields = false;
    }
    const QPointer<TDataExport> self(this);
    if (OnEndExport)
        OnEndExport(this);
    if (self)
        m_exporting = false;
}

void TDataExport::abortExport()
{
    if (m_filledFields) {
        GetExportFields()->clear();
        m_filledFields = false;
    }
    m_stream = nullptr;
    const QPointer<TDataExport> self(this);
    if (m_exporting && OnEndExport) {
        try {
            OnEndExport(this);
        } catch (...) {
            // The failure that ended the export is the one the caller must hear about.
        }
    }
    if (self)
        m_exporting = false;
}
