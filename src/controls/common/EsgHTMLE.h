#pragma once
#include "platform/TCanvas.h"

#include <QRect>
#include <QString>

class QWidget;

namespace platform {
class TImageList;
}

// The small mark-up of cell texts, hints, footers and drop-down strips: one routine that lays out,
// draws, measures and hit-tests a mark-up text in a rectangle, and plain routines that convert,
// escape, mark and edit mark-up text. Only the tags of the mark-up are interpreted; everything
// else is shown as text. Images come from the caller's image list, picture container or picture
// cache, or from the program's own resources; nothing is read from files or the network.
namespace controls {

using platform::TColor;

class THTMLPictureCache;
class TPictureContainer;

// What a call asks for. The defaults draw with word wrap off and test no point.
struct THTMLRenderInput {
    const platform::TImageList* Images = nullptr;  // sources "IDX:n"
    int HitX = -1, HitY = -1;                      // the point to test, canvas coordinates
    int FocusLink = -1;                            // 0-based anchor with the keyboard focus; -1 none
    int HoverLink = 0;                             // 1-based anchor under the mouse; 0 none
    int ShadowOffset = 1;
    bool HitOnly = false;      // draw nothing, only test the point (or find ControlID)
    bool MeasureOnly = false;  // only measure: no drawing pass, no hit result
    bool Printing = false;
    bool Selected = false;     // colour tags and anchors leave the text colour alone
    bool BlinkState = true;    // false: blinking text is invisible
    bool HoverStyle = false;   // only the hovered anchor is underlined and gets the hover colours
    bool WordWrap = false;     // false: one line per break, overflow cut with an ellipsis
    bool MouseDown = false;    // pressed look of in-cell controls
    double ResolutionFactor = 1.0;
    TColor URLColor = platform::clBlue;
    TColor HoverColor = platform::clNone;
    TColor HoverFontColor = platform::clNone;
    TColor ShadowColor = platform::clGray;
    TColor HighlightColor = platform::clHighlight;          // background of the HI tag
    TColor HighlightTextColor = platform::clHighlightText;  // text of the HI tag
    QString ControlID;  // hit-only calls: the control to find
    THTMLPictureCache* Cache = nullptr;
    const TPictureContainer* Container = nullptr;
    QWidget* Window = nullptr;  // themed parts are drawn for it
    int ReadingOrder = 0;
};

// What a call found.
struct THTMLRenderResult {
    QString Anchor;       // HREF at the point ("ctrl" for a control)
    QString FocusAnchor;  // HREF of the focused anchor
    QString AnchorTitle;  // TITLE at the point
    int Width = 0;        // widest line, trailing spaces left out
    int Height = 0;       // sum of the line heights; one "gh" line when there is none
    int LinkCount = 0;
    int LinkUnderPoint = -1;  // 1-based
    QRect HoverRect;          // the anchor at the point
    QRect ControlRect;        // the in-cell control at the point (or with ControlID); empty when none
    QString ControlValue;
    QString ControlID;
    QString ControlType;  // upper case
};

// Lays out, draws (unless measuring or hit-testing only), measures and hit-tests the text in r.
// True when the point lies on an in-cell control, on an image inside an anchor, or, in hit-only
// calls, on an anchor's text or the control with the given ID. The canvas's pen, brush and font
// are as they were when it returns.
bool RenderHTMLText(platform::TCanvas& canvas, const QString& text, const QRect& r, const THTMLRenderInput& in,
                    THTMLRenderResult& out);
// The size of the text laid out in r (word wrapped when asked).
QSize MeasureHTMLText(platform::TCanvas& canvas, const QString& text, const QRect& r, bool wordWrap,
                      const platform::TImageList* images = nullptr);

// Line and rule tags become CR LF, every other tag goes; from a "<" without ">" the rest stays.
QString HTMLToPlainText(const QString& text);
QString HTMLEncodeEntities(const QString& text, bool named);
QString HTMLDecodeEntities(const QString& text, bool named);
QString HTMLEncodeSpaces(const QString& text);
// Wraps every occurrence of search in the visible text in <tag> and </tag>.
QString HTMLMarkText(const QString& html, const QString& search, const QString& tag, bool caseSensitive);
QString HTMLUnmarkText(const QString& html, const QString& tag);

// In-cell form controls of a mark-up text ("<CONTROL ...>" tags).
bool HTMLHasControls(const QString& text);
QString HTMLNextControlID(const QString& html, const QString& id);
int HTMLGetControlValue(const QString& html, const QString& id, QString& value);
QString HTMLGetControlProp(const QString& html, const QString& id);
int HTMLGetControlMaxLen(const QString& html, const QString& id);
int HTMLSetControlValue(QString& html, const QString& id, const QString& value);
QString HTMLClearRadios(const QString& html);


// Colour names ("clRed", any case) and "#RRGGBB" values of the mark-up; unknown names give black.
TColor HTMLColor(const QString& value);

}  // namespace controls
