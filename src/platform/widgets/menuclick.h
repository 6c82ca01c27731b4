#pragma once
// A menu item's choice as a plain handler. A checkable item flips its own mark before it
// reports the choice; the handler reads the mark as it was and sets it itself.

#include <functional>

class QAction;
class QObject;

namespace vemra {

// The handler runs while `context` lives.
void onMenuClick(QAction* item, QObject* context, std::function<void()> handler);

} // namespace vemra
