#pragma once

#include <QEventLoop>
#include <QMetaObject>

#include <thread>

// Runs `work` on a thread of its own while this thread's events go on, and returns its result.
// Checking and unpacking a package of a gigabyte takes half a minute: the windows keep painting
// and their timers keep firing meanwhile. `work` must touch no object of the calling thread, and
// the caller must expect anything of its own to have changed, or gone, when this returns.
template <typename Work>
auto runBesideEventLoop(Work work) -> decltype(work())
{
    decltype(work()) result{};
    QEventLoop loop;
    std::thread worker([&] {
        result = work();
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    // The loop also ends when the application quits; the work is waited for all the same.
    worker.join();
    return result;
}
