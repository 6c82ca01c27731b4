// The data file: any snapshot against any stores formats without reading outside them,
// and a file it accepts has one line per sample after the header.

#include "files/datafile.h"

#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>

using namespace vemra;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const int mask = in.ConsumeIntegralInRange(0, 15);
    const int count = in.ConsumeIntegralInRange(-5, 300);
    const bool meter = in.ConsumeBool();
    const double step = in.ConsumeFloatingPoint<double>();
    Matrix samples(in.ConsumeIntegralInRange(0, 4), in.ConsumeIntegralInRange(0, 300));
    for (int r = 0; r < samples.rows(); ++r)
        for (int i = 0; i < samples.cols(); ++i)
            samples.at(r, i) = in.ConsumeFloatingPoint<double>();
    ReadingStore readings(in.ConsumeIntegralInRange(0, 300));
    const auto text = [&](std::size_t most) {
        return QString::fromUtf8(in.ConsumeRandomLengthString(most).c_str());
    };
    for (int slot = 0; slot < readings.size(); ++slot)
        readings.set(slot, text(20));
    const std::array<QString, 3> titles{text(40), text(40), text(40)};
    const QString meterTitle = text(40);

    QString error;
    const DataFileContent content{mask, count, meter, step, samples, readings, titles, meterTitle};
    const auto bytes = formatDataFile(content, &error);
    if (!bytes)
        return 0;
    bool plainTitles = !meterTitle.contains(u'\n');
    for (const QString& title : titles)
        plainTitles = plainTitles && !title.contains(u'\n');
    for (int slot = 0; slot < readings.size(); ++slot)
        plainTitles = plainTitles && !readings.text(slot).contains(u'\n');
    if (plainTitles && bytes->count('\n') != std::max(count, 0) + 1)
        std::abort();
    return 0;
}
