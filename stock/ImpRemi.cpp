#include "stock/ImpRemi.h"

#include "platform/core/Paths.h"
#include "platform/core/ShopFormat.h"
#include "platform/db/Table.h"
#include "platform/report/Report.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>

namespace {

const QString letterheadName = QStringLiteral("membrete.txt");
const QString logoName = QStringLiteral("logo.bmp");

QStringList searchFolders()
{
    return {vx::paths::userFolder(), QDir::currentPath()};
}

// Files written on the shop's older machines are in their 8-bit code page; ours are UTF-8.
QString decode(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

}  // namespace

TFImpRemi::TFImpRemi(vx::Connection &connection) : m_rows(connection, QStringLiteral("IMPREMITO")) {}

TFImpRemi::~TFImpRemi() = default;

QStringList TFImpRemi::builtInLetterhead()
{
    return {QStringLiteral("(Membrete del negocio: escríbalo en el archivo membrete.txt)")};
}

std::optional<QStringList> TFImpRemi::letterhead()
{
    for (const QString &folder : searchFolders()) {
        QFile file(vx::paths::findCaseInsensitive(folder, letterheadName));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        QString text = decode(file.readAll());
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        QStringList lines = text.split(QLatin1Char('\n'));
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }
    return std::nullopt;
}

QImage TFImpRemi::logo()
{
    for (const QString &folder : searchFolders()) {
        QImage image(vx::paths::findCaseInsensitive(folder, logoName));
        if (!image.isNull())
            return image;
    }
    return {};
}

void TFImpRemi::clear()
{
    m_rows.close();
}

std::unique_ptr<vx::report::Report> TFImpRemi::build(const QList<stock::NoteLine> &lines, const Print &print)
{
    m_rows.stage(lines);
    const bool issues = print.mode == stock::NoteMode::Issues;
    const QString number = lines.isEmpty() ? QString() : QString::number(lines.first().number);
    const QString date = lines.isEmpty() ? QString() : vx::shopformat::formatDate(lines.first().date);

    auto report = std::make_unique<vx::report::Report>(vx::report::PageSetup::a4().setMargins(12));
    report->setTitle(QStringLiteral("Remito %1").arg(number));
    report->setDataset(&m_rows.view());

    const double letterheadHeight = 5.0 * std::max<qsizetype>(1, print.letterhead.size());
    report->pageHeader(std::max(32.0, letterheadHeight + 4))
        .picture(QStringLiteral("Logo"), {0, 0, 50, 28}, print.logo)
        .memo(QStringLiteral("Membrete"), {54, 0, 80, letterheadHeight}, print.letterhead)
        .label(QStringLiteral("Numero"), {136, 2, 50, 7}, QStringLiteral("Remito No. ") + number)
        .size(12)
        .bold()
        .label(QStringLiteral("Fecha"), {136, 11, 50, 6}, QStringLiteral("Fecha: ") + date);

    // The mode's heading stands over both quantity columns.
    const QString prefix = issues ? QStringLiteral("Salida del ") : QStringLiteral("Entrada al ");
    vx::report::Band &columns = report->columnHeader(13);
    columns.hline(0.5, 0, 186);
    columns.text({134, 2, 52, 5}, prefix).bold().center();
    columns.text({0, 7, 30, 5}, QStringLiteral("ARTICULO")).bold();
    columns.text({32, 7, 100, 5}, QStringLiteral("DESCRIPCION")).bold();
    columns.text({134, 7, 25, 5}, QStringLiteral("Depos.1")).bold().right();
    columns.text({161, 7, 25, 5}, QStringLiteral("Depos.2")).bold().right();
    columns.hline(12.5, 0, 186);

    const QString quantity = QStringLiteral("0.######");
    report->detail(5)
        .field({0, 0, 30, 5}, QStringLiteral("TM1CHR1"))
        .field({32, 0, 100, 5}, QStringLiteral("TM1CHR10"))
        .field({134, 0, 25, 5}, QStringLiteral("TM1NUM2"))
        .mask(quantity)
        .right()
        .field({161, 0, 25, 5}, QStringLiteral("TM1NUM3"))
        .mask(quantity)
        .right();

    const QString caption = issues
        ? QStringLiteral("Total de Unidades Entregadas desde cada Depósito, según Comprobante: ")
        : QStringLiteral("Total de Unidades Ingresadas en cada Depósito, según Comprobante: ");
    vx::report::Band &summary = report->summary(10);
    summary.hline(1, 0, 186);
    summary.label(QStringLiteral("Titulo"), {0, 3, 132, 5}, caption).bold();
    summary.label(QStringLiteral("Total1"), {134, 3, 25, 5}, print.total1).bold().right();
    summary.label(QStringLiteral("Total2"), {161, 3, 25, 5}, print.total2).bold().right();
    return report;
}
