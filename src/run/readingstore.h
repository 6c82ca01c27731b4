#pragma once
// The meter's readings by reading number. A reading text is at most 15 Latin-1 characters,
// so each slot is 16 bytes: the text's length, then its characters. A run of a million
// samples costs 16 MB here, where a vector of QString would cost 24 MB empty and ~90 MB full.

#include <QLatin1StringView>
#include <QStringView>
#include <algorithm>
#include <array>
#include <vector>

namespace vemra {

class ReadingStore {
public:
    static constexpr int kMaxText = 15;

    explicit ReadingStore(int count = 1) { redim(count); }

    int size() const { return static_cast<int>(slots_.size()); }
    bool contains(int slot) const { return slot >= 0 && slot < size(); }

    // Slots 0..count-1, all empty.
    void redim(int count) { slots_.assign(static_cast<std::size_t>(count < 0 ? 0 : count), {}); }

    // Keeps slots 0..count-1 as they are and drops the rest; never grows.
    void cut(int count) {
        if (count >= 0 && count < size())
            slots_.resize(static_cast<std::size_t>(count));
    }

    // A slot outside the store reads as empty.
    bool filled(int slot) const { return contains(slot) && slots_[index(slot)][0] != 0; }
    QLatin1StringView text(int slot) const {
        if (!contains(slot))
            return {};
        const Slot& s = slots_[index(slot)];
        return QLatin1StringView(s.data() + 1, s[0]);
    }

    // Stores the first 15 characters of text, '?' for one outside Latin-1; an empty text
    // empties the slot. Nothing is stored outside the store: false then.
    bool set(int slot, QStringView text) {
        if (!contains(slot))
            return false;
        Slot& s = slots_[index(slot)];
        const auto length = std::min<qsizetype>(text.size(), kMaxText);
        for (qsizetype i = 0; i < length; ++i) {
            const char16_t c = text[i].unicode();
            s[static_cast<std::size_t>(i) + 1] = c < 0x100 ? static_cast<char>(c) : '?';
        }
        s[0] = static_cast<char>(length);
        return true;
    }

private:
    using Slot = std::array<char, kMaxText + 1>;
    static std::size_t index(int slot) { return static_cast<std::size_t>(slot); }

    std::vector<Slot> slots_;
};

} // namespace vemra
