#pragma once

#include <QDateTime>
#include <QElapsedTimer>
#include <QtGlobal>

// Where the run takes its time from: a count of milliseconds that only moves
// forward, for pacing, and the local time, for what is recorded.
class RunClock {
public:
    virtual ~RunClock() = default;
    virtual qint64 elapsedMs() const = 0;
    virtual QDateTime now() const = 0;
};

// The system's monotonic clock, counted from construction, and its local time.
class SteadyRunClock final : public RunClock {
public:
    SteadyRunClock() { m_since.start(); }
    qint64 elapsedMs() const override { return m_since.elapsed(); }
    QDateTime now() const override { return QDateTime::currentDateTime(); }

private:
    QElapsedTimer m_since;
};

// A clock that moves only when told: tests advance it instead of waiting.
class ManualRunClock final : public RunClock {
public:
    explicit ManualRunClock(QDateTime start = QDateTime(QDate(2024, 3, 5), QTime(9, 0)))
        : m_start(std::move(start)) {}
    qint64 elapsedMs() const override { return m_elapsed; }
    QDateTime now() const override { return m_start.addMSecs(m_elapsed); }
    void advance(qint64 ms) { m_elapsed += ms; }

private:
    QDateTime m_start;
    qint64 m_elapsed = 0;
};
