#include "platform/report/Report.h"

#include "platform/report/CurrentPrinter.h"
#include "platform/report/ReportError.h"
#include "platform/report/ReportLayouter.h"
#include "platform/report/ReportOutput.h"
#include "platform/report/ReportPreview.h"
#include "platform/ui/Dialogs.h"

#include <QImageReader>
#include <QPrinter>

namespace vx::report {

// Arial, or the face the system offers in its place with the same widths, as the layouts were
// measured for it.
Report::Report(const PageSetup &page) : m_page(page), m_font(QStringLiteral("Arial"), 9) {}

Report::~Report() = default;

void Report::setTitle(const QString &title)
{
    m_title = title;
    changed();
}

void Report::setPage(const PageSetup &page)
{
    m_page = page;
    changed();
}

void Report::setDefaultFont(const QFont &font)
{
    m_font = font;
    changed();
}

void Report::setDataset(Dataset *dataset)
{
    m_dataset = dataset;
    changed();
}

Band &Report::singleBand(BandKind kind, double heightMm)
{
    changed();
    if (Band *existing = band(kind)) {
        if (heightMm > 0)
            existing->setHeight(heightMm);
        return *existing;
    }
    m_bands.push_back(std::make_unique<Band>(kind, heightMm));
    return *m_bands.back();
}

Band &Report::pageHeader(double heightMm)
{
    return singleBand(BandKind::PageHeader, heightMm);
}

Band &Report::columnHeader(double heightMm)
{
    return singleBand(BandKind::ColumnHeader, heightMm);
}

Band &Report::detail(double heightMm)
{
    return singleBand(BandKind::Detail, heightMm);
}

Band &Report::addDetail(const QString &name, double heightMm)
{
    detail();
    m_bands.push_back(std::make_unique<Band>(BandKind::Detail, heightMm, name));
    return *m_bands.back();
}

Band &Report::subDetail(Dataset *lines, double heightMm)
{
    m_subDataset = lines;
    return singleBand(BandKind::SubDetail, heightMm);
}

Band &Report::summary(double heightMm)
{
    return singleBand(BandKind::Summary, heightMm);
}

Band &Report::pageFooter(double heightMm)
{
    return singleBand(BandKind::PageFooter, heightMm);
}

Band *Report::band(BandKind kind) const
{
    for (const auto &band : m_bands) {
        if (band->kind() == kind)
            return band.get();
    }
    return nullptr;
}

std::vector<Band *> Report::details() const
{
    std::vector<Band *> out;
    for (const auto &band : m_bands) {
        if (band->kind() == BandKind::Detail)
            out.push_back(band.get());
    }
    return out;
}

void Report::setBandEnabled(const QString &name, bool enabled)
{
    bool found = false;
    for (const auto &band : m_bands) {
        if (!name.isEmpty() && band->name() == name) {
            band->setEnabled(enabled);
            found = true;
        }
    }
    if (!found)
        throw ReportError(QStringLiteral("El informe no tiene una banda llamada %1.").arg(name));
    changed();
}

template<class T> std::vector<T *> Report::elementsNamed(const QString &name, const char *what)
{
    std::vector<T *> out;
    for (const auto &band : m_bands) {
        for (Element *element : band->elementsNamed(name)) {
            if (auto *typed = dynamic_cast<T *>(element))
                out.push_back(typed);
        }
    }
    if (out.empty())
        throw ReportError(QStringLiteral("El informe no tiene %1 llamado %2.").arg(QString::fromUtf8(what), name));
    changed();
    return out;
}

void Report::setCaption(const QString &name, const QString &caption)
{
    for (TextElement *element : elementsNamed<TextElement>(name, "un texto"))
        element->setCaption(caption);
}

void Report::setLines(const QString &name, const QStringList &lines)
{
    setCaption(name, lines.join(QLatin1Char('\n')));
}

void Report::setPicture(const QString &name, const QImage &image)
{
    for (PictureElement *element : elementsNamed<PictureElement>(name, "una imagen"))
        element->setImage(image);
}

bool Report::loadPicture(const QString &name, const QString &path)
{
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    const QImage image = reader.read();
    if (image.isNull())
        return false;
    setPicture(name, image);
    return true;
}

void Report::prepare()
{
    m_prepared = ReportLayouter(*this).run();
}

int Report::pageCount() const
{
    return m_prepared ? m_prepared->pageCount() : 0;
}

const PreparedReport &Report::prepared()
{
    if (!m_prepared)
        prepare();
    return *m_prepared;
}

void Report::preview(QWidget *parent)
{
    prepared();
    ReportPreview window(m_prepared, parent);
    ui::dialogs().showModal(&window);
}

void Report::print()
{
    const PreparedReport &pages = prepared();
    const std::unique_ptr<QPrinter> printer = currentPrinter();
    printReport(pages, *printer);
}

void Report::savePdf(const QString &path)
{
    writePdf(prepared(), path);
}

} // namespace vx::report
