#pragma once
// SIGTERM and SIGHUP (the desktop logging out, a terminal closing, a service manager) close the
// window as the operator would: between two events, never inside one, so a handler or a file
// write is never cut in the middle. The signal itself only wakes the event loop.

class QWidget;

namespace vemra {

void closeOnEndingSignals(QWidget* window);

} // namespace vemra
