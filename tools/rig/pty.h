#pragma once
// A pseudo-terminal the rig plays a device on, and the ./CommN link that lets the station
// find it.

#include <string>

namespace vemra::rig {

class Pty {
public:
    Pty() = default;
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;
    ~Pty() { close(); }

    // Opens a non-blocking master and a raw slave that stays open: with a slave held here
    // the line keeps its settings and the master sees no hang-up while the station closes
    // and reopens the port.
    bool open(std::string& error);
    void close();

    bool isOpen() const { return master_ >= 0; }
    int master() const { return master_; }
    int slave() const { return slave_; }
    const std::string& slavePath() const { return slavePath_; }

    // Bytes written to the master that nobody has read from the slave yet.
    int unread() const;

private:
    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
};

// Points link at target, replacing a link left by an earlier run; anything that is not
// a symbolic link is left alone and reported.
bool makeLink(const std::string& link, const std::string& target, std::string& error);

// Removes link only while it still points at target: a later rig may own it by now.
void removeLink(const std::string& link, const std::string& target);

} // namespace vemra::rig
