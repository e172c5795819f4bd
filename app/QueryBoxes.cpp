#include "app/QueryBoxes.h"

#include "export/DataToXLS.h"
#include "platform/core/Paths.h"
#include "platform/core/ShopFormat.h"
#include "platform/db/Dataset.h"
#include "platform/ui/Dialogs.h"

#include <QDir>
#include <QLineEdit>

namespace app {

bool normaliseDateBox(QLineEdit *box, const QDate &whenEmpty, QWidget *parent)
{
    if (box->text().trimmed().isEmpty()) {
        box->setText(whenEmpty.isValid() ? vx::shopformat::formatDate(whenEmpty) : QString());
        return true;
    }
    try {
        box->setText(vx::normalisedDateText(box->text(), whenEmpty));
        return true;
    } catch (const vx::DayRangeError &failure) {
        vx::ui::dialogs().error(parent, failure.message(), QString());
        return false;
    }
}

std::optional<vx::DayRange> readDays(QLineEdit *from, QLineEdit *to, const QDate &fromDefault, const QDate &toDefault,
                                     QWidget *parent)
{
    try {
        const vx::DayRange days = vx::DayRange::fromTexts(from->text(), to->text(), fromDefault, toDefault);
        from->setText(days.firstText());
        to->setText(days.lastText());
        return days;
    } catch (const vx::DayRangeError &failure) {
        vx::ui::dialogs().error(parent, failure.message(), QString());
        return std::nullopt;
    }
}

void exportList(QWidget *parent, vx::Dataset &list, const QString &title, const QList<ExportColumn> &columns)
{
    const QString folder = vx::paths::userFolder();
    vx::ui::FileDialogOptions options;
    options.title = QStringLiteral("Guardar archivo:");
    options.defaultExtension = QStringLiteral("xls");
    options.proposedName = QDir(folder).filePath(QStringLiteral("Consulta de Stock.xls"));
    options.folder = folder;
    options.filter = QStringLiteral("Hojas de cálculo (*.xls)");
    const QString path = vx::ui::dialogs().saveFileName(parent, options);
    if (path.isEmpty())
        return;
    try {
        TDataToXLS xls;
        xls.setDataSet(&list);
        xls.Title().Text = title;
        for (const ExportColumn &column : columns) {
            TxlColumn *added = xls.Columns().addColumn();
            added->DataField = column.field;
            added->Title = column.title;
        }
        xls.SaveToFile(path);
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(parent, failure);
        return;
    }
    vx::ui::dialogs().showMessage(QStringLiteral("Exportación Terminada."));
}

QString totalText(double value, bool grouped)
{
    return grouped ? vx::shopformat::formatFloat(QStringLiteral("#,##0.00"), value) : vx::shopformat::formatFixed(value, 2);
}

}  // namespace app
