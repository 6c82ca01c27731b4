#pragma once
// What happens to a run, one table: how "Start", "Stop", the stores' re-dimensioning, the
// calibration mode, a board port lost and "Save" move a run along, and what the window may
// offer at each point. The run follows it; so can anything else that needs to know.

#include <cstdint>

namespace vemra {

enum class RunState : std::uint8_t {
    None,    // no run since the window opened
    Running, // between "Start" and "Stop"
    Stopped, // after "Stop" until the next "Start"
};

enum class RunEvent : std::uint8_t {
    Start,
    Stop,           // "Stop", the end of a finite run, a late block after it, the window closing
    StopWithMeter,  // the same with the external channel on: the readings go with the run
    Redimension,    // the samples' store took another shape: what it held is gone
    BoardPortLost,  // the board's adapter went away
    CalibrationOn,  // "Select Channels" opened the channel panel
    CalibrationOff, // and closed it
    Saved,          // "Save" wrote the data file
};

struct RunPhase {
    RunState state = RunState::None;
    bool held = false;         // the stores still hold the run since its Start
    bool readingsHeld = false; // the readings' store belongs to the stopped run
    bool calibrating = false;
    bool saved = false; // written to a data file since it stopped

    bool operator==(const RunPhase&) const = default;
};

RunPhase nextPhase(const RunPhase& phase, RunEvent event);

// "Save" offers the stopped run while the stores hold it and the channel panel is closed.
bool canSave(const RunPhase& phase);
// The board's port list is usable again after the port was lost, except during a run: a port
// chosen then would give "Start" back beside "Stop", and "Start" would drop the run.
bool boardListUsable(const RunPhase& phase);

} // namespace vemra
