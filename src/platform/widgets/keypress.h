#pragma once
// Key-press handlers for text boxes: the handler sees each character key (Enter as 13,
// Backspace as 8) before the box does and may replace it or cancel it (code 0).

#include <functional>

class QLineEdit;

namespace vemra {

using KeyPressHandler = std::function<void(int& keyAscii)>;

void onKeyPress(QLineEdit* box, KeyPressHandler handler);

} // namespace vemra
