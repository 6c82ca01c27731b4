#include "rig/outputqueue.h"

#include <cerrno>
#include <unistd.h>

namespace vemra::rig {

namespace {

constexpr std::size_t kCompactAt = 64 * 1024;

} // namespace

void OutputQueue::clear() {
    bytes_.clear();
    head_ = 0;
}

void OutputQueue::compact() {
    // Moving the rest down only once the sent part dominates keeps appends amortised.
    if (head_ > kCompactAt && head_ > bytes_.size() / 2) {
        bytes_.erase(bytes_.begin(), bytes_.begin() + static_cast<std::ptrdiff_t>(head_));
        head_ = 0;
    }
}

bool OutputQueue::flush(int fd) {
    while (!empty()) {
        const ssize_t written = ::write(fd, bytes_.data() + head_, size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            const bool full = errno == EAGAIN || errno == EWOULDBLOCK;
            compact();
            return full;
        }
        head_ += static_cast<std::size_t>(written);
    }
    clear();
    return true;
}

} // namespace vemra::rig
