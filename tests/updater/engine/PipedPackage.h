#pragma once

#include <QByteArray>
#include <QString>
#include <QTimer>

#include <atomic>
#include <thread>

// A package in a named pipe: whoever reads it waits for a writer, as a reader of a large package
// waits for the disk. The writer is a timer of the test thread's event loop, so the reader gets
// `bytes` only while that loop goes on. A reader that holds the loop up instead gets an empty pipe
// from a thread of the fixture once `boundMs` has passed, so the test ends either way.
class PipedPackage
{
public:
    PipedPackage(const QString& path, const QByteArray& bytes, int boundMs);
    ~PipedPackage();
    PipedPackage(const PipedPackage&) = delete;
    PipedPackage& operator=(const PipedPackage&) = delete;

    bool isMade() const { return m_made; }
    // True when the event loop's timer, not the fixture's thread, fed the reader.
    bool fedByTheEventLoop() const { return m_fedByTheEventLoop; }

private:
    // Writes once in all, and only to a pipe that a reader holds open.
    bool writeOnce(const QByteArray& bytes);

    QByteArray m_name;
    bool m_made = false;
    bool m_fedByTheEventLoop = false;
    std::atomic<bool> m_written{false};
    std::atomic<bool> m_ending{false};
    QTimer m_feeder;
    std::thread m_fallback;
};
