#include "journal/format.h"

#include <algorithm>
#include <array>

namespace vemra::journal {

namespace {

constexpr std::array<std::uint32_t, 256> kCrcTable = [] {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int bit = 0; bit < 8; ++bit)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}();

void putLe(std::string& out, std::uint64_t value, std::size_t bytes) {
    for (std::size_t i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::uint64_t getLe(std::string_view in, std::size_t at, std::size_t bytes) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < bytes; ++i)
        value |= std::uint64_t{static_cast<unsigned char>(in[at + i])} << (8 * i);
    return value;
}

} // namespace

std::uint32_t crc32(std::string_view bytes, std::uint32_t crc) {
    crc = ~crc;
    for (const char byte : bytes)
        crc = kCrcTable[(crc ^ static_cast<unsigned char>(byte)) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

std::string fileStart() {
    std::string out(kMagic);
    putLe(out, kVersion, 2);
    putLe(out, 0, 2);
    return out;
}

void appendChunk(std::string& out, ChunkType type, std::uint64_t timeUs, std::string_view bytes) {
    const std::size_t head = out.size();
    out += static_cast<char>(type);
    putLe(out, timeUs, 8);
    putLe(out, bytes.size(), 4);
    out += bytes;
    putLe(out, crc32(std::string_view(out).substr(head)), 4);
}

std::string encodeFields(const std::vector<std::pair<std::string, std::string>>& fields) {
    std::string out;
    for (const auto& [key, value] : fields) {
        out += key;
        out += '\t';
        for (const char c : value)
            out += c == '\n' || c == '\r' ? ' ' : c;
        out += '\n';
    }
    return out;
}

std::map<std::string, std::string> parseFields(std::string_view text) {
    std::map<std::string, std::string> fields;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end == text.npos ? text.size() : end + 1);
        if (const std::size_t tab = line.find('\t'); tab != line.npos)
            fields.insert_or_assign(std::string(line.substr(0, tab)),
                                    std::string(line.substr(tab + 1)));
    }
    return fields;
}

ChunkCursor::ChunkCursor(std::string_view file)
    : file_(file) {
    const std::size_t magic = std::min(file.size(), kMagic.size());
    if (file.substr(0, magic) != kMagic.substr(0, magic)) {
        refused_ = "not a Vemra journal";
        return;
    }
    // A crash right after the file was made leaves part of its start, or none of it: a
    // journal of nothing.
    if (file.size() < kFileStartSize) {
        if (!file.empty())
            damage_ = "the journal ends inside its file start";
        return;
    }
    const auto version = getLe(file, kMagic.size(), 2);
    if (version == 0)
        refused_ = "not a Vemra journal";
    else if (version > kVersion)
        refused_ = "made by a newer station: journal version " + std::to_string(version);
    else
        at_ = kFileStartSize;
}

std::optional<ChunkView> ChunkCursor::next() {
    if (!refused_.empty() || !damage_.empty() || at_ == file_.size())
        return std::nullopt;
    const std::string_view rest = file_.substr(at_);
    const std::string where = " at byte " + std::to_string(at_);
    if (rest.size() < kChunkHeadSize) {
        damage_ = "the journal ends in an unfinished chunk" + where;
        return std::nullopt;
    }
    const auto length = getLe(rest, 9, 4);
    if (length > kMaxChunkBytes) {
        damage_ = "damaged chunk" + where + ": it claims " + std::to_string(length) + " bytes";
        return std::nullopt;
    }
    if (rest.size() < kChunkOverhead + length) {
        damage_ = "the journal ends in an unfinished chunk" + where;
        return std::nullopt;
    }
    const std::string_view covered = rest.substr(0, kChunkHeadSize + length);
    if (crc32(covered) != getLe(rest, covered.size(), 4)) {
        damage_ = "damaged chunk" + where + ": its CRC does not match";
        return std::nullopt;
    }
    at_ += kChunkOverhead + length;
    return ChunkView{static_cast<ChunkType>(rest[0]), getLe(rest, 1, 8),
                     covered.substr(kChunkHeadSize)};
}

Journal readJournal(std::string_view file) {
    Journal journal;
    ChunkCursor cursor(file);
    while (const auto chunk = cursor.next())
        journal.chunks.push_back({chunk->type, chunk->timeUs, std::string(chunk->bytes)});
    journal.goodBytes = cursor.goodBytes();
    journal.totalBytes = file.size();
    journal.refused = cursor.refused();
    journal.damage = cursor.damage();
    return journal;
}

} // namespace vemra::journal
