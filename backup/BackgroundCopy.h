#pragma once

#include "backup/Backup.h"

#include <QObject>
#include <QString>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

// A copy made on a thread of its own while the operator goes on working: it works with connections
// of its own (backup::CopySource), and how it ended is handed back to the thread that started it.
namespace backup {

class BackgroundCopy : public QObject {
    Q_OBJECT
public:
    using Work = std::function<void(const Progress &)>;
    // Told on the starting thread, through its event loop, once the work is over: the failure's
    // Spanish message, or nothing when the copy was made (or needed not be).
    using Ended = std::function<void(const QString &failure)>;

    // Starts the work at once. Once it has told how the work ended, the object deletes itself.
    BackgroundCopy(Work work, Ended ended, QObject *parent = nullptr);
    // Waits for the work to end: a copy is never cut off half-written.
    ~BackgroundCopy() override;
    BackgroundCopy(const BackgroundCopy &) = delete;
    BackgroundCopy &operator=(const BackgroundCopy &) = delete;

    bool running() const;
    // Waits for the work to end, telling what it is doing as it changes, at least every tenth of a
    // second (the wait window keeps painting meanwhile).
    void waitTelling(const Progress &say);

private:
    void runOnThread(const Work &work);

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_running = true;
    QString m_line;
    std::thread m_thread;
};

}  // namespace backup
