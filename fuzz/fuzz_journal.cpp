// A run's journal: any bytes are read without reading outside them, and the chunks kept,
// written again, give back the good part of the file byte for byte, CRCs included, so no
// chunk with a wrong CRC is ever kept.

#include "journal/format.h"

#include <cstdlib>
#include <string_view>

using namespace vemra::journal;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    const Journal journal = readJournal(file);
    if (!journal.refused.empty() && (journal.goodBytes != 0 || !journal.chunks.empty()))
        std::abort();
    if (journal.refused.empty() && journal.damage.empty() != (journal.goodBytes == size))
        std::abort();

    std::string again(file.substr(0, journal.goodBytes == 0 ? 0 : kFileStartSize));
    for (const Chunk& chunk : journal.chunks) {
        appendChunk(again, chunk.type, chunk.timeUs, chunk.bytes);
        if (chunk.type == ChunkType::Header)
            parseFields(chunk.bytes);
    }
    if (again != file.substr(0, journal.goodBytes))
        std::abort();
    return 0;
}
