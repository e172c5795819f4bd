#pragma once

#include "platform/VxPlatformExport.h"
#include "platform/ui/Dialogs.h"

#include <QList>
#include <QQueue>

#include <functional>

namespace vx::ui {

// A scripted stand-in for the dialogs: records everything shown, in order, and answers from
// queues. Installs itself on construction and restores the real service on destruction.
class VXPLATFORM_EXPORT FakeDialogs : public Dialogs {
public:
    struct Shown {
        QString kind;     // "message", "information", "error", "confirm", "open", "save",
                          // "print", "printerSetup", "modal", "openDocument"
        QString text;     // the message, the dialog's title, the window's object name or the path
        QString caption;  // the caption, or the working folder for openDocument
    };

    FakeDialogs();
    ~FakeDialogs() override;

    QList<Shown> shown;
    QQueue<bool> confirmAnswers;     // an empty queue answers No
    QQueue<QString> fileAnswers;     // an empty queue answers "cancelled"
    QQueue<bool> printAnswers;       // an empty queue answers "cancelled"
    QQueue<bool> openAnswers;        // an empty queue answers "opened"
    // Runs for each modal show instead of a modal loop; by default the window is rejected.
    std::function<int(QDialog *)> onModal;
    // Runs for each accepted print dialog, e.g. to point the printer at a PDF file.
    std::function<void(QPrinter *)> onPrint;

    // The texts of what was shown of one kind, in order.
    QStringList texts(const QString &kind) const;

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

}  // namespace vx::ui
