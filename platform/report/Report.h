#pragma once

#include "platform/VxPlatformExport.h"
#include "platform/report/Band.h"
#include "platform/report/PageSetup.h"
#include "platform/report/PreparedReport.h"

#include <QFont>
#include <QImage>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class QWidget;

namespace vx {
class Dataset;
}

namespace vx::report {

// A banded report over one dataset: a page setup, bands and their elements. Windows define one
// in a few lines, set its captions, and preview or print it:
//
//     Report report(PageSetup::a4());
//     report.setTitle("Listado de Articulos");
//     report.setDataset(&stock);
//     report.pageHeader(12).text({0, 0, 80, 6}, "Listado de Articulos al").bold()
//                          .dateTime({80, 0, 60, 6});
//     report.columnHeader(6).text({0, 0, 25, 5}, "Articulo").bold() ...;
//     report.detail(5).field({0, 0, 25, 5}, "ARTCMCT").field({100, 0, 20, 5}, "ARTCOS1").mask("0.00").right();
//     report.summary(8).text({0, 2, 40, 5}, "Total:").sum({100, 2, 20, 5}, "ARTCOS1").mask("0.00").right();
//     report.setCaption("titulo", ...);
//     report.preview();
//
// The dataset is read from its first row to its last in its current order and filter; nothing
// is written to it, and it is left on the record it was on. Failures throw ReportError (or
// DbError from the dataset) to the caller.
class VXPLATFORM_EXPORT Report {
public:
    explicit Report(const PageSetup &page = PageSetup::a4());
    ~Report();
    Report(const Report &) = delete;
    Report &operator=(const Report &) = delete;

    // The name shown in the preview's caption, given to the print job and proposed for PDF files.
    QString title() const { return m_title; }
    void setTitle(const QString &title);
    const PageSetup &page() const { return m_page; }
    void setPage(const PageSetup &page);
    // The font of every text that does not name its own (Arial 9 unless set).
    QFont defaultFont() const { return m_font; }
    void setDefaultFont(const QFont &font);

    Dataset *dataset() const { return m_dataset; }
    void setDataset(Dataset *dataset);
    Dataset *subDetailDataset() const { return m_subDataset; }

    // The bands, created on first use; a height given again replaces the one before.
    Band &pageHeader(double heightMm = 0);
    Band &columnHeader(double heightMm = 0);
    // The first detail band.
    Band &detail(double heightMm = 0);
    // A further detail band printed under the first for each row, kept on the same page; its
    // name lets the window turn it on and off.
    Band &addDetail(const QString &name, double heightMm = 0);
    // Printed for each row of `lines`, after the detail of each row. `lines` follows the detail
    // row through its master link; the report re-reads it for every detail row.
    Band &subDetail(Dataset *lines, double heightMm = 0);
    Band &summary(double heightMm = 0);
    Band &pageFooter(double heightMm = 0);
    // The band of that kind, or nullptr when the report has none.
    Band *band(BandKind kind) const;
    std::vector<Band *> details() const;
    void setBandEnabled(const QString &name, bool enabled);

    // What the window sets before printing, by element name. Throw ReportError for a name no
    // element carries.
    void setCaption(const QString &name, const QString &caption);
    void setLines(const QString &name, const QStringList &lines);
    void setPicture(const QString &name, const QImage &image);
    // Loads a BMP or PNG file into the named picture; false (the picture unchanged) when the
    // file cannot be read.
    bool loadPicture(const QString &name, const QString &path);

    // Lays out every page without showing them; the page count is known afterwards. Preview,
    // print and savePdf prepare the report themselves when it was not prepared since the last
    // change.
    void prepare();
    bool isPrepared() const { return m_prepared != nullptr; }
    int pageCount() const;
    const PreparedReport &prepared();

    // Shows the pages in a modal preview (page navigation, zoom, print, save as PDF); returns
    // when the operator closes it.
    void preview(QWidget *parent = nullptr);
    // Sends every page to the current printer without asking; returns when the pages have been
    // handed to the printer.
    void print();
    void savePdf(const QString &path);

private:
    Band &singleBand(BandKind kind, double heightMm);
    template<class T> std::vector<T *> elementsNamed(const QString &name, const char *what);
    void changed() { m_prepared.reset(); }

    PageSetup m_page;
    QString m_title;
    QFont m_font;
    Dataset *m_dataset = nullptr;
    Dataset *m_subDataset = nullptr;
    std::vector<std::unique_ptr<Band>> m_bands;
    std::shared_ptr<const PreparedReport> m_prepared;
};

} // namespace vx::report
