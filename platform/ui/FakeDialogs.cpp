#include "platform/ui/FakeDialogs.h"

#include <QDialog>

namespace vx::ui {

FakeDialogs::FakeDialogs()
{
    setDialogs(this);
}

FakeDialogs::~FakeDialogs()
{
    setDialogs(nullptr);
}

QStringList FakeDialogs::texts(const QString &kind) const
{
    QStringList out;
    for (const Shown &s : shown) {
        if (s.kind == kind)
            out << s.text;
    }
    return out;
}

void FakeDialogs::showMessage(const QString &text)
{
    shown << Shown{QStringLiteral("message"), text, {}};
}

void FakeDialogs::information(QWidget *, const QString &text, const QString &caption)
{
    shown << Shown{QStringLiteral("information"), text, caption};
}

void FakeDialogs::error(QWidget *, const QString &text, const QString &caption)
{
    shown << Shown{QStringLiteral("error"), text, caption};
}

void FakeDialogs::showException(QWidget *parent, const std::exception &failure)
{
    error(parent, failureText(failure), QString());
}

bool FakeDialogs::confirm(QWidget *, const QString &text, const QString &caption)
{
    shown << Shown{QStringLiteral("confirm"), text, caption};
    return !confirmAnswers.isEmpty() && confirmAnswers.dequeue();
}

QString FakeDialogs::openFileName(QWidget *, const FileDialogOptions &options)
{
    shown << Shown{QStringLiteral("open"), options.title, options.proposedName};
    return fileAnswers.isEmpty() ? QString() : fileAnswers.dequeue();
}

QString FakeDialogs::saveFileName(QWidget *, const FileDialogOptions &options)
{
    shown << Shown{QStringLiteral("save"), options.title, options.proposedName};
    return fileAnswers.isEmpty() ? QString() : fileAnswers.dequeue();
}

bool FakeDialogs::printDialog(QWidget *, QPrinter *printer)
{
    shown << Shown{QStringLiteral("print"), {}, {}};
    const bool accepted = !printAnswers.isEmpty() && printAnswers.dequeue();
    if (accepted && onPrint)
        onPrint(printer);
    return accepted;
}

bool FakeDialogs::printerSetupDialog(QWidget *, QPrinter *)
{
    shown << Shown{QStringLiteral("printerSetup"), {}, {}};
    return !printAnswers.isEmpty() && printAnswers.dequeue();
}

int FakeDialogs::showModal(QDialog *dialog)
{
    shown << Shown{QStringLiteral("modal"), dialog->objectName(), dialog->windowTitle()};
    return onModal ? onModal(dialog) : int(QDialog::Rejected);
}

bool FakeDialogs::openDocument(const QString &path, const QString &workingFolder)
{
    shown << Shown{QStringLiteral("openDocument"), path, workingFolder};
    return openAnswers.isEmpty() || openAnswers.dequeue();
}

}  // namespace vx::ui
