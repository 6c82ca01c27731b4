#pragma once
// The journal's side of the disk, on a thread of its own: it makes the folder, names and
// opens a run's journal, appends, rolls it over to a next segment, syncs, closes and removes,
// in the order it is told, so the event thread never waits for the disk. Bytes handed over
// reach the kernel as soon as the thread gets to them; they are synced at most once a second.
// A failure is told once, with the system's reason, and the run's journal takes nothing more.

#include <QString>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vemra::journal {

// Makes a new file for writing, never replacing one: a descriptor, or -1 with errno set. Tests
// put a file that fails as a full disk does in its place.
using FileOpener = std::function<int(const std::string& path)>;
int openNewFile(const std::string& path);

class Disk {
public:
    // `failed` runs on the disk's thread: the caller posts it to its own.
    explicit Disk(std::function<void(const QString& reason)> failed,
                  FileOpener opener = openNewFile);
    ~Disk();

    // A run's journal in `folder` (made when missing): "<stem>.journal", or "<stem> (2).journal"
    // and so on when taken; an existing file is never replaced.
    void begin(const QString& folder, const QString& stem);
    void append(std::string bytes);
    // Segment n (from 2) of the run's journal: "<name>.<n>.journal" beside the first.
    void roll(int segment);
    // Removes segment n (1: the first) of the run's journal.
    void drop(int segment);
    // Synced and closed; with removeAll, every segment of the run's journal goes.
    void end(bool removeAll);

    // Bytes handed over and not yet written.
    std::size_t waiting() const;
    // Waits until everything handed over is done, at most `milliseconds`; false if not.
    bool drain(int milliseconds);

private:
    struct Step {
        enum Kind { Begin, Append, Roll, Drop, End } kind;
        std::string text; // the bytes to append, or the stem
        std::string folder;
        int number = 0;
        bool removeAll = false;
    };
    void push(Step step);
    void run();
    void perform(Step& step);
    void openFirst(const Step& step);
    void openFile(const std::string& path);
    void closeFile();
    std::string segmentPath(int segment) const;
    void sync(bool due);
    void fail(int error);

    std::function<void(const QString&)> failed_;
    FileOpener opener_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::deque<Step> steps_;
    std::size_t waiting_ = 0;
    bool busy_ = false;
    bool quit_ = false;

    // The disk thread's own.
    int fd_ = -1;
    std::string base_; // the run's first segment, without ".journal"
    std::vector<int> segments_;
    bool broken_ = false;
    bool unsynced_ = false;
    std::chrono::steady_clock::time_point lastSync_;
    std::thread thread_;
};

} // namespace vemra::journal
