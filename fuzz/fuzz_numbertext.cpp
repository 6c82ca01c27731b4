// Number text: any text is parsed or refused without harm, and every number the station
// writes reads back as the same text.

#include "common/numbertext.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

using namespace vemra;

namespace {

void writtenReadsBack(double value) {
    if (!std::isfinite(value))
        return;
    char buffer[generalTextMaxLength];
    const int length = appendGeneral(buffer, value);
    if (length <= 0 || length > generalTextMaxLength)
        std::abort();
    const QString text = QString::fromLatin1(buffer, length);
    const auto parsed = parseNumber(text);
    if (!parsed || generalText(*parsed) != text)
        std::abort();
    fixed3Text(value);
    toInt16(value);
    toInt32(value);
    toByte(value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == sizeof(double)) {
        double value = 0;
        std::memcpy(&value, data, sizeof value);
        writtenReadsBack(value);
    }
    const auto* chars = reinterpret_cast<const char*>(data);
    const auto length = static_cast<qsizetype>(size);
    for (const QString& text :
         {QString::fromLatin1(chars, length), QString::fromUtf8(chars, length)}) {
        if (const auto parsed = parseNumber(text))
            writtenReadsBack(*parsed);
        numericValue(text);
    }
    return 0;
}
