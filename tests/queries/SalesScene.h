#pragma once

#include "QueryShop.h"
#include "../export/LibreOfficeCsv.h"
#include "../platform/ReportPdfReader.h"

#include "platform/report/ReportPreview.h"

#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>

#include <functional>

// The sales of a few November days, with what the queries must get right: a range's first and
// last second, a cancelled receipt and line, null quantity and mark, a receipt of kind "11", a
// customer and an article that are gone.
inline void addNovemberSales(QueryShop &shop)
{
    shop.addArticle(QStringLiteral("0000000000100"), QStringLiteral("CAMISA AZUL"));
    shop.addArticle(QStringLiteral("0000000000150"), QStringLiteral("PANTALON"));
    shop.addArticle(QStringLiteral("0000000000199"), QStringLiteral("CAMPERA"));
    shop.addArticle(QStringLiteral("0000000000200"), QStringLiteral("MEDIAS"));
    shop.addCustomer(1, QStringLiteral("CONSUMIDOR FINAL"));
    shop.addCustomer(2, QStringLiteral("PEREZ ANA"));
    shop.addOperator(1, QStringLiteral("ANA OPE"));
    shop.addOperator(2, QStringLiteral("LUIS OPE"));
    shop.addReceiptHeader(1, at(10, "00:00:00"), 100.5, false, "1B", 2);
    shop.addLine(1, at(10, "00:00:00"), QStringLiteral("0000000000100"), 2, 10, 4, false, 2, 1);
    shop.addLine(1, at(10, "00:00:00"), QStringLiteral("0000000000150"), 1, 30, 12, true, 2, 1);
    shop.addReceiptHeader(2, at(12, "23:59:59"), 50, true, "1B", 1);
    shop.addLine(2, at(12, "23:59:59"), QStringLiteral("0000000000199"), 1, 50, 20, true, 1, 2);
    shop.addReceiptHeader(3, at(12, "15:00:00"), 30, QVariant(), "1B", 9);
    shop.addLine(3, at(12, "15:00:00"), QStringLiteral("0000000000200"), QVariant(), 30, 5, QVariant(), 9, 1);
    shop.addReceiptHeader(4, at(13, "00:00:00"), 999, false, "1B", 1);
    shop.addLine(4, at(13, "00:00:00"), QStringLiteral("0000000000100"), 5, 10, 4, false, 1, 1);
    shop.addReceiptHeader(5, at(11), 77, false, "11", 1);
    shop.addReceiptHeader(6, at(11), 40, false, "1A", 2);
    shop.addLine(6, at(11), QStringLiteral("GONE"), 1, 40, 1, false, 2, 1);
}

// Runs the steps on the window while its opening command shows it, as the operator would; a
// print preview met meanwhile is saved to `pdfPath`.
template<class Window>
void whileShown(QueryShop &shop, const std::function<void(Window &)> &steps)
{
    shop.dialogs.onModal = [steps](QDialog *dialog) {
        if (auto *preview = qobject_cast<vx::report::ReportPreview *>(dialog)) {
            preview->savePdf();
        } else if (auto *window = qobject_cast<Window *>(dialog)) {
            window->show();
            window->activateWindow();
            if (QTest::qWaitForWindowActive(window))
                steps(*window);
            window->hide();
        }
        return int(QDialog::Accepted);
    };
}

// A picture of the window as it stands, for a developer to look at.
inline void snapshot(QWidget &window)
{
    screenshots::save(window.grab().toImage(), window.objectName() + QStringLiteral(".png"));
}

// Keeps a copy of a file the test wrote, for a developer to look at.
inline void keepCopy(const QString &path)
{
    const QString folder = qEnvironmentVariable("VX_SCREENSHOTS");
    if (!folder.isEmpty())
        QFile::copy(path, QDir(folder).filePath(QFileInfo(path).fileName()));
}
