#include "controls/dropdowns/DropDownStrips.h"
#include "platform/OwnedObject.h"

#include "controls/dropdowns/DropDownEdit.h"
#include "platform/Exception.h"

#include <QCursor>
#include <QGuiApplication>
#include <algorithm>

namespace dropdowns {

using namespace platform;

template <typename T>
T* TDbgList<T>::Items(int index) const
{
    if (index < 0 || index >= Count())
        throw Exception("Index out of bounds in list read access");
    return FItems[size_t(index)];
}

template <typename T>
void TDbgList<T>::SetItems(int index, T* item)
{
    if (index < 0 || index >= Count())
        throw Exception("Index out of bounds in list write access");
    FItems[size_t(index)] = item;
}

template <typename T>
void TDbgList<T>::Delete(int index)
{
    if (index < 0 || index >= Count())
        throw Exception("Index out of bounds in list write access");
    FItems.erase(FItems.begin() + index);
}

template class TDbgList<TExtButton>;
template class TDbgList<QObject>;

TExtStrip::TExtStrip(QWidget* parent) : TCustomControl(parent)
{
    SetDoubleClicks(true);
}

TExtStrip::~TExtStrip() = default;

TExtCustomDropDown* TExtStrip::ExtDropDown() const
{
    return FExtDropDown;
}

void TExtStrip::InitButtons()
{
    if (FExtDropDown)
        CreateButtons();
}

void TExtStrip::CreateButtons()
{
    if (!FExtDropDown)
        return;
    ClearButtons();
    const int maxHeight = GetButtonHeight();
    for (int i = 0; i < ItemCount(); ++i) {
        auto* button = new TExtButton(this);
        button->SetAppearance(&FExtDropDown->ButtonAppearance());
        if (IsFooter())
            button->SetExtDropDown(FExtDropDown);
        button->SetImages(FImages);
        CopyItem(button, i, true);
        button->SizeToContent();
        button->Tag = i;
        button->OnClick = [this, button] { ButtonClick(button); };
        button->show();
        FButtonList.Add(button);
    }
    // The item's own size wins over the content's; a height above the button area is cut.
    for (int i = 0; i < FButtonList.Count(); ++i) {
        TExtButton* button = FButtonList.Items(i);
        int w = button->width(), h = button->height();
        const THeaderButton* item = nullptr;
        if (auto* header = qobject_cast<TExtHeader*>(this))
            item = header->Buttons() ? header->Buttons()->Items(i) : nullptr;
        else if (auto* footer = qobject_cast<TExtFooter*>(this))
            item = footer->Buttons() ? footer->Buttons()->Items(i) : nullptr;
        if (item) {
            if (item->Width() > 0)
                w = item->Width();
            if (item->Height > 0)
                h = item->Height;
        }
        h = std::min(h, maxHeight);
        button->resize(w, h);
    }
    ArrangeButtons();
}

void TExtStrip::ClearButtons()
{
    for (int i = FButtonList.Count() - 1; i >= 0; --i) {
        TExtButton* button = FButtonList.Items(i);
        platform::Destroy_Now(button);
    }
    FButtonList.Clear();
}

void TExtStrip::ArrangeButtons()
{
    if (FButtonList.Count() == 0)
        return;
    const QRect r = GetButtonRect();
    const int rBottom = r.top() + r.height();
    TButtonAlignment alignment = baRight;
    if (auto* header = qobject_cast<TExtHeader*>(this))
        alignment = header->Appearance().ButtonAlignment;
    else if (auto* footer = qobject_cast<TExtFooter*>(this))
        alignment = footer->Appearance().ButtonAlignment;
    int x = alignment == baRight ? r.left() + r.width() : r.left();
    for (int i = 0; i < FButtonList.Count(); ++i) {
        TExtButton* button = FButtonList.Items(i);
        const int top = std::max(r.top(), (rBottom - button->height()) / 2);
        if (alignment == baRight) {
            x -= button->width();
            button->move(x, top);
        } else {
            button->move(x, top);
            x += button->width();
        }
    }
}

void TExtStrip::UpdateButtons()
{
    if (!FExtDropDown)
        return;
    for (int i = 0; i < FButtonList.Count(); ++i) {
        TExtButton* button = FButtonList.Items(i);
        button->SetAppearance(&FExtDropDown->ButtonAppearance());
        button->SetImages(FImages);
        if (i < ItemCount())
            CopyItem(button, i, false);
    }
    ArrangeButtons();
}

QRect TExtStrip::GetCaptionRect() const
{
    if (FButtonList.Count() == 0)
        return Rect(-1, -1, -1, -1);
    QRect r = GetButtonRect();
    r.setRight(FButtonList.Items(FButtonList.Count() - 1)->x() - 2 - 1);
    return r;
}

void TExtStrip::ButtonClick(QObject* sender)
{
    auto* button = qobject_cast<TExtButton*>(sender);
    if (!button || !FExtDropDown)
        return;
    const TDropDownButtonItemClick& handler =
        IsFooter() ? FExtDropDown->OnDropDownFooterButtonClick : FExtDropDown->OnDropDownHeaderButtonClick;
    if (handler)
        handler(FExtDropDown, button->Tag);
}

void TExtStrip::AppearanceChanged()
{
    if (auto* header = qobject_cast<TExtHeader*>(this)) {
        setVisible(header->Appearance().Visible());
        resize(width(), header->Appearance().Height);
    } else if (auto* footer = qobject_cast<TExtFooter*>(this)) {
        setVisible(footer->Appearance().Visible());
        resize(width(), footer->Appearance().Height);
    }
}

void TExtStrip::Resize()
{
    TCustomControl::Resize();
    ArrangeButtons();
}

void TExtStrip::PaintStrip(TCanvas& canvas, TColor color, TColor colorTo, TGradientDirection direction,
                           TColor borderColor, int borderWidth, int imageIndex, const QString& caption,
                           const TFont& font)
{
    const QRect r = ClientRect();
    const int left = r.left(), top = r.top(), right = r.left() + r.width(), bottom = r.top() + r.height();
    if (colorTo == clNone) {
        if (color != clNone) {
            canvas.Brush.Color = color;
            canvas.Brush.Style = TBrushStyle::bsSolid;
            canvas.FillRect(r);
        }
    } else {
        DrawGradient(canvas, color, colorTo, 80, r, direction == gdHorizontal);
    }
    if (borderColor != clNone && borderWidth > 0) {
        canvas.Pen.Width = borderWidth;
        canvas.Pen.Color = borderColor;
        canvas.Pen.Style = TPenStyle::psSolid;
        const bool formBorder = FExtDropDown && FExtDropDown->DropDownBorderWidth() > 0 &&
                                FExtDropDown->DropDownBorderColor() != clNone;
        if (!IsFooter()) {
            canvas.MoveTo(left, bottom - 1);
            canvas.LineTo(right, bottom - 1);
            if (!formBorder) {
                canvas.MoveTo(left, bottom - 1);
                canvas.LineTo(left, top);
                canvas.LineTo(right, top);
                canvas.LineTo(right, bottom - 1);
            }
        } else {
            canvas.MoveTo(left, top);
            canvas.LineTo(right, top);
            if (!formBorder) {
                canvas.MoveTo(left, top);
                canvas.LineTo(left, bottom);
                canvas.LineTo(right, bottom);
                canvas.LineTo(right, top);
            }
        }
        canvas.Pen.Width = 1;
        canvas.Brush.Style = TBrushStyle::bsClear;
        canvas.Pen.Color = BlendColor(borderColor, clWhite, 20);
        if (!IsFooter())
            canvas.Rectangle(left, top, right, bottom - borderWidth);
        else
            canvas.Rectangle(left, top + borderWidth, right, bottom);
    }
    QRect c = r.adjusted(borderWidth, borderWidth, -borderWidth, -borderWidth);
    if (imageIndex >= 0 && FImages) {
        FImages->Draw(canvas, c.left() + 4, c.top() + (c.height() - FImages->Height()) / 2, imageIndex, true);
        c.setLeft(c.left() + FImages->Width() + 8);
    }
    QString text = caption;
    if (OnGetText)
        OnGetText(this, text);
    if (text.isEmpty())
        return;
    if (FButtonList.Count() > 0)
        c.setRight(GetCaptionRect().right());
    canvas.Font = font;
    QSize size;
    DrawHTMLText(canvas, text, c, FImages, false, QString(), size);
    if (size.height() < c.height())
        c.setTop(c.top() + (c.height() - size.height()) / 2);
    DrawHTMLText(canvas, text, c, FImages, true, QString(), size);
}

TExtHeader::TExtHeader(QWidget* parent) : TExtStrip(parent), FAppearance(this)
{
    FAppearance.OnChange = [this] { AppearanceChanged(); };
    FAppearance.OnButtonsChanged = [] {};
}

void TExtHeader::SetExtDropDown(TExtCustomDropDown* value)
{
    FExtDropDown = value;
    if (!value) {
        FImages = nullptr;
        return;
    }
    FImages = value->Images();
    FAppearance.Assign(value->DropDownHeader());
}

THeaderButtons* TExtHeader::Buttons() const
{
    return FExtDropDown ? &FExtDropDown->DropDownHeader().Buttons() : nullptr;
}

QRect TExtHeader::GetButtonRect() const
{
    return ClientRect().adjusted(2, 2, -2, -3);
}

int TExtHeader::ItemCount() const
{
    return Buttons() ? Buttons()->Count() : 0;
}

void TExtHeader::CopyItem(TExtButton* button, int index, bool full)
{
    Q_UNUSED(full);
    const THeaderButton* item = Buttons()->Items(index);
    button->SetCaption(item->Caption());
    button->SetImageIndex(item->ImageIndex);
    button->setEnabled(item->Enabled());
}

void TExtHeader::Paint()
{
    TCanvas& canvas = Canvas();
    if (OnDrawBackGround) {
        OnDrawBackGround(this, canvas, ClientRect());
        return;
    }
    PaintStrip(canvas, FAppearance.Color, FAppearance.ColorTo, FAppearance.GradientDirection,
               FAppearance.BorderColor, FAppearance.BorderWidth, FAppearance.ImageIndex, FAppearance.Caption,
               FAppearance.Font());
}

TExtFooter::TExtFooter(QWidget* parent) : TExtStrip(parent), FAppearance(this)
{
    FAppearance.OnChange = [this] { AppearanceChanged(); };
    setMouseTracking(true);
}

void TExtFooter::SetExtDropDown(TExtCustomDropDown* value)
{
    FExtDropDown = value;
    if (!value) {
        FImages = nullptr;
        return;
    }
    FImages = value->Images();
    FAppearance.Assign(value->DropDownFooter());
}

TFooterButtons* TExtFooter::Buttons() const
{
    return FExtDropDown ? &FExtDropDown->DropDownFooter().Buttons() : nullptr;
}

QRect TExtFooter::GetButtonRect() const
{
    QRect r = ClientRect().adjusted(2, 2, -2, -2);
    if (HasSizeGrip())
        r.setRight(r.right() - 12);
    return r;
}

bool TExtFooter::HasSizeGrip() const
{
    return FAppearance.SizeGrip && FExtDropDown && FExtDropDown->DropDownSizeable();
}

int TExtFooter::ItemCount() const
{
    return Buttons() ? Buttons()->Count() : 0;
}

void TExtFooter::CopyItem(TExtButton* button, int index, bool full)
{
    const TFooterButton* item = Buttons()->Items(index);
    button->SetCaption(item->Caption());
    button->SetImageIndex(item->ImageIndex);
    button->setEnabled(item->Enabled());
    if (full)
        button->ModalResult = item->ModalResult;
}

void TExtFooter::Paint()
{
    TCanvas& canvas = Canvas();
    if (OnDrawBackGround) {
        OnDrawBackGround(this, canvas, ClientRect());
        return;
    }
    PaintStrip(canvas, FAppearance.Color, FAppearance.ColorTo, FAppearance.GradientDirection,
               FAppearance.BorderColor, FAppearance.BorderWidth, FAppearance.ImageIndex, FAppearance.Caption,
               FAppearance.Font());
    if (HasSizeGrip())
        DrawSizeGrip(canvas, ClientRect());
}

void TExtFooter::DrawSizeGrip(TCanvas& canvas, QRect r)
{
    const int x0 = r.left() + r.width() - FAppearance.BorderWidth - 16;
    const int y0 = r.top() + r.height();
    static const QPoint dots[6] = {{5, -4}, {9, -4}, {13, -4}, {13, -8}, {13, -12}, {9, -8}};
    auto paintDots = [&](TColor color, int shift) {
        canvas.Pen.Color = color;
        canvas.Pen.Width = 1;
        canvas.Pen.Style = TPenStyle::psSolid;
        canvas.Brush.Color = color;
        canvas.Brush.Style = TBrushStyle::bsSolid;
        for (const QPoint& d : dots)
            canvas.Rectangle(x0 + d.x() - shift, y0 + d.y() - shift, x0 + d.x() - shift + 2, y0 + d.y() - shift + 2);
    };
    paintDots(BlendColor(clWhite, clWhite, 50), 0);
    paintDots(BlendColor(FAppearance.BorderColor, clWhite, 100), 1);
}

bool TExtFooter::InGripZone(int x, int y) const
{
    return HasSizeGrip() && parentWidget() && x > width() - 12 && y > height() - 15;
}

void TExtFooter::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TExtStrip::MouseDown(button, shift, x, y);
    if (button != mbLeft || !InGripZone(x, y))
        return;
    if (auto* form = qobject_cast<TDropDownForm*>(window())) {
        FGripDrag = true;
        form->BeginCornerSizing(QCursor::pos());
        form->FSizeStart = mapToGlobal(QPoint(x, y));
    }
}

void TExtFooter::MouseMove(TShiftState shift, int x, int y)
{
    TExtStrip::MouseMove(shift, x, y);
    if (!FGripDrag)
        return;
    if (auto* form = qobject_cast<TDropDownForm*>(window())) {
        const QPoint delta = mapToGlobal(QPoint(x, y)) - form->FSizeStart;
        QSize size = form->FSizeStartSize + QSize(delta.x(), delta.y());
        size = size.expandedTo(form->minimumSize());
        form->resize(size);
        if (form->OnSizing)
            form->OnSizing();
    }
}

void TExtFooter::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    FGripDrag = false;
    TExtStrip::MouseUp(button, shift, x, y);
}

QCursor TExtFooter::CursorAt(int x, int y)
{
    if (FGripDrag || InGripZone(x, y))
        return QCursor(Qt::SizeFDiagCursor);
    return TExtStrip::CursorAt(x, y);
}

}  // namespace dropdowns
