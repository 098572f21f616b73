#include "grid/core/HTMLHighlight.h"

namespace grid {

namespace {
THTMLHighlightColors& Current()
{
    static THTMLHighlightColors colors;
    return colors;
}
}  // namespace

void SetHTMLHighlightColors(TColor background, TColor text) { Current() = {background, text}; }

THTMLHighlightColors HTMLHighlightColors() { return Current(); }

}  // namespace grid
