#pragma once
// A double-click on any widget as a plain handler; for a scrolling box (a multi-line text
// box) the clicks land on its viewport.

#include <functional>

class QWidget;

namespace vemra {

void onDoubleClick(QWidget* widget, std::function<void()> handler);

} // namespace vemra
