#pragma once
// One run, from "Start" to the next "Start": the board's records and the meter's readings
// stored where they belong, the snapshot "Stop" takes for "Save", what the streams lost, and
// the run's place in its lifecycle. The window drives it from its handlers and shows what it
// tells; recovery drives it from a journal the same way, without a window.

#include "board/recordstream.h"
#include "common/matrix.h"
#include "meter/readingstream.h"
#include "run/lifecycle.h"
#include "run/linkcounts.h"
#include "run/readingstore.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

namespace vemra {

// What a run is made of, fixed at its Start.
struct RunShape {
    std::array<int, 3> enabled{};                // CH0..CH2: 1 in the run
    std::array<double, 3> coefficients{1, 1, 1}; // raw × coefficient = value
    int recordsPerBlock = 1;
    int totalPoints = 0;
    bool endless = false; // "Infinite Points": the records go round the store
    double period = 0;    // tenths of a millisecond between records
    std::array<QString, 3> labels;
    bool external = false; // the meter's readings go with the run
    QString meterLabel;
    QDateTime start; // the moment of "Start", which names the run's files

    int channels() const { return (enabled[0] == 1) + (enabled[1] == 1) + (enabled[2] == 1); }
    int mask() const { return (enabled[0] == 1) | (enabled[1] == 1) << 1 | (enabled[2] == 1) << 2; }
};

// What "Stop" took for "Save".
struct RunSnapshot {
    std::int32_t channelMask = 0;
    std::int32_t sampleCount = 0;
    bool meterColumn = false;
    double timeStep = 0; // ms between samples
};

// What the streams could not keep, shown until the next Start.
struct RunLosses {
    int droppedBlocks = 0;   // blocks that did not fit the store
    qint64 overrunBytes = 0; // input that came faster than it was taken
    int droppedReadings = 0; // readings with no slot left
    int lateReadings = 0;    // readings after Stop for no sample of the run
};

class Run : public QObject {
    Q_OBJECT
public:
    // ---- The stores and counts, under the names the window gives them ----
    Matrix samples{1, 1};         // SampleData: a row per channel of the run, a column per sample
    Matrix block{1, 1};           // BlockData: the block last received
    ReadingStore readings;        // MultData: reading i beside sample i
    std::int32_t sampleCount = 0; // SampleCount: where the next record goes
    std::int32_t readingSlot = 0; // MultCount: where the next reading goes
    std::array<double, 3> blockSums{}; // BlockSumCH0..2: of the records last received
    RunSnapshot snapshot;              // SavedChannelMask, SavedSampleCount, ...
    RunLosses losses;
    LinkCounts link; // what the links brought, for the status bar

    // The records the last board bytes completed, calibrated (a row per channel), and how
    // many of them are not yet on the chart.
    Matrix decoded;
    int freshRecords = 0;
    int blockRecords = 0; // the records the block sums hold

    // The links' counts as the status bar tells them: blocks lost to an overrun are dropped
    // blocks too.
    LinkCounts linkHealthCounts() const;

    const RunShape& shape() const { return shape_; }
    const RunPhase& phase() const { return phase_; }
    bool running() const { return phase_.state == RunState::Running; }
    // The stopped run is still in the stores: "Save" can write it.
    bool held() const { return phase_.held; }

    // "Start": empty stores of the run's shape, counts from zero, the meter's characters that
    // wait now read as the end of a unit that belongs to no reading of the run.
    void begin(const RunShape& shape, const QString& meterWaiting);
    // A finite run whose count has reached its total less a block: the next block ends it.
    bool atEnd() const;
    // The bytes of one board comm event.
    void takeBoardBytes(const QByteArray& bytes);
    // A run that ended by itself keeps the block that ended it.
    void keepEndingBlock();
    void takeOverrun(qint64 bytes);
    // Characters from the meter.
    void takeMeterChars(const QString& chars);
    // Whether the operator asked for the meter's readings (the external channel is on).
    void setReadingsWanted(bool wanted) { readingsWanted_ = wanted; }
    // "Stop": the records held back after a failed checksum are stored (they came before the
    // stop), then the snapshot is taken, with the run's count. True when that stored records.
    bool stop(const RunSnapshot& taken);
    void markSaved(const QString& file);
    void follow(RunEvent event);

    // The window's set-ups shape the stores; a new shape of the samples' store loses the
    // stopped run, and the readings' store is left alone while a stopped run holds it.
    void dimensionSamples(int channels, int totalPoints, int recordsPerBlock);
    void dimensionBlock(int channels, int recordsPerBlock);
    void dimensionReadings(int lastIndex);
    // A meter chosen starts on an empty store, unless the readings are a run's: one under
    // way or a stopped one still to be saved.
    void emptyReadings(int lastIndex);

    // The run's counts and its streams' unfinished records and units, to carry the run on
    // from a point of a journal; restoring takes them back.
    QByteArray resumeState() const;
    void restore(const QByteArray& state);
    // Records and readings taken since Start, rounds of an endless run included.
    qint64 recordCount() const { return recordsStored_; }
    qint64 readingCount() const { return readingIndex_; }

signals:
    // With the meter's characters that waited at Start.
    void started(const QString& meterWaiting);
    // What each comm event brought, as it came, once the run has taken it: a journal keeps it.
    void boardBytesTaken(const QByteArray& bytes);
    void meterCharsTaken(const QString& chars);
    void overrunTaken(qint64 bytes);
    // Records stored (or dropped): `decoded` holds them.
    void recordsTaken();
    // Of those, some failed their checksums ("Error Comm").
    void recordsFailed();
    void readingTaken(const QString& text);
    void meterOutOfStep();
    void lossesChanged();
    // ending: the count had reached the end of a finite run, so the block that comes next
    // (in the same comm event when the run ended by itself) is kept with the snapshot.
    void stopped(bool ending);
    void saved(const QString& file);

private:
    void storeRecords();
    void takeReading(const QString& text);
    int readingSlotOf(qint64 index) const;

    RunShape shape_;
    RunPhase phase_;
    board::RecordStream records_;
    std::vector<board::RawRecord> raw_;
    meter::ReadingStream meter_;
    std::vector<meter::StreamItem> items_;
    qint64 recordsStored_ = 0; // records of the run stored, endless rounds included
    qint64 readingIndex_ = 0;  // the next reading's number in the run
    bool readingsWanted_ = false;
};

} // namespace vemra
