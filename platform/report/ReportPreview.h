#pragma once

#include "platform/VxPlatformExport.h"
#include "platform/report/PreparedReport.h"

#include <QDialog>
#include <QImage>

#include <memory>

class QComboBox;
class QLabel;
class QPushButton;
class QScrollArea;
class QToolButton;

namespace vx::report {

// The on-screen preview of a prepared report: one page at a time, page navigation, zoom, print
// through the print dialog and save as PDF through the save dialog. Shown modally through the
// dialog service (Report::preview).
class VXPLATFORM_EXPORT ReportPreview : public QDialog {
    Q_OBJECT
public:
    ReportPreview(std::shared_ptr<const PreparedReport> report, QWidget *parent = nullptr);
    ~ReportPreview() override;

    int currentPage() const { return m_page; } // 0-based
    // Screen pixels per millimetre of paper at the current zoom.
    double pixelsPerMm() const;
    // The page as it is shown now.
    QImage pageImage() const { return m_image; }

    void firstPage() { showPage(0); }
    void priorPage() { showPage(m_page - 1); }
    void nextPage() { showPage(m_page + 1); }
    void lastPage() { showPage(m_report->pageCount() - 1); }
    // Asks for a printer and prints the pages on it.
    void printPages();
    // Asks for a file name and writes the pages to it as a PDF document.
    void savePdf();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    // Redraws the sheet when the room for it changes and the zoom fits the page to the room.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildWindow();
    QToolButton *navigationButton(const char *name, const QString &text, const QString &tip);
    void showPage(int page);
    void render();

    std::shared_ptr<const PreparedReport> m_report;
    int m_page = 0;
    QImage m_image;
    QToolButton *m_first = nullptr;
    QToolButton *m_prior = nullptr;
    QToolButton *m_next = nullptr;
    QToolButton *m_last = nullptr;
    QLabel *m_pageLabel = nullptr;
    QComboBox *m_zoom = nullptr;
    QPushButton *m_print = nullptr;
    QPushButton *m_save = nullptr;
    QPushButton *m_close = nullptr;
    QScrollArea *m_scroll = nullptr;
    QLabel *m_sheet = nullptr;
};

} // namespace vx::report
