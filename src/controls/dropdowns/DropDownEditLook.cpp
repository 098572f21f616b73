#include "controls/dropdowns/DropDownEdit.h"

#include "controls/common/ExtXPVS.h"
#include "controls/common/GradientButton.h"

#include <QApplication>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

namespace dropdowns {

using namespace platform;
using namespace controls;

namespace {

struct TFormColors {
    TColor Color, ColorTo, BorderColor;  // BorderColor 0xFFFFFFFF: unchanged
    TColor HeaderColor, HeaderColorTo, FooterColor, FooterColorTo, FontColor, HeaderBorder, FooterBorder;
};

constexpr TColor Same = 0xFFFFFFFF;

// Form, header and footer colours per style, in the style's order (tsCustom has none).
const TFormColors FormColors[16] = {
    {0xFFFFFF, clNone, Same, 0xFCE1CB, 0xE0A57D, 0xFCE1CB, 0xE0A57D, clBlack, clBlack, 0x962D00},
    {0xFFFFFF, clNone, Same, 0xECE2E1, 0xB39698, 0xECE2E1, 0xB39698, clBlack, 0x947C7C, 0x947C7C},
    {0xFFFFFF, clNone, clNone, 0xCFF0EA, 0x8CC0B1, 0xCFF0EA, 0x8CC0B1, clBlack, 0x588060, 0x588060},
    {0xF2F2F2, 0xF2F2F2, clNone, 0x808080, 0x808080, 0x808080, 0x808080, 0xFFFFFF, 0x808080, 0x808080},
    {0xF3E5DA, 0xF0DED0, clNone, 0xFFEFE3, 0xFFD2AF, 0xFFEFE3, 0xFFD2AF, 0x723708, 0xFFD2AF, 0xFFD2AF},
    {0xFFFFFF, clNone, clNone, 0xF2F1F0, 0xC9C2BD, 0xF2F1F0, 0xC9C2BD, 0x433C37, 0x5C534C, 0x5C534C},
    {0xFFFFFF, clNone, Same, 0xFFFFFF, clBtnFace, 0xFFFFFF, clBtnFace, clBlack, 0x808080, 0x808080},
    {0xF5F9FA, 0xF5F9FA, clNone, 0xEBEEEF, 0x7E9898, 0xEBEEEF, 0x7E9898, 0xFFFFFF, 0x962D00, 0x962D00},
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {0xF8F4F1, 0xF0E8E3, clNone, 0xF8F7F6, 0xE8E0DB, 0xF8F7F6, 0xE8E0DB, 0x8B4215, 0x74706F, 0x74706F},
    {0xFFFFFF, 0xFFFFFF, 0x979797, 0xFFFDF9, 0xFFFAF0, 0xFFFAF0, 0xFFFDF9, clBlack, 0xFCF2DA, 0xFCF2DA},
    {0xFFFFFF, 0xFFFFFF, 0x979797, 0xFDFBFA, 0xFDF3EB, 0xFDFBFA, 0xFDF3EB, clBlack, 0xFBD6B8, 0xFBD6B8},
    {0xFFFFFF, 0xFFFFFF, 0x808080, clBtnFace, clBtnFace, clBtnFace, clBtnFace, clBlack, clNone, clNone},
    {0xFFFFFF, 0xF1EFED, 0xEDEDEC, 0xFDF6EF, 0xF0DAC7, 0xFDF6EF, 0xF0DAC7, 0x5B391E, 0xC7B29F, 0xC7B29F},
    {0xFFFFFF, 0xF1EFED, 0xEDEDEC, 0xFFFFFF, 0xEDE5E0, 0xFFFFFF, 0xEDE5E0, 0x5B391E, 0xD2CDC8, 0xD2CDC8},
    {0xFFFFFF, 0xF1EFED, 0xEDEDEC, 0xBFBFBF, 0x919191, 0xBFBFBF, 0x919191, 0xD7D7D6, 0x6D6D6D, 0x6D6D6D},
};

// Button faces per state: normal, hot, down (colour, to, border), disabled (colour, to), checked.
struct TButtonColors {
    TColor Color, ColorTo, Border;
    TColor Hot, HotTo, HotBorder;
    TColor Down, DownTo, DownBorder;
    TColor Disabled, DisabledTo;
    TColor Checked, CheckedTo, CheckedBorder;
};

constexpr TButtonColors SetO(TColor c, TColor to, TColor border)
{
    return {c, to, border, 0xEBFDFF, 0xACECFF, 0x99CEDB, 0xAAD9FF, 0x6EBBFF, 0x42AEFE, 0xF2F2F2, 0xB6B6B6,
            0x76AFF1, 0x4190F3, 0x45667B};
}

constexpr TButtonColors SetN(TColor c, TColor to, TColor border)
{
    return {c, to, border, 0x8AE3FD, clNone, 0x58CAF1, 0x6CD0FF, clNone, 0x308AC2, 0xF2F2F2, 0xB6B6B6,
            0x45E1FE, clNone, 0x4FA0CE};
}

const TButtonColors ButtonColors[16] = {
    SetO(0xFCE1CB, 0xE0A57D, clNone),
    SetO(0xECE2E1, 0xB39698, clNone),
    SetO(0xCFF0EA, 0x8CC0B1, clNone),
    {0xFFFFFF, 0xC9D1D5, clNone, 0xD2BDB6, 0xD2BDB6, 0x808080, 0xB59285, 0xB59285, 0x808080, 0xD8D5D4, 0xD8D5D4,
     0xD8D5D4, 0xD8D5D4, 0x808080},
    SetO(0xFFEFE3, 0xFFDDC4, clNone),
    SetO(0xF2F1F0, 0xC9C2BD, clNone),
    {0xFFFFFF, clBtnFace, clNone, 0xEFD3C6, 0xEFD3C6, clHighlight, clInactiveCaption, clInactiveCaption, clHighlight,
     0xB6B6B6, 0xB6B6B6, 0xB9D8DC, 0xB9D8DC, clBlack},
    SetO(0xFFFFFF, 0xDFEDF0, clNone),
    {},
    SetO(0xF9F8F8, 0xE4E2DF, clNone),
    {0xFFFDF9, 0xFFFAF0, 0xFCF2DA, 0xFEF9F0, 0xFFFAF0, 0xFCF2DA, 0xFEF9F0, 0xFDF0D7, 0xFEDF9A, 0xFFFFFF, 0xFFFFFF,
     0xFEF9F0, 0xFDF0D7, 0xFEDF9A},
    {0xFDFBFA, 0xFDF3EB, 0xFBD6B8, 0xFDFBFA, 0xFDF3EB, 0xFBD6B8, 0xFCEBDC, 0xFCDBC1, 0xCEA27D, 0xFFFFFF, 0xFFFFFF,
     0xFEF9F0, 0xFCDBC1, 0xCEA27D},
    {clBtnFace, clBtnFace, clNone, 0xC0C0C0, 0xC0C0C0, 0x808080, clHighlight, clHighlight, 0x808080, clBtnFace,
     clBtnFace, clBtnFace, clBtnFace, clHighlight},
    SetN(0xFDF6EF, 0xF0DAC7, 0xC7B29F),
    SetN(0xFFFFFF, 0xEDE5E0, 0xD2CDC8),
    SetN(0xBFBFBF, 0x919191, 0xD7D7D6),
};

}  // namespace

// ---- Button, edit rectangle and size

void TExtCustomDropDown::CreateDropDownButton()
{
    if (!FButton) {
        FButton = new TDropDownEditButton(this);
        FButton->OnClick = [this] { ClickDropDown(); };
    }
    UpdateDropDownButton();
}

void TExtCustomDropDown::UpdateDropDownButton()
{
    if (!FButton)
        return;
    FButton->SetBWidth(FButtonWidth);
    FButton->resize(FButtonWidth, 17);
    FButton->show();
    FButton->SetFocusControl(this);
}

void TExtCustomDropDown::SetEditRect()
{
    const QRect client = rect().adjusted(2, 2, -2, -2);
    FEditRect = Rect(1, 1, client.width() - FButtonWidth - 3, client.height() + 1);
    // The text keeps clear of the button.
    setTextMargins(0, 0, FButtonWidth + 1, 0);
}

int TExtCustomDropDown::GetMinHeight() const
{
    const int h1 = QFontMetrics(QApplication::font()).height();
    const int h2 = QFontMetrics(font()).height();
    return h2 + std::min(h1, h2) / 4;
}

void TExtCustomDropDown::ResizeControl()
{
    if (height() < GetMinHeight()) {
        resize(width(), GetMinHeight());
        return;
    }
    if (FButton) {
        // Inside the edit's two-pixel frame, as the platform's new-style controls place it.
        const int inset = FFlat ? 3 : 4;
        FButton->setGeometry(width() - FButtonWidth - inset + 2, FFlat ? 4 : 2, FButtonWidth, height() - inset);
    }
    SetEditRect();
    update();
}

bool TExtCustomDropDown::IsHot() const
{
    return FMouseInControl || hasFocus();
}

// ---- Painting

void TExtCustomDropDown::paintEvent(QPaintEvent* event)
{
    QLineEdit::paintEvent(event);
    QPainter painter(this);
    DrawFocusedValue(painter);
    const bool border = !isEnabled() || FFlat || FBorderColor != clNone || FFocusBorderColor != clNone;
    if (!border)
        return;
    TCanvas canvas;
    canvas.Attach(&painter);
    const QRect r = rect();
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.Pen.Width = 1;
    auto frame = [&](TColor c, QRect fr) {
        canvas.Pen.Color = c;
        canvas.Rectangle(fr);
    };
    if (!isEnabled() && FIsThemed && FDisabledBorder)
        frame(0xC0C0C0, r);
    else if (FBorderColor != clNone && (!hasFocus() || FFocusBorderColor == clNone))
        frame(FBorderColor, r);
    else if (FFocusBorderColor != clNone) {
        if (hasFocus())
            frame(FFocusBorderColor, r);
    } else if (FFlat || !isEnabled()) {
        const TColor c = IsHot() ? clBtnFace : FromQColor(parentWidget() ? parentWidget()->palette().window().color()
                                                                         : palette().window().color());
        if (IsHot()) {
            frame(clBtnShadow, r);
            frame(c, r.adjusted(1, 1, -1, -1));
        } else {
            frame(c, r);
            frame(c, r.adjusted(1, 1, -1, -1));
        }
    }
    canvas.Detach();
    if (FButton)
        FButton->Button()->SetFocused(IsHot());
}

void TExtCustomDropDown::RedrawBorder()
{
    update();
}

void TExtCustomDropDown::DrawFocusedValue(QPainter& painter)
{
    if (FEditorEnabled || !hasFocus() || !FFocusDraw)
        return;
    TCanvas canvas;
    canvas.Attach(&painter);
    QRect r = Rect(2, 2, width() - FButtonWidth - 1, height() - 2);
    canvas.Pen.Color = clBlack;
    canvas.Pen.Width = 1;
    canvas.Brush.Color = clHighlight;
    canvas.Brush.Style = TBrushStyle::bsSolid;
    canvas.Rectangle(r);
    r.setLeft(r.left() + 2);
    r.setRight(r.right() - 3);
    canvas.Font = TFont(font(), clHighlightText);
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.DrawText(GetText(), r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    canvas.Detach();
}

void TExtCustomDropDown::resizeEvent(QResizeEvent* event)
{
    QLineEdit::resizeEvent(event);
    ResizeControl();
    if (FLabel && FLabel->parentWidget())
        UpdateLabel();
}

void TExtCustomDropDown::moveEvent(QMoveEvent* event)
{
    QLineEdit::moveEvent(event);
    if (FLabel && FLabel->parentWidget())
        UpdateLabel();
}

void TExtCustomDropDown::showEvent(QShowEvent* event)
{
    QLineEdit::showEvent(event);
    if (FLabel && !FLabel->text().isEmpty())
        FLabel->show();
}

void TExtCustomDropDown::hideEvent(QHideEvent* event)
{
    QLineEdit::hideEvent(event);
    if (FLabel && !FLabel->text().isEmpty())
        FLabel->hide();
}

void TExtCustomDropDown::changeEvent(QEvent* event)
{
    QLineEdit::changeEvent(event);
    switch (event->type()) {
    case QEvent::EnabledChange:
        if (FButton)
            FButton->setEnabled(isEnabled());
        if (FLabel && !FLabelAlwaysEnabled)
            FLabel->setEnabled(isEnabled());
        update();
        break;
    case QEvent::ReadOnlyChange:
        if (FButton)
            FButton->Button()->update();
        break;
    case QEvent::FontChange:
        SetEditRect();
        if (FLabel && FParentFnt)
            UpdateLabel();
        break;
    default:
        break;
    }
}

void TExtCustomDropDown::enterEvent(QEnterEvent* event)
{
    QLineEdit::enterEvent(event);
    FMouseInControl = true;
    if (isEnabled())
        RedrawBorder();
}

void TExtCustomDropDown::leaveEvent(QEvent* event)
{
    QLineEdit::leaveEvent(event);
    FMouseInControl = false;
    if (isEnabled())
        RedrawBorder();
}

void TExtCustomDropDown::SetBorderColor(TColor value)
{
    if (value == FBorderColor)
        return;
    FBorderColor = value;
    update();
    if (FButton)
        FButton->Button()->update();
}

void TExtCustomDropDown::SetDisabledBorder(bool value)
{
    if (value == FDisabledBorder)
        return;
    FDisabledBorder = value;
    update();
}

void TExtCustomDropDown::SetFocusDraw(bool value)
{
    FFocusDraw = value;
    update();
}

// ---- Label

namespace {

// Clicks on the attached label reach the edit's label operations.
class TEditLabel : public QLabel {
public:
    TEditLabel(QWidget* parent, TExtCustomDropDown* edit) : QLabel(parent), FEdit(edit) {}

protected:
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        QLabel::mouseReleaseEvent(event);
        if (event->button() == Qt::LeftButton && FEdit)
            FEdit->LabelClick();
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override
    {
        QLabel::mouseDoubleClickEvent(event);
        if (FEdit)
            FEdit->LabelDblClick();
    }

private:
    QPointer<TExtCustomDropDown> FEdit;
};

}  // namespace

void TExtCustomDropDown::CreateLabel()
{
    auto* label = new TEditLabel(parentWidget(), this);
    label->setTextFormat(Qt::PlainText);
    label->setBuddy(this);
    label->setFont(FLabelFont);
    FLabel = label;
}

QString TExtCustomDropDown::LabelCaption() const
{
    return FLabel ? FLabel->text() : QString();
}

void TExtCustomDropDown::SetLabelCaption(const QString& value)
{
    if (!FLabel)
        CreateLabel();
    FLabel->setText(value);
    UpdateLabel();
}

void TExtCustomDropDown::SetLabelFont(const TFont& value)
{
    FLabelFont = value;
    if (FLabel)
        UpdateLabel();
}

void TExtCustomDropDown::SetLabelMargin(int value)
{
    FLabelMargin = value;
    if (FLabel)
        UpdateLabel();
}

void TExtCustomDropDown::SetLabelPosition(TLabelPosition value)
{
    FLabelPosition = value;
    if (FLabel)
        UpdateLabel();
}

void TExtCustomDropDown::SetLabelTransparent(bool value)
{
    FLabelTransparent = value;
    if (FLabel)
        UpdateLabel();
}

void TExtCustomDropDown::UpdateLabel()
{
    if (!FLabel)
        return;
    if (FLabel->parentWidget() != parentWidget())
        FLabel->setParent(parentWidget());
    FLabel->setAutoFillBackground(!FLabelTransparent);
    FLabel->setFont(FParentFnt ? font() : QFont(FLabelFont));
    FLabel->adjustSize();
    const int w = QFontMetrics(FLabel->font()).horizontalAdvance(FLabel->text());
    const int m = FLabelMargin, l = x(), t = y(), wd = width(), ht = height();
    const int lh = FLabel->height(), lw = FLabel->width();
    int top = t, left = l;
    switch (FLabelPosition) {
    case lpLeftTop: top = t; left = l - w - m; break;
    case lpLeftCenter: top = t + (ht - lh) / 2; left = l - w - m; break;
    case lpLeftBottom: top = t + ht - lh; left = l - w - m; break;
    case lpTopLeft: top = t - lh - m; left = l; break;
    case lpBottomLeft: top = t + ht + m; left = l; break;
    case lpLeftTopLeft: top = t; left = l - m; break;
    case lpLeftCenterLeft: top = t + (ht - lh) / 2; left = l - m; break;
    case lpLeftBottomLeft: top = t + ht - lh; left = l - m; break;
    case lpTopCenter: top = t - lh - m; left = l + (wd - lw) / 2; break;
    case lpBottomCenter: top = t + ht + m; left = l + (wd - lw) / 2; break;
    case lpRightTop: top = t; left = l + wd + m; break;
    case lpRightCenter: top = t + (ht - lh) / 2; left = l + wd + m; break;
    case lpRighBottom: top = t + ht - lh; left = l + wd + m; break;
    case lpTopRight: top = t - lh - m; left = l + wd - lw; break;
    case lpBottomRight: top = t + ht + m; left = l + wd - lw; break;
    }
    FLabel->move(left, top);
    FLabel->setVisible(isVisibleTo(parentWidget() ? parentWidget() : this) && parentWidget());
}

void TExtCustomDropDown::LabelClick()
{
    if (OnLabelClick)
        OnLabelClick();
}

void TExtCustomDropDown::LabelDblClick()
{
    if (OnLabelDblClick)
        OnLabelDblClick();
}

QString TExtCustomDropDown::GetVersion() const
{
    const int v = GetVersionNr();
    return QString("%1.%2.%3.%4").arg((v >> 24) & 0xFF).arg((v >> 16) & 0xFF).arg((v >> 8) & 0xFF).arg(v & 0xFF);
}

// ---- Selection colours

void TExtCustomDropDown::SetSelectionColorStyle(TSelectionColorStyle value)
{
    FSelectionColorStyle = value;
    switch (value) {
    case scOffice2007:
        FSelectionColor = 0xD7FFFD;
        FSelectionColorTo = 0x58D4FC;
        break;
    case scWindowsVista:
        FSelectionColor = 0xFDF8F1;
        FSelectionColorTo = 0xFCEFD5;
        break;
    case scWindows7:
        FSelectionColor = 0xFCEBDC;
        FSelectionColorTo = 0xFCDBC1;
        break;
    case scCustom:
        break;
    }
}

void TExtCustomDropDown::DrawSelection(TCanvas& canvas, QRect rect, TColor cornerColor, int kind)
{
    switch (FSelectionColorStyle) {
    case scCustom:
        canvas.Brush.Color = FSelectionColor;
        canvas.Brush.Style = TBrushStyle::bsSolid;
        canvas.Pen.Color = FSelectionColor;
        canvas.FillRect(rect);
        break;
    case scOffice2007:
        controls::DrawGradientButton(canvas, FSelectionColor, FSelectionColorTo, 0x58D4FC, 0xB3F1FC, 0xF4FEFF, 0xCAF8FF,
                           0x8DD7D3, 0xC3D9DF, cornerColor, rect, kind);
        break;
    case scWindowsVista:
        controls::DrawGradientButton(canvas, FSelectionColor, FSelectionColorTo, clNone, clNone, 0xFDFBF6, 0xFDF5E7, 0xFDDE99,
                           0xFCEDCB, cornerColor, rect, kind);
        break;
    case scWindows7:
        controls::DrawGradientButton(canvas, FSelectionColor, FSelectionColorTo, clNone, clNone, 0xFDF4EB, 0xFDEADB, 0xCEA27D,
                           0xE0C5AE, cornerColor, rect, kind);
        break;
    }
}

void TExtCustomDropDown::DrawGradientBackground(TCanvas& canvas, TColor fromColor, TColor toColor, int steps,
                                                QRect r, bool vertical)
{
    DrawGradient(canvas, fromColor, toColor, steps, r, !vertical);
}

// ---- Component styles

void TExtCustomDropDown::SetComponentStyle(TSuiteStyle AStyle)
{
    FSuiteStyle = AStyle;
    if (AStyle == tsCustom || int(AStyle) < 0 || int(AStyle) > 15)
        return;
    const TFormColors& f = FormColors[AStyle];
    FDropDownColor = f.Color;
    FDropDownColorTo = f.ColorTo;
    if (f.BorderColor != Same)
        FDropDownBorderColor = f.BorderColor;
    auto strip = [&](auto& look, TColor color, TColor colorTo, TColor border) {
        look.Color = color;
        look.ColorTo = colorTo;
        TFont font = look.Font();
        font.Color = f.FontColor;
        look.SetFont(font);
        look.BorderColor = border;
    };
    strip(*FDropDownHeader, f.HeaderColor, f.HeaderColorTo, f.HeaderBorder);
    strip(*FDropDownFooter, f.FooterColor, f.FooterColorTo, f.FooterBorder);
    const TButtonColors& b = ButtonColors[AStyle];
    TExtButtonAppearance& a = *FButtonAppearance;
    a.SetColor(b.Color);
    a.SetColorTo(b.ColorTo);
    a.SetBorderColor(b.Border);
    a.SetColorHot(b.Hot);
    a.SetColorHotTo(b.HotTo);
    a.SetBorderColorHot(b.HotBorder);
    a.SetColorDown(b.Down);
    a.SetColorDownTo(b.DownTo);
    a.SetBorderColorDown(b.DownBorder);
    a.SetColorDisabled(b.Disabled);
    a.SetColorDisabledTo(b.DisabledTo);
    a.SetColorChecked(b.Checked);
    a.SetColorCheckedTo(b.CheckedTo);
    a.SetBorderColorChecked(b.CheckedBorder);
}

void TExtCustomDropDown::SetColorTones(const TColorTones& ATones)
{
    if (FButton) {
        FButton->ButtonColor = ATones.Background.BrushColor;
        FButton->ButtonColorHot = ATones.Hover.BrushColor;
        FButton->ButtonColorDown = ATones.Selected.BrushColor;
        FButton->ButtonBorderColor = ATones.Background.BorderColor;
        FButton->Button()->update();
    }
    SetBorderColor(ATones.Background.BorderColor);
}

void TExtCustomDropDown::SetItemAppearanceStyle(TItemAppearanceColors& a, TSuiteStyle style)
{
    if (style == tsCustom)
        return;
    a.BorderColorHot = clNone;
    a.BorderColorSelected = clNone;
    a.ColorSelectedText = clBlack;
    a.ColorHotText = clBlack;
    auto set = [&](TColor hot, TColor hotTo, TColor mHot, TColor mHotTo, TColor sel, TColor selTo, TColor mSel,
                   TColor mSelTo, TColor border, TColor top, TColor bottom, TColor edge) {
        a.ColorHot = hot, a.ColorHotTo = hotTo, a.ColorMirrorHot = mHot, a.ColorMirrorHotTo = mHotTo;
        a.ColorSelected = sel, a.ColorSelectedTo = selTo, a.ColorMirrorSelected = mSel, a.ColorMirrorSelectedTo = mSelTo;
        a.BorderColor = border, a.BorderColorTop = top, a.BorderColorBottom = bottom, a.EdgeColor = edge;
    };
    const TColor C = clNone;
    switch (style) {
    case tsOffice2003Blue: case tsOffice2003Silver: case tsOffice2003Olive: case tsWhidbey:
        set(0xEBFDFF, 0xACECFF, 0x59DAFF, 0xA4E9FF, 0xAAD9FF, 0x6EBBFF, 0x42AEFE, 0x7AE1FE, 0x42AEFE, C, C, C);
        break;
    case tsOffice2007Luna: case tsOffice2007Obsidian: case tsOffice2007Silver:
        set(0xEBFDFF, 0xACECFF, 0x59DAFF, 0xA4E9FF, 0xAAD9FF, 0x6EBBFF, 0x42AEFE, 0x7AE1FE, 0x42AEFE, 0xF4FEFF,
            0xCAF8FF, 0xC3D9DF);
        break;
    case tsOffice2003Classic:
        set(0xD2BDB6, 0xD2BDB6, C, C, 0xB59285, 0xB59285, C, C, 0x808080, C, C, C);
        break;
    case tsWindowsXP:
        set(0xEFD3C6, 0xEFD3C6, C, C, clHighlight, C, C, C, clHighlight, C, C, C);
        a.ColorSelectedText = clHighlightText;
        break;
    case tsWindowsVista:
        set(0xFFFDF9, 0xFFFAF0, C, C, 0xFEF9F0, 0xFDF0D7, C, C, 0xFEDF9A, 0xFDFBF6, 0xFDF5E7, 0xFCEDCB);
        break;
    case tsWindows7:
        set(0xFDFBFA, 0xFDF3EB, C, C, 0xFCEBDC, 0xFCDBC1, C, C, 0xCEA27D, 0xFDF4EB, 0xFDEADB, 0xE0C5AE);
        break;
    case tsTerminal:
        set(0xC0C0C0, 0xC0C0C0, C, C, clHighlight, C, C, C, 0x808080, C, C, C);
        a.ColorSelectedText = clHighlightText;
        break;
    case tsOffice2010Blue: case tsOffice2010Silver: case tsOffice2010Black:
        set(0xD9F9FD, 0x8AE3FD, 0x8AE3FD, 0xD9F9FD, 0x7BEEFF, 0x6CD0FF, 0x6CD0FF, 0x7BEEFF, 0x308AC2, C, C, C);
        break;
    default:
        break;
    }
}

}  // namespace dropdowns
