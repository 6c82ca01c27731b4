#pragma once
// Bytes waiting for a non-blocking descriptor: the rig never blocks on a station that
// does not read, it keeps the bytes here instead (up to a cap the caller checks).

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vemra::rig {

class OutputQueue {
public:
    std::vector<std::uint8_t>& tail() { return bytes_; }
    std::size_t size() const { return bytes_.size() - head_; }
    bool empty() const { return size() == 0; }
    void clear();

    // Writes what the descriptor takes now. False on an error other than a full line.
    bool flush(int fd);

private:
    void compact();

    std::vector<std::uint8_t> bytes_;
    std::size_t head_ = 0;
};

} // namespace vemra::rig
