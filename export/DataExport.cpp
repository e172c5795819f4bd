#include "export/DataExport.h"

#include "export/ExportError.h"
#include "export/ExportField.h"

#include "platform/db/Dataset.h"
#include "platform/db/DbError.h"
#include "app/Aguarde.h"

#include <QDateTime>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

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

// Hands what is written on to a file in large blocks: a sheet is hundreds of thousands of small
// records, and the file device's bookkeeping for each write costs more than the bytes. A failure
// of the file comes back from the write that passes a block on, or from passOn().
class BlockWriter : public QIODevice {
public:
    explicit BlockWriter(QIODevice *target) : m_target(target)
    {
        m_block.reserve(blockSize);
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }

    bool passOn()
    {
        if (m_block.isEmpty())
            return true;
        const bool whole = m_target->write(m_block) == m_block.size();
        m_block.truncate(0);
        if (!whole)
            setErrorString(m_target->errorString());
        return whole;
    }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 length) override
    {
        m_block.append(data, length);
        if (m_block.size() >= blockSize && !passOn())
            return -1;
        return length;
    }

private:
    static constexpr qsizetype blockSize = 256 * 1024;

    QIODevice *m_target;
    QByteArray m_block;
};

} // namespace

TDataExport::TDataExport(QObject *parent) : QObject(parent) {}

TDataExport::~TDataExport() = default;

std::unique_ptr<QTemporaryFile> TDataExport::fileBeside(const QString &fileName)
{
    const QFileInfo target(fileName);
    auto file = std::make_unique<QTemporaryFile>(target.absoluteDir().filePath(target.fileName() + QStringLiteral(".XXXXXX")));
    if (!file->open())
        throw ExportError(QStringLiteral("No se pudo crear el archivo %1: %2")
                              .arg(QDir::toNativeSeparators(fileName), file->errorString()));
    return file;
}

void TDataExport::replaceFile(QTemporaryFile &file, const QString &fileName)
{
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                        QFileDevice::ReadOther);
    // rename() replaces the earlier file in one step, so a reader sees the old sheet or the new one.
    if (std::rename(QFile::encodeName(file.fileName()).constData(),
                    QFile::encodeName(QFileInfo(fileName).absoluteFilePath()).constData()) != 0)
        throw ExportError(QStringLiteral("No se pudo guardar el archivo %1: %2")
                              .arg(QDir::toNativeSeparators(fileName), QString::fromLocal8Bit(std::strerror(errno))));
    file.setAutoRemove(false);
}

void TDataExport::SaveToFile(const QString &fileName)
{
    // The sheet is written beside its final name and renamed over it only when it is whole, so a
    // failed save leaves the earlier file as it was and nothing that looks like a good sheet. It
    // is not forced to the disk before the rename: an export can always be made again, and the
    // operator should not wait on the disk for it.
    const std::unique_ptr<QTemporaryFile> file = fileBeside(fileName);
    BlockWriter blocks(file.get());
    SaveToStream(&blocks);
    // The last buffered bytes reach the disk only here: flush and check that all of them did.
    if (!blocks.passOn() || !file->flush() || file->size() != file->pos())
        throw ExportError(QStringLiteral("No se pudo guardar el archivo %1: %2")
                              .arg(QDir::toNativeSeparators(fileName), file->errorString()));
    replaceFile(*file, fileName);
}

void TDataExport::SaveToStream(QIODevice *stream)
{
    checkCanExport();
    exportTo(stream);
}

void TDataExport::exportTo(QIODevice *stream)
{
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
            QStringLiteral("No se puede realizar la operación: %1 está cerrada.").arg(m_dataSet->displayName()));
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

vx::Field *TDataExport::exportedField(int place, const QString &name)
{
    if (m_resolved.size() <= size_t(place))
        m_resolved.resize(size_t(place) + 1);
    ResolvedField &resolved = m_resolved[size_t(place)];
    // The same field while the dataset keeps its field objects and the name is the very text
    // resolved (shared text cannot change in place): an event handler may have reopened or
    // replaced the dataset, or renamed the column's field.
    const quint64 generation = m_dataSet->fieldsGeneration();
    if (resolved.field && resolved.generation == generation && resolved.name.constData() == name.constData() &&
        resolved.name.size() == name.size())
        return resolved.field;
    vx::Field *field = m_dataSet->fieldByName(name);
    resolved = {name, generation, field};
    return field;
}

void TDataExport::BeginExport()
{
    const QPointer<TDataExport> self(this);
    m_exporting = true;
    m_resolved.clear();
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
    m_written = 0;
    m_lastProgress = QDateTime::currentMSecsSinceEpoch();
    dataSet->first();
    while (!dataSet->eof()) {
        bool cancel = false;
        if (BeforeWriteRecord) {
            BeforeWriteRecord(this, cancel);
            checkStillExporting(self);
        }
        if (!cancel) {
            WriteRecord();
            reportProgress();
            if (AfterWriteRecord) {
                AfterWriteRecord(this);
                checkStillExporting(self);
            }
        }
        dataSet->next();
    }
}

void TDataExport::reportProgress()
{
    // A long list keeps the operator waiting: the wait window counts the rows, a few times a
    // second (painting it for every row would cost more than the rows).
    ++m_written;
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (now - m_lastProgress < 200)
        return;
    m_lastProgress = now;
    aguarde::progress(QStringLiteral("Exportando fila %1 de %2").arg(m_written).arg(m_dataSet->recordCount()));
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
