#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QIODevice;
class QTemporaryFile;
class TExportFields;

namespace vx {
class Dataset;
class Field;
} // namespace vx

using TNotifyEvent = std::function<void(QObject *sender)>;
using TCancelEvent = std::function<void(QObject *sender, bool &cancel)>;

// The frame of exporting a dataset's records to a file: checks, the walk over the records
// with its events, and the list of fields to export. Kinds of export write the records.
//
// Failures are thrown: ExportError for the component's own (no dataset, stream or file
// errors, an export interrupted by destroying the component), vx::DbError for the dataset's
// (closed, empty, unknown field). An export that fails leaves its stream without an end.
class TDataExport : public QObject {
    Q_OBJECT
public:
    explicit TDataExport(QObject *parent = nullptr);
    ~TDataExport() override;

    // Cleared by itself when the dataset is destroyed.
    vx::Dataset *DataSet() const { return m_dataSet; }
    void setDataSet(vx::Dataset *dataSet) { m_dataSet = dataSet; }

    bool exporting() const { return m_exporting; }

    // Writes a temporary file beside fileName and puts it in place only once the export is
    // complete and on disk, so a failed save leaves any earlier file as it was.
    virtual void SaveToFile(const QString &fileName);
    void SaveToStream(QIODevice *stream);

    TNotifyEvent OnBeginExport;
    TNotifyEvent OnEndExport;
    TCancelEvent BeforeWriteRecord;
    TNotifyEvent AfterWriteRecord;

protected:
    virtual void BeginExport();
    virtual void EndExport();
    virtual void ExportRecords();
    // One record: the dataset stands on it.
    virtual void WriteRecord() = 0;
    virtual TExportFields *GetExportFields() = 0;
    // Undoes what BeginExport set up after a failure, without completing the output.
    virtual void abortExport();

    // Throws when there is nothing to export or an export is already running.
    void checkCanExport() const;
    // The export itself, once checked; `stream` may be null for a kind that writes a file of its own.
    void exportTo(QIODevice *stream);
    // A temporary file beside `fileName`, to be put in its place by replaceFile once whole.
    static std::unique_ptr<QTemporaryFile> fileBeside(const QString &fileName);
    static void replaceFile(QTemporaryFile &file, const QString &fileName);

    // The stream being written; only set during an export.
    QIODevice *stream() const { return m_stream; }
    // The dataset field of the export field at a place in the list, as fieldByName finds it
    // (and throws for), remembered from record to record: a walk asks for the same fields on
    // every record.
    vx::Field *exportedField(int place, const QString &name);
    // Throws when an event handler destroyed this component or its dataset.
    static void checkStillExporting(const QPointer<TDataExport> &self);

private:
    void reportProgress();

    struct ResolvedField {
        QString name; // shares the export field's text while that stays unchanged
        quint64 generation = 0;
        vx::Field *field = nullptr;
    };
    std::vector<ResolvedField> m_resolved;

    QPointer<vx::Dataset> m_dataSet;
    QIODevice *m_stream = nullptr;
    bool m_exporting = false;
    bool m_filledFields = false;
    int m_written = 0;
    qint64 m_lastProgress = 0;
};
