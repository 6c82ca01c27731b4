#include "rig/pty.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace vemra::rig {

namespace {

std::string reason(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

} // namespace

bool Pty::open(std::string& error) {
    close();
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (master_ < 0) {
        error = reason("posix_openpt");
        return false;
    }
    const char* name = nullptr;
    if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0 || !(name = ::ptsname(master_))) {
        error = reason("pseudo-terminal set-up");
        close();
        return false;
    }
    slavePath_ = name;
    slave_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios line{};
    if (slave_ < 0 || ::tcgetattr(slave_, &line) != 0) {
        error = reason(slavePath_);
        close();
        return false;
    }
    ::cfmakeraw(&line);
    ::cfsetspeed(&line, B115200);
    if (::tcsetattr(slave_, TCSANOW, &line) != 0) {
        error = reason(slavePath_);
        close();
        return false;
    }
    return true;
}

void Pty::close() {
    for (int* fd : {&master_, &slave_}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
}

int Pty::unread() const {
    int count = 0;
    if (slave_ < 0 || ::ioctl(slave_, FIONREAD, &count) != 0)
        return 0;
    return count;
}

bool makeLink(const std::string& link, const std::string& target, std::string& error) {
    struct stat existing {};
    if (::lstat(link.c_str(), &existing) == 0 && !S_ISLNK(existing.st_mode)) {
        error = link + " exists and is not a symbolic link";
        return false;
    }
    // Linked under a temporary name and renamed over the old one, so that the name never
    // points nowhere.
    const std::string temporary = link + ".new." + std::to_string(::getpid());
    ::unlink(temporary.c_str());
    if (::symlink(target.c_str(), temporary.c_str()) != 0) {
        error = reason(temporary);
        return false;
    }
    if (::rename(temporary.c_str(), link.c_str()) != 0) {
        error = reason(link);
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

void removeLink(const std::string& link, const std::string& target) {
    char points[4096];
    const ssize_t length = ::readlink(link.c_str(), points, sizeof points);
    if (length >= 0 && std::string(points, static_cast<std::size_t>(length)) == target)
        ::unlink(link.c_str());
}

} // namespace vemra::rig
