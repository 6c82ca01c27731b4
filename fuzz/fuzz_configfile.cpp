// Vemra.ini: any bytes are loaded or refused without harm, and the load accepts what the
// save writes. The first byte chooses: bytes as a file, or bytes as the settings to save.

#include "files/configfile.h"

#include <cmath>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>

using namespace vemra;

namespace {

// What a save can write: the edits' values within their limits, any coefficient, any text.
Config settings(FuzzedDataProvider& in) {
    const auto number = [&](double low, double high) {
        return in.ConsumeFloatingPointInRange(low, high);
    };
    const auto text = [&] {
        return QString::fromLatin1(in.ConsumeRandomLengthString(300).c_str());
    };
    Config c;
    c.comm1 = in.ConsumeIntegralInRange<std::int16_t>(0, 8);
    c.comm2 = in.ConsumeIntegralInRange<std::int16_t>(0, 8);
    c.totalPoints = number(1, 1000000);
    c.period = number(10, 64000);
    c.pointsPerBlock = number(1, 1000);
    c.infinite = in.ConsumeIntegralInRange(0, 1);
    c.displayedPoints = number(100, 60000);
    for (int& state : c.enable)
        state = in.ConsumeIntegralInRange(0, 1);
    for (double& coefficient : c.coefficients) {
        coefficient = in.ConsumeFloatingPoint<double>();
        if (!std::isfinite(coefficient))
            coefficient = 0;
    }
    for (QString& label : c.labels)
        label = text();
    c.actuatorValue = number(0, 255);
    c.prescaler = number(1, 255);
    c.exponent = number(0, 7);
    c.meterLabel = text();
    for (QString& command : c.meterCommands)
        command = text();
    c.meterEnabled = in.ConsumeBool();
    return c;
}

// A loaded file, saved again, is a file that loads to the same settings.
void savedLoadsBack(const Config& loaded) {
    const QByteArray saved = serializeConfig(loaded);
    const ConfigLoad again = parseConfig(saved);
    if (!again || serializeConfig(*again.config) != saved)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    if (data[0] & 1) {
        const ConfigLoad load =
            parseConfig(QByteArray(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1)));
        if (load)
            savedLoadsBack(*load.config);
        else if (load.detail.size() > 400)
            std::abort(); // a damaged file is quoted short
        return 0;
    }
    FuzzedDataProvider in(data + 1, size - 1);
    const ConfigLoad load = parseConfig(serializeConfig(settings(in)));
    if (!load)
        std::abort();
    savedLoadsBack(*load.config);
    return 0;
}
