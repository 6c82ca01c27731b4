#pragma once
// Lists and numeric edits take the mouse wheel only once the operator has clicked into
// them: scrolling the panel column past them must not choose a port or change a setting.

class QWidget;

namespace vemra {

void ignoreWheelUnlessFocused(QWidget* widget);

} // namespace vemra
