// Decoding throughput: blocks of board records cut from the stream and calibrated, in MB/s of
// stream.

#include "board/recordstream.h"

#include <QByteArray>
#include <benchmark/benchmark.h>
#include <random>

using namespace vemra;

namespace {

QByteArray blockOf(int channels, int records) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> raw(0, 1023);
    QByteArray block;
    for (int i = 0; i < records; ++i) {
        QByteArray record(1, static_cast<char>(i));
        for (int c = 0; c < channels; ++c) {
            const int v = raw(random);
            record.append(static_cast<char>(v & 0xFF));
            record.append(static_cast<char>(v >> 8));
        }
        record.append(static_cast<char>(board::recordChecksum(
            reinterpret_cast<const std::uint8_t*>(record.constData()) + 1, 2 * channels)));
        block += record;
    }
    return block;
}

void decode(benchmark::State& state) {
    const int records = static_cast<int>(state.range(0));
    const QByteArray block = blockOf(3, records);
    board::RecordStream stream(3);
    std::vector<board::RawRecord> raw;
    Matrix out;
    for (auto _ : state) {
        raw.clear();
        stream.feed(block, raw);
        const board::BlockDecode d = board::scaleRecords(raw, {1, 1, 1}, {0.5, 1.0, 2.0}, out);
        benchmark::DoNotOptimize(d);
        benchmark::DoNotOptimize(out.row(0));
    }
    state.SetBytesProcessed(state.iterations() * block.size());
}

} // namespace

BENCHMARK(decode)->Arg(1)->Arg(10)->Arg(1000);
BENCHMARK_MAIN();
