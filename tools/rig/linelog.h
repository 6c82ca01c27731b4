#pragma once
// Text lines for people and tests watching the rig: each is flushed as it is written, so
// a reader sees it at once and nothing is lost when the rig is killed.

#include <cstdio>
#include <string>
#include <string_view>

namespace vemra::rig {

class LineFile {
public:
    LineFile() = default;
    explicit LineFile(std::FILE* stream)
        : stream_(stream) {}
    LineFile(const LineFile&) = delete;
    LineFile& operator=(const LineFile&) = delete;
    ~LineFile();

    bool open(const std::string& path, std::string& error);
    void write(std::string_view line);

private:
    std::FILE* stream_ = nullptr;
    bool owned_ = false;
};

// stderr, and a file when one is given.
class LineLog {
public:
    bool openFile(const std::string& path, std::string& error) { return file_.open(path, error); }
    void operator()(std::string_view line) {
        stderr_.write(line);
        file_.write(line);
    }

private:
    LineFile stderr_{stderr};
    LineFile file_;
};

} // namespace vemra::rig
