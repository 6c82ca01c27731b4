#include "run/run.h"

#include "board/protocol.h"
#include "meter/scpi.h"
#include "run/stores.h"

#include <QDataStream>
#include <QIODevice>
#include <algorithm>
#include <cmath>
#include <limits>

namespace vemra {

void Run::begin(const RunShape& shape, const QString& meterWaiting) {
    shape_ = shape;
    const int channels = shape.channels();
    // A new run starts from empty stores, whatever their shape.
    samples.redim(0, 0);
    block.redim(0, 0);
    readings.redim(0);
    dimensionSamples(channels, shape.totalPoints, shape.recordsPerBlock);
    dimensionBlock(channels, shape.recordsPerBlock);
    phase_ = nextPhase(phase_, RunEvent::Start);
    dimensionReadings(shape.totalPoints);

    sampleCount = 0;
    readingSlot = 0;
    recordsStored_ = 0;
    readingIndex_ = 0;
    blockRecords = shape.recordsPerBlock;
    freshRecords = 0;
    losses = {};
    link = {};
    records_.restart(channels);
    // Readings are numbered from this Start. What waits belongs to no reading of the run, and
    // a unit half received now has its rest passed over when it comes.
    items_.clear();
    meter_.feed(meterWaiting, items_);
    meter_.realign();
    meter_.takeOutOfStep();
    emit started(meterWaiting);
}

LinkCounts Run::linkHealthCounts() const {
    LinkCounts counts = link;
    counts.droppedBlocks +=
        losses.overrunBytes /
        std::max<int>(1, board::blockLength(shape_.channels(), shape_.recordsPerBlock));
    return counts;
}

bool Run::atEnd() const {
    return !shape_.endless && sampleCount >= shape_.totalPoints - shape_.recordsPerBlock;
}

void Run::takeBoardBytes(const QByteArray& bytes) {
    if (bytes.isEmpty())
        return;
    link.bytes += bytes.size();
    raw_.clear();
    records_.feed(bytes, raw_);
    if (!raw_.empty())
        storeRecords();
    emit boardBytesTaken(bytes);
}

void Run::keepEndingBlock() {
    snapshot.sampleCount = sampleCount;
}

void Run::takeOverrun(qint64 bytes) {
    emit overrunTaken(bytes);
    losses.overrunBytes += bytes;
    emit lossesChanged();
}

// Record i of the run goes to column i of the store; an endless run's records go round the
// columns its blocks fill, so a sample keeps the column its meter reading gets.
void Run::storeRecords() {
    const board::BlockDecode d =
        board::scaleRecords(raw_, shape_.enabled, shape_.coefficients, decoded);
    blockSums = d.sums;
    blockRecords = d.records;
    link.records += d.records;
    link.checksumErrors += d.badChecksums;
    link.damagedRecords += d.damaged;
    freshRecords = d.records;
    if (d.badChecksums > 0)
        emit recordsFailed();

    const int channels = d.channels;
    for (int r = 0; r < channels; ++r)
        for (int i = 0; i < d.records && block.contains(r, i); ++i)
            block.at(r, i) = decoded.at(r, i);

    if (shape_.endless) {
        const int width = endlessRunWidth(shape_.totalPoints, shape_.recordsPerBlock);
        for (int i = 0; i < d.records; ++i) {
            const int column = static_cast<int>(recordsStored_++ % width);
            for (int r = 0; r < channels; ++r)
                if (samples.contains(r, column))
                    samples.at(r, column) = decoded.at(r, i);
            sampleCount = column + 1;
        }
    } else if (channels == 0 || (samples.contains(channels - 1, sampleCount) &&
                                 samples.contains(channels - 1, sampleCount + d.records - 1))) {
        for (int r = 0; r < channels; ++r)
            std::copy_n(decoded.row(r), d.records, samples.row(r) + sampleCount);
        sampleCount += d.records;
        recordsStored_ = sampleCount;
    } else {
        // The store is sized at Start; records that would run past it (more late blocks than
        // its spare columns hold, or a store re-dimensioned mid-run) are dropped whole rather
        // than written out of bounds.
        ++losses.droppedBlocks;
        ++link.droppedBlocks;
        emit lossesChanged();
    }
    emit recordsTaken();
}

void Run::takeMeterChars(const QString& chars) {
    if (chars.isEmpty())
        return;
    items_.clear();
    meter_.feed(chars, items_);
    if (meter_.takeOutOfStep()) {
        ++link.outOfStep;
        emit meterOutOfStep();
    }
    for (const meter::StreamItem& item : items_) {
        if (item.reading.isEmpty()) {
            // Damaged units keep their numbers: their slots stay empty.
            link.lostReadings += item.lost;
            readingIndex_ += item.lost;
        } else {
            takeReading(item.reading);
            ++readingIndex_;
        }
        readingSlot = readingSlotOf(readingIndex_);
    }
    emit meterCharsTaken(chars);
}

// Reading i belongs to sample i: an endless run's readings go round with its samples, and a
// stopped run takes readings only for the samples it holds.
int Run::readingSlotOf(qint64 index) const {
    if (shape_.endless)
        return static_cast<int>(index %
                                endlessRunWidth(shape_.totalPoints, shape_.recordsPerBlock));
    return static_cast<int>(std::min<qint64>(index, std::numeric_limits<int>::max()));
}

void Run::takeReading(const QString& text) {
    ++link.readings;
    link.overloads += std::abs(meter::readingValue(text)) >= meter::kOverload;
    emit readingTaken(text);
    // A reading nobody asked for (the external channel off) is shown and kept while a slot
    // has room, but its lack of room is no loss.
    if (phase_.state == RunState::Stopped && readingIndex_ >= recordsStored_) {
        if (readingsWanted_) {
            ++losses.lateReadings;
            emit lossesChanged();
        }
    } else if (!readings.set(readingSlotOf(readingIndex_), text) && readingsWanted_) {
        ++losses.droppedReadings;
        emit lossesChanged();
    }
}

bool Run::stop(const RunSnapshot& taken) {
    const bool ending = atEnd();
    raw_.clear();
    records_.flush(raw_);
    const bool flushed = !raw_.empty();
    if (flushed)
        storeRecords();
    snapshot = taken;
    snapshot.sampleCount = sampleCount;
    phase_ = nextPhase(phase_, taken.meterColumn ? RunEvent::StopWithMeter : RunEvent::Stop);
    emit stopped(ending);
    return flushed;
}

void Run::markSaved(const QString& file) {
    phase_ = nextPhase(phase_, RunEvent::Saved);
    emit saved(file);
}

QByteArray Run::resumeState() const {
    QByteArray state;
    QDataStream out(&state, QIODevice::WriteOnly);
    out << qint32(sampleCount) << qint32(readingSlot) << recordsStored_ << readingIndex_
        << records_.state() << meter_.state();
    return state;
}

void Run::restore(const QByteArray& state) {
    QDataStream in(state);
    qint32 count = 0, slot = 0;
    QByteArray board;
    QString meter;
    in >> count >> slot >> recordsStored_ >> readingIndex_ >> board >> meter;
    sampleCount = count;
    readingSlot = slot;
    records_.restore(board);
    meter_.restore(meter);
}

void Run::follow(RunEvent event) {
    phase_ = nextPhase(phase_, event);
}

void Run::dimensionSamples(int channels, int totalPoints, int recordsPerBlock) {
    if (dimensionSampleData(samples, channels, totalPoints, recordsPerBlock))
        phase_ = nextPhase(phase_, RunEvent::Redimension);
}

void Run::dimensionBlock(int channels, int recordsPerBlock) {
    dimensionBlockData(block, channels, recordsPerBlock);
}

void Run::dimensionReadings(int lastIndex) {
    if (!phase_.readingsHeld)
        dimensionMultData(readings, lastIndex);
}

void Run::emptyReadings(int lastIndex) {
    if (phase_.state != RunState::Running && !phase_.readingsHeld)
        readings.redim(0);
    dimensionReadings(lastIndex);
}

} // namespace vemra
