#include "journal/disk.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vemra::journal {

namespace {

// A power cut loses at most this much of what the kernel held.
constexpr auto kSyncEvery = std::chrono::seconds(1);
constexpr int kNamesToTry = 1000;

} // namespace

int openNewFile(const std::string& path) {
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
}

Disk::Disk(std::function<void(const QString& reason)> failed, FileOpener opener)
    : failed_(std::move(failed))
    , opener_(opener ? std::move(opener) : FileOpener(openNewFile))
    , lastSync_(std::chrono::steady_clock::now())
    , thread_([this] { run(); }) {}

Disk::~Disk() {
    {
        const std::lock_guard lock(mutex_);
        quit_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void Disk::push(Step step) {
    const std::lock_guard lock(mutex_);
    if (step.kind == Step::Append)
        waiting_ += step.text.size();
    steps_.push_back(std::move(step));
    wake_.notify_one();
}

void Disk::begin(const QString& folder, const QString& stem) {
    push({Step::Begin, stem.toStdString(), folder.toStdString()});
}

void Disk::append(std::string bytes) {
    if (!bytes.empty())
        push({Step::Append, std::move(bytes), {}});
}

void Disk::roll(int segment) {
    push({Step::Roll, {}, {}, segment});
}

void Disk::drop(int segment) {
    push({Step::Drop, {}, {}, segment});
}

void Disk::end(bool removeAll) {
    push({Step::End, {}, {}, 0, removeAll});
}

std::size_t Disk::waiting() const {
    const std::lock_guard lock(mutex_);
    return waiting_;
}

bool Disk::drain(int milliseconds) {
    std::unique_lock lock(mutex_);
    return idle_.wait_for(lock, std::chrono::milliseconds(milliseconds),
                          [this] { return steps_.empty() && !busy_; });
}

void Disk::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        // Asleep until there is work, or until what was written is due to be synced.
        const auto workOrQuit = [this] { return quit_ || !steps_.empty(); };
        if (unsynced_)
            wake_.wait_until(lock, lastSync_ + kSyncEvery, workOrQuit);
        else
            wake_.wait(lock, workOrQuit);
        while (!steps_.empty()) {
            Step step = std::move(steps_.front());
            steps_.pop_front();
            busy_ = true;
            lock.unlock();
            perform(step);
            lock.lock();
            busy_ = false;
            if (step.kind == Step::Append)
                waiting_ -= step.text.size();
        }
        lock.unlock();
        sync(std::chrono::steady_clock::now() - lastSync_ >= kSyncEvery);
        lock.lock();
        idle_.notify_all();
        if (quit_ && steps_.empty())
            break;
    }
    lock.unlock();
    closeFile();
}

std::string Disk::segmentPath(int segment) const {
    return segment <= 1 ? base_ + ".journal" : base_ + '.' + std::to_string(segment) + ".journal";
}

void Disk::perform(Step& step) {
    switch (step.kind) {
    case Step::Begin:
        closeFile();
        openFirst(step);
        return;
    case Step::Append:
        for (std::size_t done = 0; fd_ >= 0 && !broken_ && done < step.text.size();) {
            const ssize_t written = ::write(fd_, step.text.data() + done, step.text.size() - done);
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0) {
                fail(written < 0 ? errno : ENOSPC);
                return;
            }
            done += static_cast<std::size_t>(written);
            unsynced_ = true;
        }
        return;
    case Step::Roll:
        if (broken_ || base_.empty())
            return;
        closeFile();
        openFile(segmentPath(step.number));
        if (fd_ >= 0)
            segments_.push_back(step.number);
        return;
    case Step::Drop:
        if (base_.empty())
            return;
        ::unlink(segmentPath(step.number).c_str());
        std::erase(segments_, step.number);
        return;
    case Step::End:
        closeFile();
        if (step.removeAll)
            for (const int segment : segments_)
                ::unlink(segmentPath(segment).c_str());
        base_.clear();
        segments_.clear();
        return;
    }
}

void Disk::openFirst(const Step& step) {
    broken_ = false;
    base_.clear();
    segments_.clear();
    if (::mkdir(step.folder.c_str(), 0755) != 0 && errno != EEXIST) {
        fail(errno);
        return;
    }
    for (int number = 1; number <= kNamesToTry; ++number) {
        const std::string base =
            step.folder + '/' + step.text + (number > 1 ? " (" + std::to_string(number) + ')' : "");
        fd_ = opener_(base + ".journal");
        if (fd_ >= 0) {
            base_ = base;
            segments_.push_back(1);
            return;
        }
        if (errno != EEXIST)
            break;
    }
    fail(errno);
}

void Disk::openFile(const std::string& path) {
    fd_ = opener_(path);
    if (fd_ < 0)
        fail(errno);
}

void Disk::closeFile() {
    if (fd_ < 0)
        return;
    if (unsynced_ && !broken_ && ::fsync(fd_) != 0)
        fail(errno);
    ::close(fd_);
    fd_ = -1;
    unsynced_ = false;
}

void Disk::sync(bool due) {
    if (!due || !unsynced_ || fd_ < 0 || broken_)
        return;
    // A journal whose file was removed would take bytes that no recovery can find.
    struct stat file {};
    if (::fstat(fd_, &file) == 0 && file.st_nlink == 0)
        fail(ENOENT);
    else if (::fsync(fd_) != 0)
        fail(errno);
    unsynced_ = false;
    lastSync_ = std::chrono::steady_clock::now();
}

void Disk::fail(int error) {
    if (broken_)
        return;
    broken_ = true;
    failed_(QString::fromLocal8Bit(std::strerror(error)));
}

} // namespace vemra::journal
