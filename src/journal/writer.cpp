#include "journal/writer.h"

#include "files/datafile.h"
#include "journal/format.h"
#include "run/run.h"
#include "run/stores.h"

#include <chrono>
#include <cstdio>

namespace vemra {

namespace {

// The longest the buffer waits for the disk's thread: what a crash can cost beyond the
// kernel's own.
constexpr int kHandOverMs = 100;
// A buffer this large goes at once.
constexpr std::size_t kHandOverBytes = 256 * 1024;
// What the disk may fall behind before the journal gives up rather than fill the memory.
constexpr std::size_t kMostWaiting = 64 * 1024 * 1024;

std::uint64_t nowUs() {
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
}

std::string text(const QString& value) {
    return value.toStdString();
}

std::string number(double value) {
    char out[32];
    std::snprintf(out, sizeof out, "%.17g", value);
    return out;
}

} // namespace

JournalWriter::JournalWriter(Run* run, QString folder, journal::FileOpener opener, QObject* parent)
    : QObject(parent)
    , run_(run)
    , folder_(std::move(folder))
    , disk_(std::make_unique<journal::Disk>(
          [this, alive = alive_](const QString& reason) {
              if (*alive)
                  QMetaObject::invokeMethod(
                      this, [this, reason] { failed(reason); }, Qt::QueuedConnection);
          },
          std::move(opener))) {
    handOverTimer_.setInterval(kHandOverMs);
    if (!run_)
        return;
    connect(&handOverTimer_, &QTimer::timeout, this, [this] { handOver(); });
    connect(run_, &Run::started, this, &JournalWriter::runStarted);
    connect(run_, &Run::boardBytesTaken, this, [this](const QByteArray& bytes) {
        append(int(journal::ChunkType::Board), {bytes.constData(), std::size_t(bytes.size())});
        rollIfDue();
    });
    connect(run_, &Run::meterCharsTaken, this, [this](const QString& chars) {
        const QByteArray latin1 = chars.toLatin1();
        append(int(journal::ChunkType::Meter), {latin1.constData(), std::size_t(latin1.size())});
    });
    connect(run_, &Run::overrunTaken, this, [this](qint64 bytes) {
        append(int(journal::ChunkType::Overrun),
               journal::encodeFields({{"bytes", std::to_string(bytes)}}));
    });
    connect(run_, &Run::stopped, this, &JournalWriter::runStopped);
    connect(run_, &Run::saved, this, &JournalWriter::runSaved);
}

JournalWriter::~JournalWriter() {
    // A disk that does not answer keeps its thread: the program is ending anyway, and waiting
    // for it would hang the ending.
    if (!finish(2000)) {
        *alive_ = false;
        disk_.release();
    }
}

std::string JournalWriter::header(int segment) const {
    const RunShape& s = run_->shape();
    std::vector<std::pair<std::string, std::string>> fields{
        {"program", "Vemra Measurement 1.4"},
        {"start", text(s.start.toString(Qt::ISODateWithMs))},
        {"segment", std::to_string(segment)},
        {"mask", std::to_string(s.mask())},
        {"channels", std::to_string(s.channels())},
        {"perBlock", std::to_string(s.recordsPerBlock)},
        {"totalPoints", std::to_string(s.totalPoints)},
        {"endless", s.endless ? "1" : "0"},
        {"period", number(s.period)},
        {"external", s.external ? "1" : "0"},
        {"meterLabel", text(s.meterLabel)}};
    for (int ch = 0; ch < 3; ++ch) {
        fields.emplace_back("coeff" + std::to_string(ch), number(s.coefficients[ch]));
        fields.emplace_back("label" + std::to_string(ch), text(s.labels[ch]));
    }
    return journal::encodeFields(fields);
}

void JournalWriter::runStarted(const QString& meterWaiting) {
    handOver();
    if (open_)
        disk_->end(false); // the run before was not saved: its journal stays for recovery
    failure_.clear();
    segment_ = 1;
    segmentRecords_ = segmentReadings_ = 0;
    open_ = true;
    disk_->begin(folder_, QStringLiteral("VemraRun ") + runMoment(run_->shape().start));
    buffer_ = journal::fileStart();
    append(int(journal::ChunkType::Header), header(1));
    const QByteArray waiting = meterWaiting.toLatin1();
    if (!waiting.isEmpty())
        append(int(journal::ChunkType::MeterAtStart),
               {waiting.constData(), std::size_t(waiting.size())});
    handOver();
    handOverTimer_.start();
}

void JournalWriter::append(int type, std::string_view bytes) {
    if (!open_ || !failure_.isEmpty())
        return;
    journal::appendChunk(buffer_, journal::ChunkType(type), nowUs(), bytes);
    if (buffer_.size() >= kHandOverBytes)
        handOver();
}

void JournalWriter::handOver() {
    if (buffer_.empty())
        return;
    if (disk_->waiting() > kMostWaiting) {
        failed(tr("the disk does not keep up with the run"));
        return;
    }
    disk_->append(std::exchange(buffer_, {}));
}

// Once a segment holds a round of the store (and of the readings, when they go with the
// run), the next begins: the last two always hold every column the store holds.
void JournalWriter::rollIfDue() {
    const RunShape& s = run_->shape();
    if (!s.endless || !open_)
        return;
    const qint64 round = endlessRunWidth(s.totalPoints, s.recordsPerBlock);
    if (run_->recordCount() - segmentRecords_ < round ||
        (s.external && run_->readingCount() - segmentReadings_ < round))
        return;
    handOver();
    disk_->roll(++segment_);
    buffer_ = journal::fileStart();
    append(int(journal::ChunkType::Header), header(segment_));
    const QByteArray state = run_->resumeState();
    append(int(journal::ChunkType::Resume), {state.constData(), std::size_t(state.size())});
    handOver();
    if (segment_ > 2)
        disk_->drop(segment_ - 2);
    segmentRecords_ = run_->recordCount();
    segmentReadings_ = run_->readingCount();
}

void JournalWriter::runStopped(bool ending) {
    const RunSnapshot& s = run_->snapshot;
    append(int(journal::ChunkType::Stop),
           journal::encodeFields({{"mask", std::to_string(s.channelMask)},
                                  {"meter", s.meterColumn ? "1" : "0"},
                                  {"step", number(s.timeStep)},
                                  {"ending", ending ? "1" : "0"}}));
    handOver();
}

void JournalWriter::runSaved(const QString& file) {
    if (!open_)
        return;
    append(int(journal::ChunkType::Saved), journal::encodeFields({{"file", text(file)}}));
    handOver();
    disk_->end(!keepRaw_);
    open_ = false;
    handOverTimer_.stop();
}

void JournalWriter::failed(const QString& reason) {
    if (!failure_.isEmpty() || !open_)
        return;
    failure_ = reason;
    buffer_.clear();
    emit stopped(reason);
}

bool JournalWriter::flush(int milliseconds) {
    handOver();
    return disk_->drain(milliseconds);
}

bool JournalWriter::finish(int milliseconds) {
    handOver();
    if (open_)
        disk_->end(false);
    open_ = false;
    handOverTimer_.stop();
    return disk_->drain(milliseconds);
}

} // namespace vemra
