// Board records: any bytes, split anywhere, for any channel selection and coefficients, are cut
// into records without reading or writing outside what was received, hold back no more than a
// slip's decision needs, and come out the same however the line split them.

#include "board/protocol.h"
#include "board/recordstream.h"

#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>

using namespace vemra;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    std::array<int, 3> enabled{};
    for (int& state : enabled)
        state = in.ConsumeIntegralInRange(0, 2); // 2: a grey box, which is not a channel
    const int channels = (enabled[0] == 1) + (enabled[1] == 1) + (enabled[2] == 1);
    std::array<double, 3> coefficients{};
    for (double& coefficient : coefficients)
        coefficient = in.ConsumeFloatingPoint<double>();
    const std::size_t piece = in.ConsumeIntegralInRange<std::size_t>(1, 64);
    Matrix out(in.ConsumeIntegralInRange(0, 4), in.ConsumeIntegralInRange(0, 40));
    const std::string rest = in.ConsumeRemainingBytesAsString();

    board::RecordStream whole(channels), pieces(channels);
    std::vector<board::RawRecord> once, split;
    whole.feed(QByteArrayView(rest.data(), qsizetype(rest.size())), once);
    for (std::size_t at = 0; at < rest.size(); at += piece)
        pieces.feed(QByteArrayView(rest.data() + at, qsizetype(std::min(piece, rest.size() - at))),
                    split);
    const std::size_t length = std::size_t(board::recordLength(channels));
    const std::size_t window = (board::RecordStream::kConfirm + 2) * length;
    if (once.size() != split.size() || whole.held() != pieces.held() || whole.held() >= window ||
        once.size() * (length - 1) > rest.size() + length)
        std::abort();
    for (std::size_t i = 0; i < once.size(); ++i)
        if (once[i].samples != split[i].samples || once[i].state != split[i].state)
            std::abort();

    const board::BlockDecode d = board::scaleRecords(once, enabled, coefficients, out);
    if (d.channels != channels || d.records != int(once.size()) ||
        out.rows() != std::max(channels, 1) || out.cols() != d.records)
        std::abort();
    return 0;
}
