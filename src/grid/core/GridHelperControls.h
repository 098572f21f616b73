#pragma once
#include <QImage>
#include <QPointer>
#include <QPolygon>
#include <QWidget>
#include <functional>
#include <memory>

#include "grid/core/GridTypes.h"
#include "platform/TAction.h"
#include "platform/TCanvas.h"
#include "platform/TCustomControl.h"

class QMenu;
class QShortcut;

// Small controls and bitmaps the grid makes for itself: the owner-drawn speed button and check box
// of its find bar and cells, the arrows that mark a drop position while columns or rows are
// dragged, the window behind the translucent focus frame and the soft mask of that frame.
namespace grid::helpers {

// A vertical (or horizontal) gradient of `steps` bands with an optional outline.
void DrawButtonGradient(platform::TCanvas& canvas, TColor from, TColor to, TColor border, int steps, QRect r,
                        bool horizontal);

// 0 without visual styles, else 1 "NormalColor", 2 "HomeStead", 3 "Metallic" (0 for any other).
int CurrentXPColorScheme();
bool IsWinXPOrLater();
bool IsThemedComCtl6();

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TExtGridButtonStyle { tasButton, tasCheck };
enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };

// Where glyph and caption go in a client of the given size.
struct TButtonLayoutResult {
    QPoint Glyph, Caption;
};
TButtonLayoutResult LayoutGlyphAndCaption(QSize client, QSize glyph, QSize caption, TButtonLayout layout, int margin,
                                          int spacing);

class TExtGridButton;

// Keeps the linked button following its action: caption, enabled, hint and visible as any control,
// the checked state as Down and the group index.
class TExtGridButtonActionLink : public platform::TActionLink {
public:
    explicit TExtGridButtonActionLink(TExtGridButton* client);
    TExtGridButton* Button() const { return FClient; }
    bool IsCaptionLinked() const override;
    bool IsCheckedLinked() const override;
    bool IsGroupIndexLinked() const override;
    bool IsEnabledLinked() const override;
    bool IsHintLinked() const override;
    bool IsVisibleLinked() const override;
    void SetCaption(const QString& value) override;
    void SetChecked(bool value) override;
    void SetGroupIndex(int value) override;
    void SetEnabled(bool value) override;
    void SetHint(const QString& value) override;
    void SetVisible(bool value) override;

protected:
    // Raises unless the client is a grid button.
    void AssignClient(QObject* client) override;

private:
    TExtGridButton* FClient = nullptr;
};

class TExtGridButton : public platform::TCustomControl {
    Q_OBJECT
public:
    explicit TExtGridButton(QWidget* parent = nullptr);

    QString Caption;
    QImage Glyph, GlyphHot, GlyphDown, GlyphDisabled;
    TButtonLayout Layout = blGlyphLeft;
    bool Shaded = true, ShowCaption = true, AutoXPStyle = false, Rounded = false, DropDownButton = false;
    TColor ColorTo = clNone, ColorHot = 0xCAC7C7, ColorHotTo = clNone, ColorDown = 0xD8D3D2, ColorDownTo = clNone;
    TColor ColorChecked = 0x808080, ColorCheckedTo = clNone;
    TColor BorderColor = clNone, BorderDownColor = clNone, BorderHotColor = clNone;
    TExtGridButtonStyle Style = tasButton;
    // Not owned: cleared when the menu is destroyed.
    QPointer<QMenu> DropDownMenu;
    std::function<void()> OnClick, OnDropDown, OnMouseEnter, OnMouseLeave;

    platform::TAction* Action() const { return FActionLink ? FActionLink->Action() : nullptr; }
    // Links the button to the action (nullptr unlinks) and takes the action's properties.
    void SetAction(platform::TAction* action);
    TExtGridButtonActionLink* ActionLink() const { return FActionLink.get(); }

    bool Down() const { return FDown; }
    void SetDown(bool value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int value);
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool value);
    int Margin() const { return FMargin; }
    // Values below -1 are ignored.
    void SetMargin(int value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int value);
    int Look() const { return FLook; }
    // Applies one of the colour sets 0 to 6; other values change nothing.
    void SetLook(int value);
    // The look follows the colour scheme (CurrentXPColorScheme) now and on every theme change.
    bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
    void SetAutoThemeAdapt(bool value);
    TButtonState State() const { return FState; }
    bool MouseInControl() const { return FMouseInControl; }
    // OnClick when set, else the linked action is executed.
    void Click();
    // The grey silhouette drawn under a hot glyph.
    const QImage& GlyphShade() const { return FGlyphShade; }
    // A disabled glyph from the glyph when none is set, and the shade when Shaded.
    void GlyphChanged();

protected:
    void Paint() override;
    void MouseDown(platform::TMouseButton button, platform::TShiftState shift, int x, int y) override;
    void MouseMove(platform::TShiftState shift, int x, int y) override;
    void MouseUp(platform::TMouseButton button, platform::TShiftState shift, int x, int y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void EnabledChanged() override;
    void DblClick() override;
    void changeEvent(QEvent* event) override;

private:
    void ThemeAdapt();
    // The group notification: a button of the group went down.
    void ButtonPressed(int group, TExtGridButton* sender);
    void NotifyGroup();
    void UpdateTracking();
    int FGroupIndex = 0;
    bool FDown = false, FAllowAllUp = false, FFlat = true, FDragging = false, FMouseInControl = false;
    int FMargin = -1, FSpacing = 4, FLook = -1;
    bool FAutoThemeAdapt = false;
    TButtonState FState = bsUp;
    QImage FGlyphShade;
    std::unique_ptr<TExtGridButtonActionLink> FActionLink;
};

class TExtCheckBox : public platform::TCustomControl {
    Q_OBJECT
public:
    explicit TExtCheckBox(QWidget* parent = nullptr);

    enum TTextLayout { tlTop, tlCenter, tlBottom };
    // An "&X" in the caption makes Alt+X the accelerator of the box within its window.
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& value);
    bool ReadOnly = false, ReturnIsTab = false, Ellipsis = false;
    bool BoxRight = false;  // the box on the right of the caption
    TTextLayout ButtonVertAlign = tlTop;
    std::function<void()> OnClick;

    TCheckBoxState State() const { return FState; }
    void SetState(TCheckBoxState value);
    bool Checked() const { return FState == cbChecked; }
    void SetChecked(bool value);
    virtual void Toggle();
    bool Down() const { return FDownState; }
    // Paints the parent's background under the box instead of erasing it.
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    // Keeps the parent's background in FBkgBmp until the box moves, resizes or changes transparency.
    bool TransparentChaching = false;
    bool BackgroundCached() const { return FBkgCache; }
    // The accelerator of the caption was pressed: toggles and focuses, without a click.
    void Accelerator();

protected:
    void Paint() override;
    void MouseDown(platform::TMouseButton button, platform::TShiftState shift, int x, int y) override;
    void MouseMove(platform::TShiftState shift, int x, int y) override;
    void MouseUp(platform::TMouseButton button, platform::TShiftState shift, int x, int y) override;
    void KeyDown(int& key, platform::TShiftState shift) override;
    void KeyUp(int& key, platform::TShiftState shift) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void DoClick();
    void DropBackground();
    QImage ParentBackground() const;
    QString FCaption = QStringLiteral("TExtCheckBox");
    QShortcut* FAccelerator = nullptr;
    QImage FBkgBmp;
    bool FBkgCache = false, FTransparent = false;
    TCheckBoxState FState = cbUnchecked;
    bool FDownState = false, FMouseDown = false, FHot = false, FClicksDisabled = false;
};

enum TArrowDirection { arrUp, arrDown, arrLeft, arrRight };

// A small arrow-shaped window marking where a dragged column or row lands, lime unless the grid
// gives it another colour. It stands above the other windows, never takes the focus and lets every
// mouse event through, so the drag under it goes on undisturbed.
class TArrowWindow : public QWidget {
public:
    explicit TArrowWindow(QWidget* owner = nullptr, TArrowDirection direction = arrUp);
    void Init(QWidget* owner, TArrowDirection direction);
    TArrowDirection Dir = arrUp;
    QPolygon Arrow;
    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    // Shows the arrow with its top-left corner at the screen point.
    void ShowAt(QPoint screen);
    // Where the arrow stands on the screen, and whether it is shown.
    TRect Bounds() const;
    bool Visible() const { return isVisible(); }
    static QPolygon Outline(TArrowDirection direction);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    TColor FColor = platform::clLime;
};

// The button that follows the mouse while a column or row is moved by its header (or a column is
// dragged), showing the header text as plain text. Like the arrows it takes neither the focus nor
// the mouse.
class THeaderDragButton : public QWidget {
public:
    explicit THeaderDragButton(QWidget* owner = nullptr);
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& caption);
    // Shows the button over the screen rectangle.
    void ShowAt(QRect screen);
    TRect Bounds() const;
    bool Visible() const { return isVisible(); }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QString FCaption;
};

// The pop-up behind the translucent frame round the current cell: it never takes the focus or
// the mouse and shows the image it is given.
class TGridFocusWindow : public QWidget {
public:
    explicit TGridFocusWindow(QWidget* owner);

protected:
    void paintEvent(QPaintEvent*) override;
};

// A 32-bit premultiplied alpha picture of the focus frame.
class TGridAlphaMask {
public:
    QImage Bitmap{0, 0, QImage::Format_ARGB32_Premultiplied};
    uint8_t Opacity = 255;
    // From another mask: the opacity and the pixels row by row (the sizes must agree).
    void Assign(const TGridAlphaMask& source);
    void Assign(const QImage& source);
    // Takes bitmap's size; alpha is the mask's red byte and the colours are premultiplied by it.
    // Does nothing unless bitmap has 24 bits per pixel; the colour does not affect the result.
    void MergeMask(const QImage& mask, const QImage& bitmap, TColor color);
};

// A white rounded rectangle on black in a 24-bit bitmap of the size, outlined with the pen width
// (filled below width 1), then blurred by the radius.
void DrawBlurredRoundRectMask(QImage& bitmap, int width, int height, int penWidth, int cornerSize, double blurRadius);
// A Gaussian blur of a 24-bit bitmap; any other bitmap raises.
void BlurBitmap24(QImage& bitmap, double radius);

}  // namespace grid::helpers
