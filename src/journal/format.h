#pragma once
// A run's journal: every byte the board port and the meter port read during a run, each
// piece with its time, appended to one file as the run goes, so the run survives a crash
// and can be played again through the simulated rig. Standard C++ only: the rig, which has
// no Qt, reads journals too. docs/journal-format.md describes the file for people.
//
// The file is a file start and then chunks, little-endian. A chunk carries its own CRC-32,
// so a reader keeps every chunk up to a torn or damaged one and nothing from it on: what a
// crash cut short costs the unfinished chunk alone.

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vemra::journal {

inline constexpr std::string_view kMagic = "VEMRAJNL";
// Raised only for a change an older reader would misread; a new chunk type needs none.
inline constexpr std::uint16_t kVersion = 1;
// Magic, version, flags.
inline constexpr std::size_t kFileStartSize = 12;
// Type, time and length before a chunk's bytes, its CRC after them.
inline constexpr std::size_t kChunkHeadSize = 13;
inline constexpr std::size_t kChunkOverhead = kChunkHeadSize + 4;
// Far beyond any comm event's bytes: a longer chunk is damage, not a reason to allocate.
inline constexpr std::uint32_t kMaxChunkBytes = 64u << 20;

// A type this reader does not know is kept as its number: a later version may add types.
enum class ChunkType : std::uint8_t {
    Header = 1,       // fields: the run's settings (docs/journal-format.md lists the keys)
    Board = 2,        // the bytes one board comm event read
    Meter = 3,        // the characters one meter comm event read, Latin-1
    Overrun = 4,      // field "bytes": what the board port's full input dropped
    Stop = 5,         // fields "mask", "meter", "step", "ending"; its time is the stop byte's
    Saved = 6,        // field "file": the data file "Save" wrote
    Resume = 7,       // the station's own bytes opening a rolled segment of an endless run
    MeterAtStart = 8, // the meter characters that waited at Start
    InputCleared = 9, // the operator emptied the board port's input
};

struct Chunk {
    ChunkType type{};
    std::uint64_t timeUs = 0; // a monotonic clock's microseconds
    std::string bytes;

    friend bool operator==(const Chunk&, const Chunk&) = default;
};

// IEEE 802.3 (zlib's): crc32(b, crc32(a)) == crc32(a + b).
std::uint32_t crc32(std::string_view bytes, std::uint32_t crc = 0);

// What a journal file begins with, as this station writes it.
std::string fileStart();

// Appends one chunk, CRC and all; bytes longer than kMaxChunkBytes would be read as damage,
// so the writer splits them.
void appendChunk(std::string& out, ChunkType type, std::uint64_t timeUs, std::string_view bytes);

// "key\tvalue\n" lines, UTF-8. Keys are plain words; a line end inside a value becomes a
// space, so a value can never begin a field of its own. Tabs in a value stay.
std::string encodeFields(const std::vector<std::pair<std::string, std::string>>& fields);
// A line without a tab is skipped; of a key given twice the last value counts.
std::map<std::string, std::string> parseFields(std::string_view text);

// A chunk where it lies in the file.
struct ChunkView {
    ChunkType type{};
    std::uint64_t timeUs = 0;
    std::string_view bytes;
};

// Walks a journal's chunks in place, one at a time, so a long run is decoded without a copy
// of its bytes.
class ChunkCursor {
public:
    explicit ChunkCursor(std::string_view file);

    // Empty for a journal this reader can read; otherwise why not, in the operator's words.
    const std::string& refused() const { return refused_; }
    // The next good chunk; nothing at the end, at a torn or damaged chunk, or when refused.
    std::optional<ChunkView> next();
    // Bytes up to the end of the last good chunk, the file start once it is whole.
    std::size_t goodBytes() const { return at_; }
    // Where and why reading stopped before the end of the file; empty otherwise.
    const std::string& damage() const { return damage_; }

private:
    std::string_view file_;
    std::size_t at_ = 0;
    std::string refused_;
    std::string damage_;
};

struct Journal {
    std::vector<Chunk> chunks;
    std::size_t goodBytes = 0;
    std::size_t totalBytes = 0;
    std::string refused; // as ChunkCursor::refused
    std::string damage;  // as ChunkCursor::damage
};

// The whole file at once: every good chunk, copied.
Journal readJournal(std::string_view file);

} // namespace vemra::journal
