#pragma once

#include <QObject>
#include <QString>

#include <stdexcept>

class QLocalServer;
class QWidget;

// One running copy of the program per executable file and user. The first copy holds an
// exclusive lock on a file named from the executable's path; the operating system releases it
// when the process ends, however it ends, so a crash never locks the shop out. The holder also
// listens on a local socket of the same name: a later start from the same path connects to it to
// bring the first copy to the front, then ends. A copy in another folder has another name and
// runs beside it.
class CheckPrevious : public QObject {
    Q_OBJECT
public:
    // The system's message when the lock file cannot be created.
    class Error : public std::runtime_error {
    public:
        using std::runtime_error::runtime_error;
    };

    explicit CheckPrevious(const QString &executablePath, QObject *parent = nullptr);
    ~CheckPrevious() override;

    // True when this process may run. False when another copy from the same path runs; that copy
    // has then been asked to come to the front. Throws Error when the lock file cannot be made.
    bool acquire();
    bool held() const { return m_lockFd >= 0; }
    QString name() const { return m_name; }

signals:
    // A later start from the same path asked this copy to come to the front.
    void raiseRequested();

private:
    void listen();
    void askHolderToRaise() const;

    QString m_name;
    int m_lockFd = -1;
    QLocalServer *m_server = nullptr;
};

// Restores a minimised window, shows it above the others and gives it the focus.
void bringToFront(QWidget *window);
