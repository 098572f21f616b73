#include "grid/core/HTMLHighlight.h"

#include "controls/common/EsgHTMLE.h"

namespace grid {

// The renderer keeps the one pair; the grid only hands its colours over.
void SetHTMLHighlightColors(TColor background, TColor text) { controls::SetHTMLHighlightColors(background, text); }

THTMLHighlightColors HTMLHighlightColors()
{
    return {controls::HTMLHighlightBackground(), controls::HTMLHighlightText()};
}

}  // namespace grid
