#include "run/lifecycle.h"

namespace vemra {

namespace {

// Each row: the event, the states it applies in, and what it leaves. A field marked "keep"
// stays as it was.
enum class Set : std::uint8_t { Keep, Off, On };

struct Row {
    RunEvent event;
    bool fromNone, fromRunning, fromStopped;
    RunState to;
    Set held, readingsHeld, calibrating, saved;
};

constexpr RunState keepState = static_cast<RunState>(0xFF);

constexpr Row kTable[] = {
    // event                      None   Running Stopped  to                 held       readings
    // calibrating saved
    {RunEvent::Start, true, true, true, RunState::Running, Set::On, Set::Off, Set::Keep, Set::Off},
    {RunEvent::Stop, true, true, true, RunState::Stopped, Set::Keep, Set::Off, Set::Keep,
     Set::Keep},
    {RunEvent::StopWithMeter, true, true, true, RunState::Stopped, Set::Keep, Set::On, Set::Keep,
     Set::Keep},
    {RunEvent::Redimension, false, true, true, keepState, Set::Off, Set::Keep, Set::Keep,
     Set::Keep},
    {RunEvent::BoardPortLost, true, true, true, keepState, Set::Keep, Set::Keep, Set::Keep,
     Set::Keep},
    {RunEvent::CalibrationOn, true, true, true, keepState, Set::Keep, Set::Keep, Set::On,
     Set::Keep},
    {RunEvent::CalibrationOff, true, true, true, keepState, Set::Keep, Set::Keep, Set::Off,
     Set::Keep},
    {RunEvent::Saved, false, false, true, keepState, Set::Keep, Set::Keep, Set::Keep, Set::On},
};

bool apply(Set set, bool value) {
    return set == Set::Keep ? value : set == Set::On;
}

} // namespace

RunPhase nextPhase(const RunPhase& phase, RunEvent event) {
    for (const Row& row : kTable) {
        if (row.event != event)
            continue;
        const bool applies = phase.state == RunState::None      ? row.fromNone
                             : phase.state == RunState::Running ? row.fromRunning
                                                                : row.fromStopped;
        if (!applies)
            return phase;
        RunPhase next = phase;
        if (row.to != keepState)
            next.state = row.to;
        next.held = apply(row.held, phase.held);
        next.readingsHeld = apply(row.readingsHeld, phase.readingsHeld);
        next.calibrating = apply(row.calibrating, phase.calibrating);
        next.saved = apply(row.saved, phase.saved);
        return next;
    }
    return phase;
}

bool canSave(const RunPhase& phase) {
    return phase.state == RunState::Stopped && phase.held && !phase.calibrating;
}

bool boardListUsable(const RunPhase& phase) {
    return phase.state != RunState::Running;
}

} // namespace vemra
