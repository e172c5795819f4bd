#pragma once

#include "platform/VxPlatformExport.h"

#include <QString>
#include <QStringList>

#include <exception>

class QDialog;
class QPrinter;
class QWidget;

namespace vx::ui {

// What a file dialog proposes to the operator.
struct FileDialogOptions {
    QString title;
    QString defaultExtension;  // without the dot: "xls"
    QString proposedName;      // file name (or path) shown when the dialog opens
    QString filter;            // "Hojas de cálculo (*.xls)"
    QString folder;            // where the dialog starts
};

// Every message, question, file dialog, print dialog, modal show and shell open of the program
// goes through this one service, so that tests replace it with a scripted fake and no test ever
// waits on a real modal loop.
class VXPLATFORM_EXPORT Dialogs {
public:
    virtual ~Dialogs() = default;

    // An information box with the program's title (the plain "show message").
    virtual void showMessage(const QString &text) = 0;
    virtual void information(QWidget *parent, const QString &text, const QString &caption) = 0;
    virtual void error(QWidget *parent, const QString &text, const QString &caption) = 0;
    // The default display of a failure nobody handled: an error box with its message.
    virtual void showException(QWidget *parent, const std::exception &failure) = 0;
    // A Yes/No question with Spanish buttons; true for Yes.
    virtual bool confirm(QWidget *parent, const QString &text, const QString &caption) = 0;

    // The chosen path, or empty when cancelled.
    virtual QString openFileName(QWidget *parent, const FileDialogOptions &options) = 0;
    virtual QString saveFileName(QWidget *parent, const FileDialogOptions &options) = 0;

    // True when the operator accepted; the printer then holds the choices.
    virtual bool printDialog(QWidget *parent, QPrinter *printer) = 0;
    virtual bool printerSetupDialog(QWidget *parent, QPrinter *printer) = 0;

    // Shows a window modally and returns its result code.
    virtual int showModal(QDialog *dialog) = 0;

    // Opens a document or starts a program by path, in the given working folder. False when it
    // could not be opened.
    virtual bool openDocument(const QString &path, const QString &workingFolder) = 0;
};

// The service in use: the real dialogs unless a test installed another.
VXPLATFORM_EXPORT Dialogs &dialogs();
// Installs a service (a fake in tests); nullptr restores the real one. The caller keeps ownership.
VXPLATFORM_EXPORT void setDialogs(Dialogs *service);

// The real service, on Qt's dialogs with Spanish texts.
class VXPLATFORM_EXPORT WidgetDialogs : public Dialogs {
public:
    void showMessage(const QString &text) override;
    void information(QWidget *parent, const QString &text, const QString &caption) override;
    void error(QWidget *parent, const QString &text, const QString &caption) override;
    void showException(QWidget *parent, const std::exception &failure) override;
    bool confirm(QWidget *parent, const QString &text, const QString &caption) override;
    QString openFileName(QWidget *parent, const FileDialogOptions &options) override;
    QString saveFileName(QWidget *parent, const FileDialogOptions &options) override;
    bool printDialog(QWidget *parent, QPrinter *printer) override;
    bool printerSetupDialog(QWidget *parent, QPrinter *printer) override;
    int showModal(QDialog *dialog) override;
    bool openDocument(const QString &path, const QString &workingFolder) override;
};

// The message of a failure as the operator should read it (the Spanish text of our own errors).
VXPLATFORM_EXPORT QString failureText(const std::exception &failure);

// Opens a fresh modal window of type `Window`, gone when it closes. A window that cannot make
// itself ready (`prepare()` throws, its lists unreadable) tells why and does not open.
template <class Window>
void openPrepared(QWidget *parent)
{
    Window window(parent);
    try {
        window.prepare();
    } catch (const std::exception &failure) {
        dialogs().showException(parent, failure);
        return;
    }
    dialogs().showModal(&window);
}

}  // namespace vx::ui
