#include "backup/IdleThread.h"

#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>

#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

namespace backup {

namespace {

void yieldToEveryone()
{
    const sched_param none{};
    // A system that refuses the idle policy still lets a thread lower its niceness.
    if (::sched_setscheduler(0, SCHED_IDLE, &none) != 0)
        ::setpriority(PRIO_PROCESS, id_t(::gettid()), 19);
}

}  // namespace

bool atIdlePriority()
{
    return ::sched_getscheduler(0) == SCHED_IDLE;
}

void runAtIdlePriority(const std::function<void(const Progress &)> &work, const Progress &progress)
{
    std::mutex mutex;
    std::condition_variable changed;
    std::optional<QString> told;
    bool running = true;
    std::exception_ptr failure;
    std::thread worker([&] {
        yieldToEveryone();
        try {
            work([&](const QString &line) {
                const std::lock_guard lock(mutex);
                told = line;
                changed.notify_all();
            });
        } catch (...) {
            failure = std::current_exception();
        }
        const std::lock_guard lock(mutex);
        running = false;
        changed.notify_all();
    });
    // Joined however the caller's side ends, a progress that throws included.
    struct Joined {
        std::thread &thread;
        ~Joined() { thread.join(); }
    } joined{worker};
    std::unique_lock lock(mutex);
    for (;;) {
        changed.wait_for(lock, std::chrono::milliseconds(200), [&] { return told || !running; });
        if (told) {
            const QString line = *std::exchange(told, std::nullopt);
            lock.unlock();
            progress(line);
            lock.lock();
        } else if (!running) {
            break;
        }
    }
    lock.unlock();
    if (failure)
        std::rethrow_exception(failure);
}

}  // namespace backup
