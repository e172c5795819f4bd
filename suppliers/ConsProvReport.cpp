#include "suppliers/ConsProvReport.h"

#include "platform/core/ShopFormat.h"
#include "platform/report/Report.h"

namespace suppliers {

namespace {

// Amounts that are not there (a payment's Debe) print nothing rather than 0,00.
const QString amountOrBlank = QStringLiteral("#,##0.00;-#,##0.00; ");

QString amount(double value)
{
    return vx::shopformat::formatFixed(value, 2);
}

} // namespace

std::unique_ptr<vx::report::Report> qrCuentaProv(vx::Dataset &lines, const QString &supplier, const vx::DayRange &days,
                                                 const AccountTotals &totals)
{
    auto report = std::make_unique<vx::report::Report>(vx::report::PageSetup::a4());
    report->setTitle(QStringLiteral("Cuenta Corriente de Proveedor"));
    report->setDataset(&lines);
    report->pageHeader(18)
        .text({0, 0, 130, 7}, QStringLiteral("CUENTA CORRIENTE DE PROVEEDOR")).bold().size(13)
        .text({0, 8, 130, 5}, QStringLiteral("Proveedor: %1").arg(supplier))
        .text({0, 13, 130, 5}, QStringLiteral("Desde el %1 - Hasta el %2").arg(days.firstText(), days.lastText()))
        .pageNumber({140, 0, 50, 5}, QStringLiteral("Pagina %1 de %2")).right();
    report->columnHeader(6)
        .text({0, 0, 22, 5}, QStringLiteral("Fecha")).bold()
        .text({23, 0, 12, 5}, QStringLiteral("Tipo")).bold()
        .text({36, 0, 24, 5}, QStringLiteral("Comprobante")).bold().right()
        .text({61, 0, 28, 5}, QStringLiteral("Debe")).bold().right()
        .text({90, 0, 28, 5}, QStringLiteral("Haber")).bold().right()
        .text({119, 0, 28, 5}, QStringLiteral("Saldo")).bold().right()
        .text({150, 0, 40, 5}, QStringLiteral("Observaciones")).bold()
        .hline(5.5, 0, 190);
    report->detail(5)
        .field({0, 0, 22, 5}, QLatin1String(AccountColumn::date))
        .field({23, 0, 12, 5}, QLatin1String(AccountColumn::kind))
        .field({36, 0, 24, 5}, QLatin1String(AccountColumn::number)).mask(QStringLiteral("0; ; ")).right()
        .field({61, 0, 28, 5}, QLatin1String(AccountColumn::owed)).mask(amountOrBlank).right()
        .field({90, 0, 28, 5}, QLatin1String(AccountColumn::paid)).mask(amountOrBlank).right()
        .field({119, 0, 28, 5}, QLatin1String(AccountColumn::balance)).mask(QStringLiteral("#,##0.00")).right()
        .field({150, 0, 40, 5}, QLatin1String(AccountColumn::note));
    report->summary(16)
        .hline(1, 0, 190)
        .text({23, 3, 37, 5}, QStringLiteral("Saldo Anterior:")).bold().right()
        .text({61, 3, 28, 5}, amount(totals.opening)).right()
        .text({23, 9, 37, 5}, QStringLiteral("Totales:")).bold().right()
        .text({61, 9, 28, 5}, amount(totals.owed)).bold().right()
        .text({90, 9, 28, 5}, amount(totals.paid)).bold().right()
        .text({119, 9, 28, 5}, amount(totals.closing)).bold().right();
    return report;
}

} // namespace suppliers
