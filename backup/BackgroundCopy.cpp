#include "backup/BackgroundCopy.h"

#include "platform/db/DbError.h"

#include <QMetaObject>

#include <chrono>
#include <exception>

namespace backup {

BackgroundCopy::BackgroundCopy(Work work, Ended ended, QObject *parent) : QObject(parent)
{
    m_thread = std::thread([this, work = std::move(work), ended = std::move(ended)] {
        QString failure;
        try {
            work([this](const QString &line) {
                const std::lock_guard lock(m_mutex);
                m_line = line;
                m_changed.notify_all();
            });
        } catch (const vx::DbError &error) {
            failure = error.message();
        } catch (const std::exception &error) {
            failure = QString::fromLocal8Bit(error.what());
        } catch (...) {
            failure = QStringLiteral("La copia de seguridad se interrumpió por un error inesperado.");
        }
        {
            const std::lock_guard lock(m_mutex);
            m_running = false;
            m_changed.notify_all();
        }
        // Dropped, unheard, when this object is gone first: only when the program is closing.
        QMetaObject::invokeMethod(
            this,
            [this, ended, failure] {
                ended(failure);
                deleteLater();
            },
            Qt::QueuedConnection);
    });
}

BackgroundCopy::~BackgroundCopy()
{
    m_thread.join();
}

bool BackgroundCopy::running() const
{
    const std::lock_guard lock(m_mutex);
    return m_running;
}

void BackgroundCopy::waitTelling(const Progress &say)
{
    std::unique_lock lock(m_mutex);
    while (m_running) {
        const QString line = m_line;
        lock.unlock();
        say(line);
        lock.lock();
        m_changed.wait_for(lock, std::chrono::milliseconds(100));
    }
}

}  // namespace backup
