#pragma once
#include "controls/dropdowns/DropDownEdit.h"
#include "controls/dropdowns/DropDownHeaderFooter.h"
#include "platform/TCanvas.h"

#include <QRect>
#include <QSize>
#include <functional>

class QObject;

// The look of the item selector's hot and selected cells, and the event and enumeration types
// that the list-like drop-downs share with it (TItemLayout also places the calculator's captions).
namespace dropdowns {

using platform::TColor;

enum TSelectorType { stImage, stColor };
enum TItemLayout { ilCaptionLeft, ilCaptionRight, ilCaptionTop, ilCaptionBottom };

// (Sender, Canvas, R, Index): draws a cell itself.
using TDrawItemEvent = std::function<void(QObject* sender, platform::TCanvas& canvas, QRect r, int index)>;
// (Sender, var ASize): decides the cell size alone.
using TItemSizeEvent = std::function<void(QObject* sender, QSize& size)>;
// (Sender, Canvas, R): draws the selected value in the edit.
using TOnDrawSelectedItem = std::function<void(QObject* sender, platform::TCanvas& canvas, QRect r)>;

class TItemAppearance {
public:
    explicit TItemAppearance(void* owner = nullptr);

    void* GetOwner() const { return FOwner; }
    TNotifyEvent OnChange;

    TColor ColorMirrorHotTo = platform::clNone;
    TColor BorderColor = platform::clNone;
    TColor ColorMirrorHot = platform::clNone;
    TColor ColorSelectedTo = platform::clNone;
    TColor ColorSelected = platform::clNone;
    TColor EdgeColor = platform::clNone;
    TColor ColorHotTo = platform::clNone;
    TColor BorderColorBottom = platform::clNone;
    TColor ColorHot = platform::clNone;
    TColor BorderColorTop = platform::clNone;
    TColor ColorMirrorSelectedTo = platform::clNone;
    TColor ColorMirrorSelected = platform::clNone;
    TColor ColorSelectedText = platform::clBlack;
    TColor ColorHotText = platform::clBlack;
    TColor BorderColorHot = platform::clNone;
    TColor BorderColorSelected = platform::clNone;
    platform::TFont Font;

    TSelectionColorStyle ColorStyle() const { return FColorStyle; }
    // A new style loads its preset; scCustom keeps the colours.
    void SetColorStyle(TSelectionColorStyle value);
    void Assign(const TItemAppearance& source);

private:
    void* FOwner;
    TSelectionColorStyle FColorStyle = scCustom;
};

}  // namespace dropdowns
