// The data file of a long run: 1,000,000 samples of three channels plus the meter column,
// formatted, and formatted and written. Items are samples (lines).

#include "files/datafile.h"

#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <random>

using namespace vemra;

namespace {

constexpr int samples = 1'000'000;

// Scaled raw counts of the board's 16-bit converter and meter readings as the meter sends
// them, so the numbers have the digits a real file has.
struct Run {
    Matrix store{3, samples};
    ReadingStore readings{samples};

    Run() {
        std::mt19937 random(20240305);
        std::uniform_int_distribution<int> raw(-32768, 32767);
        const double coefficients[] = {0.0123, 0.3051757812, 1.0};
        for (int r = 0; r < 3; ++r)
            for (int i = 0; i < samples; ++i)
                store.at(r, i) = raw(random) * coefficients[r];
        std::uniform_real_distribution<double> volts(-1999.0, 1999.0);
        for (int i = 0; i < samples; ++i)
            readings.set(i, QString::asprintf("%+.8E", volts(random)).replace('.', ','));
    }

    DataFileContent content() const {
        return {7, samples, true, 0.3, store, readings, {"Force", "Position", "Temp"}, "Meter"};
    }
};

const Run& run() {
    static const Run instance;
    return instance;
}

void formatLongRun(benchmark::State& state) {
    const DataFileContent content = run().content();
    QString error;
    for (auto _ : state) {
        const auto bytes = formatDataFile(content, &error);
        if (!bytes) {
            state.SkipWithError(qPrintable(error));
            break;
        }
        state.counters["MB"] = static_cast<double>(bytes->size()) / 1e6;
    }
    state.SetItemsProcessed(state.iterations() * samples);
}

void formatAndWriteLongRun(benchmark::State& state) {
    const DataFileContent content = run().content();
    QTemporaryDir dir;
    const QDateTime now(QDate(2024, 3, 5), QTime(9, 7, 4));
    QString name, error;
    for (auto _ : state) {
        if (!writeDataFile(dir.path(), runFileStem(now), content, &name, &error)) {
            state.SkipWithError(qPrintable(error));
            break;
        }
        state.PauseTiming();
        QDir(dir.path()).remove(name);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * samples);
}

} // namespace

BENCHMARK(formatLongRun)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(formatAndWriteLongRun)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
