#include "platform/ui/Dialogs.h"

#include "platform/db/DbError.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QProcess>
#include <QPushButton>
#include <QUrl>

namespace vx::ui {

namespace {

Dialogs *installed = nullptr;

QString titleOr(const QString &caption)
{
    if (!caption.isEmpty())
        return caption;
    const QString name = QApplication::applicationName();
    return name.isEmpty() ? QStringLiteral("Vendrix") : name;
}

QFileDialog *fileDialog(QWidget *parent, const FileDialogOptions &options, QFileDialog::AcceptMode mode)
{
    auto *dialog = new QFileDialog(parent, options.title, options.folder, options.filter);
    dialog->setAcceptMode(mode);
    dialog->setDefaultSuffix(options.defaultExtension);
    if (!options.proposedName.isEmpty())
        dialog->selectFile(options.proposedName);
    return dialog;
}

QString runFileDialog(QFileDialog *dialog)
{
    QString chosen;
    if (dialog->exec() == QDialog::Accepted && !dialog->selectedFiles().isEmpty())
        chosen = dialog->selectedFiles().first();
    delete dialog;
    return chosen;
}

}  // namespace

Dialogs &dialogs()
{
    static WidgetDialogs real;
    return installed ? *installed : real;
}

void setDialogs(Dialogs *service)
{
    installed = service;
}

QString failureText(const std::exception &failure)
{
    if (const auto *db = dynamic_cast<const DbError *>(&failure))
        return db->message();
    return QString::fromLocal8Bit(failure.what());
}

void WidgetDialogs::showMessage(const QString &text)
{
    information(QApplication::activeWindow(), text, QString());
}

void WidgetDialogs::information(QWidget *parent, const QString &text, const QString &caption)
{
    QMessageBox box(QMessageBox::Information, titleOr(caption), text, QMessageBox::Ok, parent);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("Aceptar"));
    box.exec();
}

void WidgetDialogs::error(QWidget *parent, const QString &text, const QString &caption)
{
    QMessageBox box(QMessageBox::Critical, titleOr(caption), text, QMessageBox::Ok, parent);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("Aceptar"));
    box.exec();
}

void WidgetDialogs::showException(QWidget *parent, const std::exception &failure)
{
    error(parent, failureText(failure), QString());
}

bool WidgetDialogs::confirm(QWidget *parent, const QString &text, const QString &caption)
{
    QMessageBox box(QMessageBox::Question, titleOr(caption), text, QMessageBox::Yes | QMessageBox::No, parent);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("&Sí"));
    box.button(QMessageBox::No)->setText(QStringLiteral("&No"));
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

QString WidgetDialogs::openFileName(QWidget *parent, const FileDialogOptions &options)
{
    auto *dialog = fileDialog(parent, options, QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    return runFileDialog(dialog);
}

QString WidgetDialogs::saveFileName(QWidget *parent, const FileDialogOptions &options)
{
    return runFileDialog(fileDialog(parent, options, QFileDialog::AcceptSave));
}

bool WidgetDialogs::printDialog(QWidget *parent, QPrinter *printer)
{
    QPrintDialog dialog(printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool WidgetDialogs::printerSetupDialog(QWidget *parent, QPrinter *printer)
{
    QPageSetupDialog dialog(printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

int WidgetDialogs::showModal(QDialog *dialog)
{
    return dialog->exec();
}

bool WidgetDialogs::openDocument(const QString &path, const QString &workingFolder)
{
    const QFileInfo info(path);
    if (!info.exists())
        return false;
    if (info.isExecutable() && !info.isDir())
        return QProcess::startDetached(path, {}, workingFolder);
    return QDesktopServices::openUrl(QUrl::fromLocalFile(info.absoluteFilePath()));
}

}  // namespace vx::ui
