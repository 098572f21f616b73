#pragma once
#include "grid/core/GridTypes.h"

namespace grid {

// The colours the mini-HTML renderer paints highlighted text with. One pair for the whole program:
// a grid hands over its own when its highlight colours change. GUI thread only.
struct THTMLHighlightColors {
    TColor Background = clHighlight;
    TColor Text = clHighlightText;
    friend bool operator==(const THTMLHighlightColors&, const THTMLHighlightColors&) = default;
};

void SetHTMLHighlightColors(TColor background, TColor text);
THTMLHighlightColors HTMLHighlightColors();

}  // namespace grid
