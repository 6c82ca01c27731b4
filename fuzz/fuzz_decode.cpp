// Board records: any bytes, any channel selection, block length and coefficients decode
// without reading or writing outside the block or the output.

#include "board/decoding.h"
#include "board/protocol.h"

#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>

using namespace vemra;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    std::array<int, 3> enabled{};
    for (int& state : enabled)
        state = in.ConsumeIntegralInRange(0, 2); // 2: a grey box, which is not a channel
    const int perBlock = in.ConsumeIntegralInRange(-2, 1100);
    std::array<double, 3> coefficients{};
    for (double& coefficient : coefficients)
        coefficient = in.ConsumeFloatingPoint<double>();
    Matrix out(in.ConsumeIntegralInRange(0, 4), in.ConsumeIntegralInRange(0, 40));
    const std::string rest = in.ConsumeRemainingBytesAsString();
    const QByteArray block(rest.data(), qsizetype(rest.size()));

    const board::BlockDecode d = board::decodeBlock(block, enabled, coefficients, perBlock, out);
    const int channels = (enabled[0] == 1) + (enabled[1] == 1) + (enabled[2] == 1);
    if (d.channels != channels || d.records < 0 || d.records > std::max(perBlock, 0) ||
        d.records * board::recordLength(channels) > block.size() ||
        out.rows() != std::max(channels, 1) || out.cols() != d.records)
        std::abort();
    return 0;
}
