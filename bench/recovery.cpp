// Recovery of a long run that was not saved, as the operator meets it: the journal of a run of
// [records] records (default 1,000,000) × 3 channels in blocks of 10, a record a millisecond,
// cut short by a crash (no Stop), with a meter reading per record when asked; then the time
// start-up takes to find it and count it (findUnsavedRuns) and the time "Recover" takes to
// write its data file and remove the journal (recoverRun). Each is the median of [rounds]
// rounds (default 5), the journal written afresh before each and read from the page cache,
// as after a station that was killed; a cold disk after a power cut adds its read time.
//   bench_recovery [records] [meter|no-meter] [rounds]

#include "journal/recovery.h"
#include "board/protocol.h"
#include "journal/format.h"
#include "station.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <random>

using namespace vemra;
using namespace vemra::bench;

namespace {

std::string journalOf(int records, bool meter) {
    using namespace vemra::journal;
    std::string file = fileStart();
    appendChunk(file, ChunkType::Header, 0,
                encodeFields({{"program", "Vemra Measurement 1.4"},
                              {"start", "2026-05-12T09:30:00.000"},
                              {"segment", "1"},
                              {"mask", "7"},
                              {"channels", "3"},
                              {"perBlock", "10"},
                              {"totalPoints", std::to_string(records)},
                              {"endless", "0"},
                              {"period", "10"},
                              {"external", meter ? "1" : "0"},
                              {"meterLabel", "Resistence (Ohm)"},
                              {"coeff0", "0.5"},
                              {"coeff1", "1"},
                              {"coeff2", "2"},
                              {"label0", "Force (g)"},
                              {"label1", "CH1 (a.u.)"},
                              {"label2", "CH2 (a.u.)"}}));
    // A force ramp with noise on every channel, so the numbers have a data file's variety.
    std::mt19937 random(7);
    std::uniform_int_distribution<int> noise(-8, 8);
    std::string block;
    for (int i = 0; i < records; ++i) {
        std::uint8_t record[8] = {static_cast<std::uint8_t>(i)};
        for (int ch = 0; ch < 3; ++ch) {
            const int raw = std::clamp((i / 1000 + ch * 300) % 1024 + noise(random), 0, 1023);
            record[1 + 2 * ch] = static_cast<std::uint8_t>(raw & 0xFF);
            record[2 + 2 * ch] = static_cast<std::uint8_t>(raw >> 8);
        }
        record[7] = board::recordChecksum(record + 1, 6);
        block.append(reinterpret_cast<const char*>(record), sizeof record);
        const std::uint64_t at = 1000ull * static_cast<std::uint64_t>(i);
        if (block.size() == 10 * sizeof record) {
            appendChunk(file, ChunkType::Board, at, block);
            block.clear();
        }
        if (meter) {
            char unit[32];
            std::snprintf(unit, sizeof unit, "%+.8E,", 1000.0 + 0.01 * noise(random));
            appendChunk(file, ChunkType::Meter, at + 500, unit);
        }
    }
    return file;
}

struct Spread {
    double median = 0, min = 0, max = 0;
};

Spread spread(const QList<double>& v) {
    return {vemra::bench::median(v), *std::min_element(v.begin(), v.end()),
            *std::max_element(v.begin(), v.end())};
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int records = argc > 1 ? std::atoi(argv[1]) : 1'000'000;
    const bool meter = argc > 2 && QLatin1String(argv[2]) == QLatin1String("meter");
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 5;
    if (records < 10 || rounds < 1) {
        std::fprintf(stderr, "usage: %s [records] [meter|no-meter] [rounds]\n", argv[0]);
        return 2;
    }
    const QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("VemraJournal"));
    const QString path = folder + QStringLiteral("/VemraRun 12-5 9-30-0.journal");
    QDir().mkpath(folder);
    const std::string journal = journalOf(records, meter);

    QList<double> finding, recovering;
    qint64 dataBytes = 0;
    for (int round = 0; round < rounds; ++round) {
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly) ||
            out.write(journal.data(), static_cast<qint64>(journal.size())) !=
                static_cast<qint64>(journal.size())) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
        out.close();

        QElapsedTimer timer;
        timer.start();
        const QList<UnsavedRun> found = findUnsavedRuns(folder);
        finding << static_cast<double>(timer.nsecsElapsed()) / 1e9;
        if (found.size() != 1 || found[0].samples != records) {
            std::fprintf(stderr, "start-up found %lld runs\n",
                         static_cast<long long>(found.size()));
            return 1;
        }

        QString name, error;
        timer.start();
        const bool recovered = recoverRun(found[0], dir.path(), {}, &name, &error);
        recovering << static_cast<double>(timer.nsecsElapsed()) / 1e9;
        if (!recovered || QFile::exists(path)) {
            std::fprintf(stderr, "Recover failed: %s\n", qPrintable(error));
            return 1;
        }
        dataBytes = QFile(dir.filePath(name)).size();
        QFile::remove(dir.filePath(name));
    }

    const Spread find = spread(finding), recover = spread(recovering);
    std::printf(
        "journal: %d records x 3 channels in blocks of 10%s, %.1f MiB; data file %.1f MiB\n",
        records, meter ? ", a meter reading each" : "",
        static_cast<double>(journal.size()) / (1024.0 * 1024.0),
        static_cast<double>(dataBytes) / (1024.0 * 1024.0));
    std::printf("start-up (findUnsavedRuns): median %.3f s (min %.3f, max %.3f) over %d rounds\n",
                find.median, find.min, find.max, rounds);
    std::printf("Recover (recoverRun): median %.3f s (min %.3f, max %.3f) over %d rounds\n",
                recover.median, recover.min, recover.max, rounds);
    std::printf("peak memory: %.1f MiB\n", peakResidentMiB());
    return 0;
}
