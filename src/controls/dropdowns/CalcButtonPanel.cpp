#include "controls/dropdowns/CalcButtonPanel.h"

#include "controls/common/ExtXPVS.h"
#include "controls/dropdowns/DropDownDraw.h"
#include "platform/TImageList.h"

#include <QPainter>
#include <algorithm>

namespace dropdowns {

using platform::TCanvas;

// ---- TButtonItem ----

void TButtonItem::Assign(const TButtonItem& source)
{
    Caption = source.Caption;
    CaptionColor = source.CaptionColor;
    Tag = source.Tag;
    ImageIndex = source.ImageIndex;
    FImage = source.FImage;
    Enabled = source.Enabled;
    Name = source.Name;
}

// ---- TButtonItems ----

TButtonItem* TButtonItems::Add()
{
    FItems.push_back(std::make_unique<TButtonItem>());
    return FItems.back().get();
}

TButtonItem* TButtonItems::Insert(int index)
{
    index = std::clamp(index, 0, Count());
    auto it = FItems.insert(FItems.begin() + index, std::make_unique<TButtonItem>());
    return it->get();
}

TButtonItem* TButtonItems::GetItem(int index) const
{
    if (index < 0 || index >= Count())
        return nullptr;
    return FItems[size_t(index)].get();
}

void TButtonItems::SetItem(int index, const TButtonItem& value)
{
    if (TButtonItem* item = GetItem(index))
        item->Assign(value);
}

void TButtonItems::Delete(int index)
{
    if (index >= 0 && index < Count())
        FItems.erase(FItems.begin() + index);
}

void TButtonItems::Assign(const TButtonItems& source)
{
    if (&source == this)
        return;
    FItems.clear();
    for (const auto& item : source.FItems)
        FItems.push_back(std::make_unique<TButtonItem>(*item));
}

// ---- TButtonAppearance ----

TButtonAppearance::TButtonAppearance()
    : FColorCheckedTo(DarkerColor(0xF9D2B2, -10, -10, 0)),
      FColorDisabled(DarkerColor(platform::clWhite, -5, -5, -5)),
      FColorDisabledTo(DarkerColor(platform::clWhite, -5, -5, -5)),
      FColorChecked(DarkerColor(0xF5F0E1, -10, -10, 0))
{
    FFont.setPointSize(10);
    FFont.setBold(true);
}

void TButtonAppearance::Set(TColor& field, TColor value)
{
    if (field == value)
        return;
    field = value;
    Changed();
}

void TButtonAppearance::Changed()
{
    if (OnChange)
        OnChange();
}

void TButtonAppearance::Assign(const TButtonAppearance& source)
{
    if (&source == this)
        return;
    SetBorderColor(source.FBorderColor);
    SetBorderColorHot(source.FBorderColorHot);
    SetBorderColorDown(source.FBorderColorDown);
    SetBorderColorChecked(source.FBorderColorChecked);
    SetColor(source.FColor);
    SetColorTo(source.FColorTo);
    SetColorDown(source.FColorDown);
    SetColorDownTo(source.FColorDownTo);
    SetColorHot(source.FColorHot);
    SetColorHotTo(source.FColorHotTo);
    SetColorChecked(source.FColorChecked);
    SetColorCheckedTo(source.FColorCheckedTo);
    SetColorDisabled(source.FColorDisabled);
    SetColorDisabledTo(source.FColorDisabledTo);
    SetShineColor(source.FShineColor);
    GlowColorHot = source.GlowColorHot;
    GlowColorDown = source.GlowColorDown;
    FFont = source.FFont;
    FTextColor = source.FTextColor;
    FSpecialTextColor = source.FSpecialTextColor;
}

// ---- TCustomButtonPanel ----

namespace {

struct KeyDef {
    const char* Caption;
    const char* Name;
    int Tag;
    bool Special;
};

// In index order: the index is the key's position in Buttons.
constexpr KeyDef kCalculatorKeys[] = {
    {"", "BTN_ON", ckOn, false},           {"Back", "BTN_BACK", ckBack, true},
    {"CE", "BTN_CE", ckClearEntry, true},  {"C", "BTN_C", ckClear, true},
    {"MC", "BTN_MC", ckMemClear, true},    {"MR", "BTN_MR", ckMemRecall, true},
    {"MS", "BTN_MS", ckMemStore, true},    {"M+", "BTN_M+", ckMemAdd, true},
    {"0", "BTN_0", 0, false},              {"1", "BTN_1", 1, false},
    {"4", "BTN_4", 4, false},              {"7", "BTN_7", 7, false},
    {"8", "BTN_8", 8, false},              {"5", "BTN_5", 5, false},
    {"2", "BTN_2", 2, false},              {"+/-", "BTN_+/-", ckSign, false},
    {".", "BTN_.", ckPoint, false},        {"3", "BTN_3", 3, false},
    {"6", "BTN_6", 6, false},              {"9", "BTN_9", 9, false},
    {"/", "BTN_/", ckDivide, true},        {"*", "BTN_*", ckMultiply, true},
    {"-", "BTN_-", ckSubtract, true},      {"+", "BTN_+", ckAdd, true},
    {"=", "BTN_=", ckEqual, true},         {"1/x", "BTN_1/x", ckReciprocal, false},
    {"%", "BTN_%", ckPercent, false},      {"sqrt", "BTN_sqrt", ckSqrt, true},
};

// Column and row of each key below the top row, by index (columns 0..5, rows 1..4).
struct GridPos {
    int Index, Col, Row;
};
constexpr GridPos kGrid[] = {
    {0, 0, 0},
    {4, 0, 1},  {5, 0, 2},  {6, 0, 3},  {7, 0, 4},
    {11, 1, 1}, {10, 1, 2}, {9, 1, 3},  {8, 1, 4},
    {12, 2, 1}, {13, 2, 2}, {14, 2, 3}, {15, 2, 4},
    {19, 3, 1}, {18, 3, 2}, {17, 3, 3}, {16, 3, 4},
    {20, 4, 1}, {21, 4, 2}, {22, 4, 3}, {23, 4, 4},
    {27, 5, 1}, {26, 5, 2}, {25, 5, 3}, {24, 5, 4},
};

QSize ImageSizeOf(const TButtonItem& item, const platform::TImageList* images)
{
    if (!item.Image().isNull())
        return item.Image().size();
    if (images && item.ImageIndex >= 0)
        return QSize(images->Width(), images->Height());
    return QSize(0, 0);
}

}  // namespace

TCustomButtonPanel::TCustomButtonPanel(QWidget* parent) : TCustomControl(parent), FButtons(this)
{
    FButtons.OnChange = [this] { ButtonsChanged(); };
    FButtonAppearance.OnChange = [this] { AppearanceChanged(); };
    SetColor(platform::clWhite);
}

TCustomButtonPanel::~TCustomButtonPanel() = default;

void TCustomButtonPanel::ButtonsChanged()
{
    if (!FExtDropDown)
        Invalidate();
}

void TCustomButtonPanel::AppearanceChanged()
{
    if (!FExtDropDown)
        Invalidate();
}

void TCustomButtonPanel::SetImages(platform::TImageList* value)
{
    FImages = value;
    ArrangeButtons();
}

void TCustomButtonPanel::SetButtonPanelType(TButtonPanelType value)
{
    FButtonPanelType = value;
    ArrangeButtons();
}

void TCustomButtonPanel::Loaded()
{
    if (!FExtDropDown)
        CreateButtons();
}

void TCustomButtonPanel::ClearButtons()
{
    FButtons.Clear();
    FButtonHot = -1;
    FButtonDown = -1;
}

void TCustomButtonPanel::ResetButtons()
{
    ClearButtons();
    CreateButtons();
}

void TCustomButtonPanel::CreateButtons()
{
    if (FButtons.Count() == 0 && FButtonPanelType == plCalculator) {
        for (const KeyDef& def : kCalculatorKeys) {
            TButtonItem* item = FButtons.Add();
            item->Caption = QString::fromLatin1(def.Caption);
            item->Name = QString::fromLatin1(def.Name);
            item->Tag = def.Tag;
            item->Special = def.Special;
            if (def.Special)
                item->CaptionColor = platform::clMaroon;
        }
    }
    ArrangeButtons();
}

void TCustomButtonPanel::GetButtonsRect(QRect& r)
{
    r = ClientRect().adjusted(FOffSetX, FOffSetY, -FOffSetX, -FOffSetY);
}

void TCustomButtonPanel::ArrangeButtons()
{
    if (FButtons.Count() == 0 || FButtonPanelType != plCalculator)
        return;
    QRect r;
    GetButtonsRect(r);
    constexpr int G = 4;
    // Integer division truncating towards zero, as the layout is given.
    const int w = (r.width() - 2 * G) / 6;
    const int h = (r.height() - G) / 5;
    int ys[5];
    ys[0] = r.top();
    ys[1] = ys[0] + h + G;
    ys[2] = ys[1] + h - 1;
    ys[3] = ys[2] + h - 1;
    ys[4] = ys[3] + h - 1;
    int xs[6];
    xs[0] = r.left();
    xs[1] = xs[0] + w + G;
    xs[2] = xs[1] + w - 1;
    xs[3] = xs[2] + w - 1;
    xs[4] = xs[3] + w + G;
    xs[5] = xs[4] + w - 1;
    auto place = [this](int index, int left, int top, int width, int height) {
        if (TButtonItem* item = FButtons.GetItem(index)) {
            item->Left = left;
            item->Top = top;
            item->Width = width;
            item->Height = height;
        }
    };
    for (const GridPos& p : kGrid)
        place(p.Index, xs[p.Col], ys[p.Row], w, h);
    const int l = xs[1];
    const int e = xs[5] + w;
    const int w2 = (e - l - 2 * G) / 3;
    place(1, l, ys[0], w2, h);
    place(2, l + w2 + G, ys[0], w2, h);
    place(3, l + 2 * (w2 + G), ys[0], e - (l + 2 * (w2 + G)), h);
}

void TCustomButtonPanel::GetButtonRect(int index, QRect& r) const
{
    if (const TButtonItem* item = FButtons.GetItem(index))
        r = item->GetRect();
    else
        r = platform::Rect(-1, -1, -1, -1);
}

int TCustomButtonPanel::ButtonAtPos(int x, int y) const
{
    for (int i = 0; i < FButtons.Count(); ++i)
        if (FButtons.GetItem(i)->GetRect().contains(x, y))
            return i;
    return -1;
}

void TCustomButtonPanel::GetButtonSize(QSize& size)
{
    int imageW = 0, imageH = 0, captionW = 0, captionH = 0;
    TCanvas& canvas = Canvas();
    const platform::TFont saved = canvas.Font;
    canvas.Font = Font();
    for (int i = 0; i < FButtons.Count(); ++i) {
        const TButtonItem& item = *FButtons.GetItem(i);
        const QSize image = ImageSizeOf(item, FImages);
        imageW = std::max(imageW, image.width());
        imageH = std::max(imageH, image.height());
        const QSize caption = GetTextSize(canvas, item.Caption);
        captionW = std::max(captionW, caption.width());
        captionH = std::max(captionH, caption.height());
    }
    canvas.Font = saved;
    const bool both = imageW > 0 && captionW > 0;
    const int gap = both ? FCaptionGap : 0;
    if (FButtonLayout == ilCaptionLeft || FButtonLayout == ilCaptionRight)
        size = QSize(2 * FButtonOffSetX + imageW + gap + captionW,
                     std::max(imageH, captionH) + 2 * FButtonOffSetY);
    else
        size = QSize(std::max(imageW, captionW) + 2 * FButtonOffSetX,
                     2 * FButtonOffSetY + imageH + gap + captionH);
}

void TCustomButtonPanel::InvalidateButton(int index)
{
    const TButtonItem* item = FButtons.GetItem(index);
    if (!item)
        return;
    InvalidateRect(item->GetRect().adjusted(-8, -8, 8, 8));
}

void TCustomButtonPanel::DrawButtonNow(int index)
{
    // Qt paints only inside a paint event: the key is repainted at the next one.
    InvalidateButton(index);
}

void TCustomButtonPanel::SetButtonHot(int index)
{
    if (index == FButtonHot)
        return;
    if (index != -1) {
        const TButtonItem* item = FButtons.GetItem(index);
        if (!item || !item->Enabled)
            return;
    }
    const int old = FButtonHot;
    FButtonHot = -1;
    InvalidateButton(old);
    FButtonHot = index;
    if (index != -1)
        DrawButtonNow(index);
}

void TCustomButtonPanel::SetButtonDown(int index)
{
    if (index == FButtonDown)
        return;
    if (index != -1) {
        const TButtonItem* item = FButtons.GetItem(index);
        if (!item || !item->Enabled)
            return;
    }
    const int old = FButtonDown;
    FButtonDown = -1;
    InvalidateButton(old);
    FButtonDown = index;
    if (index != -1)
        DrawButtonNow(index);
}

void TCustomButtonPanel::DrawPanelButton(int index, TCanvas* canvas)
{
    const TButtonItem* item = FButtons.GetItem(index);
    if (!item || !canvas)
        return;
    const QRect key = item->GetRect();
    if (item->Left < 0 && item->Left + item->Width < 0)
        return;

    canvas->FillRect(key);
    int state = controls::PBS_NORMAL;
    if (!isEnabled())
        state = controls::PBS_DISABLED;
    else if (index == FButtonDown)
        state = controls::PBS_PRESSED;
    else if (index == FButtonHot)
        state = controls::PBS_HOT;
    controls::HTHEME theme = controls::OpenThemeData(this, QStringLiteral("button"));
    controls::DrawThemeBackground(theme, *canvas, controls::BP_PUSHBUTTON, state, key);
    controls::CloseThemeData(theme);

    QRect c = key.adjusted(FButtonOffSetX, FButtonOffSetY, -FButtonOffSetX, -FButtonOffSetY);
    platform::TFont font = FButtonAppearance.Font();
    font.Color = item->Special ? FButtonAppearance.SpecialTextColor() : FButtonAppearance.TextColor();
    canvas->Font = font;
    canvas->Brush.Style = platform::TBrushStyle::bsClear;

    const bool hasPicture = !item->Image().isNull();
    const bool hasListImage = !hasPicture && FImages && item->ImageIndex >= 0;
    const QSize image = (hasPicture || hasListImage) ? ImageSizeOf(*item, FImages) : QSize(0, 0);
    const bool hasImage = hasPicture || hasListImage;
    auto drawImage = [&](int x, int y) {
        if (hasPicture)
            canvas->Draw(x, y, item->Image());
        else if (hasListImage)
            FImages->Draw(*canvas, x, y, item->ImageIndex, item->Enabled);
    };
    auto drawCaption = [&](QRect r) {
        if (item->Caption.isEmpty())
            return;
        unsigned flags = platform::DT_SINGLELINE | platform::DT_VCENTER | platform::DT_NOPREFIX;
        if (!hasImage)
            flags |= platform::DT_CENTER;
        canvas->DrawText(item->Caption, r, flags);
    };
    const int vCentre = (c.height() - image.height()) / 2;

    switch (FButtonLayout) {
    case ilCaptionLeft: {
        drawCaption(c.adjusted(0, 0, -image.width(), 0));
        const int captionW = GetTextSize(*canvas, item->Caption).width();
        drawImage(c.left() + captionW + FCaptionGap, c.top() + vCentre);
        break;
    }
    case ilCaptionRight:
        if (hasImage) {
            drawImage(c.left(), c.top() + vCentre);
            c.setLeft(c.left() + image.width() + FCaptionGap);
        }
        drawCaption(c);
        break;
    case ilCaptionTop:
        if (!item->Caption.isEmpty()) {
            QRect captionRect = c.adjusted(0, 0, 0, -image.height());
            drawCaption(captionRect);
            const int captionH = GetTextSize(*canvas, item->Caption).height();
            drawImage(c.left(), c.top() + captionH + FCaptionGap);
        } else {
            drawImage(c.left(), c.top() + vCentre);
        }
        break;
    case ilCaptionBottom:
        if (item->Caption.isEmpty()) {
            drawImage(c.left(), c.top() + vCentre);
        } else {
            drawImage(c.left(), c.top());
            if (hasImage)
                c.setTop(c.top() + image.height() + FCaptionGap);
            drawCaption(c);
        }
        break;
    }
}

void TCustomButtonPanel::DrawPanelButtons(TCanvas* canvas, bool includeHot)
{
    for (int i = 0; i < FButtons.Count(); ++i) {
        if (i == FButtonHot)
            continue;
        canvas->Brush = platform::TBrush{Color(), platform::TBrushStyle::bsSolid};
        DrawPanelButton(i, canvas);
    }
    if (includeHot && FButtonHot >= 0) {
        canvas->Brush = platform::TBrush{Color(), platform::TBrushStyle::bsSolid};
        DrawPanelButton(FButtonHot, canvas);
    }
}

void TCustomButtonPanel::Paint()
{
    TCanvas& canvas = Canvas();
    canvas.Brush = platform::TBrush{Color(), platform::TBrushStyle::bsSolid};
    canvas.FillRect(ClientRect());
    if (!FExtDropDown) {
        canvas.Pen = platform::TPen{platform::clBlack, 1, platform::TPenStyle::psSolid};
        canvas.Brush.Style = platform::TBrushStyle::bsClear;
        canvas.Rectangle(ClientRect());
    }
    DrawPanelButtons(&canvas, true);
}

void TCustomButtonPanel::ButtonClick(int index)
{
    if (OnButtonClick)
        OnButtonClick(this, index);
}

void TCustomButtonPanel::MouseDown(platform::TMouseButton button, platform::TShiftState shift, int x, int y)
{
    TCustomControl::MouseDown(button, shift, x, y);
    const int index = ButtonAtPos(x, y);
    if (index >= 0 && FButtons.GetItem(index)->Enabled)
        SetButtonDown(index);
}

void TCustomButtonPanel::MouseMove(platform::TShiftState shift, int x, int y)
{
    TCustomControl::MouseMove(shift, x, y);
    const int index = ButtonAtPos(x, y);
    if (index >= 0 && FButtons.GetItem(index)->Enabled) {
        if (index != FButtonHot)
            SetButtonHot(index);
    } else {
        SetButtonHot(-1);
    }
}

void TCustomButtonPanel::MouseUp(platform::TMouseButton button, platform::TShiftState shift, int x, int y)
{
    TCustomControl::MouseUp(button, shift, x, y);
    if (FButtonDown < 0)
        return;
    const int pressed = FButtonDown;
    SetButtonDown(-1);
    if (ButtonAtPos(x, y) == pressed)
        ButtonClick(pressed);
}

void TCustomButtonPanel::MouseLeave()
{
    TCustomControl::MouseLeave();
    SetButtonHot(-1);
}

void TCustomButtonPanel::Resize()
{
    TCustomControl::Resize();
    ArrangeButtons();
}

}  // namespace dropdowns
