#include "controls/dropdowns/ItemSelectorDropDown.h"

#include "controls/dropdowns/DropDownForm.h"

#include <QStyle>
#include <algorithm>

namespace dropdowns {

bool IsSearchKey(int key)
{
    using namespace platform;
    return key == VK_SPACE || (key >= 0x30 && key <= 0x5A) || (key >= 0xBA && key <= 0xE2);
}

void SetUpPickOnly(TExtCustomDropDown& edit)
{
    edit.SetEditorEnabled(false);
    edit.SetDropDownEnabled(true);
    edit.setCursor(Qt::ArrowCursor);
}

void BuildItemDropDownForm(TExtCustomDropDown& edit)
{
    edit.CreateDropDownForm();
    edit.SetSelectionColorStyle(edit.SelectionColorStyle());
}

void ApplyItemAppearanceStyle(TItemAppearance& appearance, TSuiteStyle style)
{
    TItemAppearanceColors colors;
    colors.ColorHot = appearance.ColorHot;
    colors.ColorHotTo = appearance.ColorHotTo;
    colors.ColorMirrorHot = appearance.ColorMirrorHot;
    colors.ColorMirrorHotTo = appearance.ColorMirrorHotTo;
    colors.ColorSelected = appearance.ColorSelected;
    colors.ColorSelectedTo = appearance.ColorSelectedTo;
    colors.ColorMirrorSelected = appearance.ColorMirrorSelected;
    colors.ColorMirrorSelectedTo = appearance.ColorMirrorSelectedTo;
    colors.BorderColor = appearance.BorderColor;
    colors.BorderColorTop = appearance.BorderColorTop;
    colors.BorderColorBottom = appearance.BorderColorBottom;
    colors.EdgeColor = appearance.EdgeColor;
    colors.BorderColorHot = appearance.BorderColorHot;
    colors.BorderColorSelected = appearance.BorderColorSelected;
    colors.ColorSelectedText = appearance.ColorSelectedText;
    colors.ColorHotText = appearance.ColorHotText;
    TExtCustomDropDown::SetItemAppearanceStyle(colors, style);
    appearance.ColorHot = colors.ColorHot;
    appearance.ColorHotTo = colors.ColorHotTo;
    appearance.ColorMirrorHot = colors.ColorMirrorHot;
    appearance.ColorMirrorHotTo = colors.ColorMirrorHotTo;
    appearance.ColorSelected = colors.ColorSelected;
    appearance.ColorSelectedTo = colors.ColorSelectedTo;
    appearance.ColorMirrorSelected = colors.ColorMirrorSelected;
    appearance.ColorMirrorSelectedTo = colors.ColorMirrorSelectedTo;
    appearance.BorderColor = colors.BorderColor;
    appearance.BorderColorTop = colors.BorderColorTop;
    appearance.BorderColorBottom = colors.BorderColorBottom;
    appearance.EdgeColor = colors.EdgeColor;
    appearance.BorderColorHot = colors.BorderColorHot;
    appearance.BorderColorSelected = colors.BorderColorSelected;
    appearance.ColorSelectedText = colors.ColorSelectedText;
    appearance.ColorHotText = colors.ColorHotText;
}

void SizeFormToSelector(TExtCustomDropDown& edit, TExtCustomItemSelector& selector,
                        const std::function<void()>& baseSizing)
{
    const QSize panel = selector.GetSelectorPanelSize();
    const int border = edit.DropDownBorderWidth();
    int strips = 0;
    if (edit.DropDownHeader().Visible())
        strips += edit.DropDownHeader().Height;
    if (edit.DropDownFooter().Visible())
        strips += edit.DropDownFooter().Height;
    const bool autoWidth = edit.DropDownWidth() < 1, autoHeight = edit.DropDownHeight() < 1;
    selector.resize(autoWidth ? panel.width() : std::max(0, edit.DropDownWidth() - 2 * border),
                    autoHeight ? panel.height() : std::max(0, edit.DropDownHeight() - 2 * border - strips));
    const bool vbar = selector.VertScrollBarVisible();
    baseSizing();
    TDropDownForm* form = edit.DropDownForm();
    if (!form)
        return;
    int w = form->width();
    if (autoWidth)
        w = panel.width() + 2 * border;
    if (vbar)
        w += selector.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    form->resize(w, form->height());
}

}  // namespace dropdowns
