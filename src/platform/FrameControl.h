#pragma once
#include <QRect>

#include "platform/TCanvas.h"

// The classic look of the standard controls' parts (check boxes, radio buttons, push buttons,
// scroll arrows) and 3D edges, in the system colours, for controls that paint themselves.
namespace platform {

enum : unsigned {
    DFC_CAPTION = 1, DFC_MENU = 2, DFC_SCROLL = 3, DFC_BUTTON = 4,
    DFCS_BUTTONCHECK = 0x0, DFCS_BUTTONRADIO = 0x4, DFCS_BUTTON3STATE = 0x8, DFCS_BUTTONPUSH = 0x10,
    DFCS_SCROLLUP = 0x0, DFCS_SCROLLDOWN = 0x1, DFCS_SCROLLLEFT = 0x2, DFCS_SCROLLRIGHT = 0x3,
    DFCS_SCROLLCOMBOBOX = 0x5,
    DFCS_INACTIVE = 0x100, DFCS_PUSHED = 0x200, DFCS_CHECKED = 0x400, DFCS_HOT = 0x1000,
    DFCS_ADJUSTRECT = 0x2000, DFCS_FLAT = 0x4000, DFCS_MONO = 0x8000,
};

enum : unsigned {
    BDR_RAISEDOUTER = 1, BDR_SUNKENOUTER = 2, BDR_RAISEDINNER = 4, BDR_SUNKENINNER = 8,
    EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER, EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER,
    BF_LEFT = 1, BF_TOP = 2, BF_RIGHT = 4, BF_BOTTOM = 8, BF_RECT = 15, BF_SOFT = 0x1000, BF_ADJUST = 0x2000,
    BF_FLAT = 0x4000, BF_MONO = 0x8000,
};

// Draws the part into r; with DFCS_ADJUSTRECT r shrinks to the area inside the part's edge.
bool DrawFrameControl(TCanvas& canvas, QRect& r, unsigned type, unsigned state);
// A 3D edge of one or two pixel rings; with BF_ADJUST r shrinks to the inside. BF_SOFT lights the
// outer ring of a raised edge brighter; BF_FLAT draws the outer ring in the shadow colour and the
// inner one in the face colour, BF_MONO the outer in the frame colour and the inner in the window's.
bool DrawEdge(TCanvas& canvas, QRect& r, unsigned edge, unsigned flags);

}  // namespace platform
