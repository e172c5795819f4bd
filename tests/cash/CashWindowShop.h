#pragma once
// A fresh shop with its data module for the cash windows, on the engine under test; sales go
// through the sale recording, as the counter records them.
#include "../common/Screenshots.h"
#include "../common/TempRoot.h"
#include "../common/TestDatabase.h"
#include "../platform/ReportPdfReader.h"

#include "cash/CashFigures.h"
#include "data/DataModule.h"
#include "data/RowInserter.h"
#include "data/Schema.h"
#include "data/ShopSetup.h"
#include "platform/core/ShopFormat.h"
#include "platform/db/DateTimeValue.h"
#include "platform/report/ReportPreview.h"
#include "platform/ui/FakeDialogs.h"
#include "sales/SaleRecording.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <memory>

class CashWindowShop {
public:
    CashWindowShop()
    {
        TestDatabase created = TestDatabase::withSchema(&data::vendrixSchema(), m_dir.path());
        data::writeStartingRows(*created.connection, QStringLiteral("admin"));
        dm = std::make_unique<TDM1>(std::move(created.connection));
        data::RowInserter(db(), QStringLiteral("STOCK"), {QStringLiteral("ARTCMCT"), QStringLiteral("ARTEX1")})
            .insert({article, 1000.0});
    }
    ~CashWindowShop() { dm.reset(); }

    vx::Connection &db() { return *dm->ADOConnection1; }
    int count(const QString &table, const QString &where = QStringLiteral("1 = 1"))
    {
        return db().scalar(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2").arg(table, where)).toInt();
    }
    int sell(double price, double cash = 0, double card = 0)
    {
        sales::SaleEntry entry;
        entry.dateText = vx::shopformat::formatDate(QDate::currentDate());
        entry.lines = {{article, 1, price}};
        entry.cash = cash;
        entry.card = card;
        return sales::recordSale(db(), entry).receiptNumber;
    }
    void cashRow(const QString &kind, const QString &means, double amount, const QDate &written = QDate::currentDate())
    {
        data::RowInserter(db(), QStringLiteral("CAJA"),
                          {QStringLiteral("CAJMOV"), QStringLiteral("CAJTIP"), QStringLiteral("CAJIMP"),
                           QStringLiteral("CAJFEC"), QStringLiteral("CAJCON")})
            .insert({kind, means, amount, vx::naiveDateTime(written), QStringLiteral("FILA")});
    }

    // Runs `drive` on the window the command shows, instead of a modal loop.
    template<class Window> void onWindow(const std::function<void(Window &)> &drive)
    {
        dialogs.onModal = [this, drive](QDialog *dialog) {
            if (auto *preview = qobject_cast<vx::report::ReportPreview *>(dialog)) {
                preview->savePdf();
            } else if (auto *window = qobject_cast<Window *>(dialog)) {
                window->show();
                screenshots::save(window->grab().toImage(), dialog->objectName() + QStringLiteral(".png"));
                drive(*window);
                shownWindows << dialog->objectName();
            }
            return 0;
        };
    }

    static void type(QLineEdit *box, const QString &text)
    {
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Return);
    }
    static void click(QPushButton *button) { QTest::mouseClick(button, Qt::LeftButton); }

    // The PDF the next preview saves, read back as text.
    QString nextPdf(const QString &name)
    {
        const QString path = root.file(name + QStringLiteral(".pdf"));
        dialogs.fileAnswers.enqueue(path);
        return path;
    }
    static QString pdfText(const QString &path)
    {
        const QString folder = qEnvironmentVariable("VX_SCREENSHOTS");
        if (!folder.isEmpty())
            QFile::copy(path, QDir(folder).filePath(QFileInfo(path).fileName()));
        return pdf::pages(path).join(QLatin1Char('\f'));
    }

    const QString article = QStringLiteral("0000000000001");
    TempRoot root;
    std::unique_ptr<TDM1> dm;
    vx::ui::FakeDialogs dialogs;
    QStringList shownWindows;

private:
    QTemporaryDir m_dir;
};
