// The meter's characters: any bytes, split anywhere, with a Start anywhere, are cut into
// readings and damaged stretches the same however the line split them, and every reading
// has the shape of one.

#include "meter/readingstream.h"

#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>

using namespace vemra;

namespace {

QString describe(const std::vector<meter::StreamItem>& items) {
    QString out;
    for (const meter::StreamItem& item : items)
        out += item.reading.isEmpty() ? QString::number(item.lost) + u'|' : item.reading + u'|';
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const qsizetype piece = in.ConsumeIntegralInRange<qsizetype>(1, 40);
    const qsizetype start = in.ConsumeIntegralInRange<qsizetype>(0, 64);
    const std::string rest = in.ConsumeRemainingBytesAsString();
    const QString chars = QString::fromLatin1(rest.data(), qsizetype(rest.size()));
    const qsizetype at = std::min(start, chars.size());

    meter::ReadingStream whole, pieces;
    std::vector<meter::StreamItem> once, split;
    whole.feed(QStringView(chars).first(at), once);
    whole.realign();
    once.clear();
    whole.feed(QStringView(chars).sliced(at), once);
    for (qsizetype from = 0; from < at; from += piece)
        pieces.feed(QStringView(chars).sliced(from, std::min(piece, at - from)), split);
    pieces.realign();
    split.clear();
    for (qsizetype from = at; from < chars.size(); from += piece)
        pieces.feed(QStringView(chars).sliced(from, std::min(piece, chars.size() - from)), split);

    if (describe(once) != describe(split))
        std::abort();
    for (const meter::StreamItem& item : once)
        if ((item.reading.isEmpty() && item.lost <= 0) ||
            (!item.reading.isEmpty() && (item.reading.size() != 15 || item.reading[2] != u',')))
            std::abort();
    return 0;
}
