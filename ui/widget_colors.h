// Puts a control's background and text colours into its widget's palette.
#pragma once
#include <QPalette>
#include <cstdint>
#include <optional>

class QWidget;

namespace ui {

// An unset colour keeps the toolkit's own; a set background also makes the
// widget fill its background.
void vApplyColors(QWidget* w, std::optional<int32_t> back, std::optional<int32_t> fore,
                  QPalette::ColorRole backRole = QPalette::Window,
                  QPalette::ColorRole foreRole = QPalette::WindowText);

}  // namespace ui
