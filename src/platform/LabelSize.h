#pragma once

class QLabel;

namespace platform {

// Sizes a label to its text, as QWidget::adjustSize does. A label of plain, unwrapped text without
// a frame, margin or indent is measured once, where QLabel's size hints lay the text out three
// times (for the wrap widths such a label never uses); any other label goes through adjustSize.
void FitLabelToText(QLabel* label);

}  // namespace platform
