#include "rig/linelog.h"

#include <cerrno>
#include <cstring>

namespace vemra::rig {

LineFile::~LineFile() {
    if (owned_)
        std::fclose(stream_);
}

bool LineFile::open(const std::string& path, std::string& error) {
    std::FILE* stream = std::fopen(path.c_str(), "w");
    if (!stream) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    if (owned_)
        std::fclose(stream_);
    stream_ = stream;
    owned_ = true;
    return true;
}

void LineFile::write(std::string_view line) {
    if (!stream_)
        return;
    std::fwrite(line.data(), 1, line.size(), stream_);
    std::fputc('\n', stream_);
    std::fflush(stream_);
}

} // namespace vemra::rig
