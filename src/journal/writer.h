#pragma once
// The run's journal: a listener of the run that appends what each comm event brought, with
// its time, to the run's journal file, so that a run survives any ending and can be played
// again. The event thread only encodes and buffers; the buffer goes to the disk's thread at
// least every 100 ms. A saved run's journal is removed unless raw captures are kept; an
// endless run's rolls over to a new segment once a segment holds a round of its store, and
// only the last two segments are kept.

#include "journal/disk.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <atomic>
#include <memory>
#include <string>

namespace vemra {

class Run;

class JournalWriter : public QObject {
    Q_OBJECT
public:
    // Journals of `run` go to `folder` (made when missing), their files made by `opener`. A
    // writer of no run journals nothing.
    JournalWriter(Run* run, QString folder, journal::FileOpener opener = {},
                  QObject* parent = nullptr);
    ~JournalWriter() override;

    void setKeepRawCaptures(bool keep) { keepRaw_ = keep; }
    bool keepRawCaptures() const { return keepRaw_; }

    // Why the run's journal stopped, in the system's words; empty while it goes.
    QString failure() const { return failure_; }

    // Hands everything buffered to the disk and waits for it, at most `milliseconds`.
    bool flush(int milliseconds);
    // The same, and the journal is closed: at the station's end, so the journal is whole up to
    // its last event.
    bool finish(int milliseconds);

signals:
    void stopped(const QString& reason);

private:
    void runStarted(const QString& meterWaiting);
    void append(int type, std::string_view bytes);
    void handOver();
    void rollIfDue();
    void runStopped(bool ending);
    void runSaved(const QString& file);
    void failed(const QString& reason);
    std::string header(int segment) const;

    Run* run_;
    QString folder_;
    std::shared_ptr<std::atomic<bool>> alive_ = std::make_shared<std::atomic<bool>>(true);
    std::unique_ptr<journal::Disk> disk_;
    QTimer handOverTimer_;
    std::string buffer_;
    bool open_ = false;
    bool keepRaw_ = false;
    QString failure_;
    int segment_ = 1;
    qint64 segmentRecords_ = 0; // records and readings of the run before this segment
    qint64 segmentReadings_ = 0;
};

} // namespace vemra
