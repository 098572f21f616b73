#include "controls/dropdowns/DetailDropDown.h"

#include "controls/dropdowns/DropDownDraw.h"
#include "controls/dropdowns/DropDownForm.h"
#include "controls/dropdowns/ItemSelectorDropDown.h"
#include "platform/Guard.h"
#include "platform/TImageList.h"

#include <QKeyEvent>
#include <QStyle>
#include <algorithm>

namespace dropdowns {

using namespace platform;

// Items

void TDetailItem::Assign(const TDetailItem& source)
{
    if (&source == this)
        return;
    SetCaption(source.Caption());
    SetImageIndex(source.FImageIndex);
    Image = source.Image;
    Enabled = source.Enabled;
    Notes = source.Notes;
    Tag = source.Tag;
    ItemObject = source.ItemObject;
}

int TDetailItems::IndexOf(const QString& value) const
{
    for (int i = 0; i < Count(); ++i)
        if (Items(i)->Caption() == value)
            return i;
    return -1;
}

// The control

TExtDetailDropDown::TExtDetailDropDown(QWidget* parent)
    : TItemPickerDropDown(parent), CaptionFont(font()), NotesFont(font()), FItems(std::make_unique<TDetailItems>(this))
{
    FItems->OnChange = [] {};
    FEditorEnabled = true;
    FDropDownEnabled = true;
    // The change handling of this control completes typed text after the base's notification.
    disconnect(this, &QLineEdit::textChanged, this, nullptr);
    connect(this, &QLineEdit::textChanged, this, [this] { TextChanged(); });
    BuildItemDropDownForm(*this);
}

TExtDetailDropDown::~TExtDetailDropDown() = default;

void TExtDetailDropDown::CreateDropDownForm()
{
    TExtCustomDropDown::CreateDropDownForm();
    if (!FDropDownForm || !FItems)
        return;
    if (!FSelector) {
        FSelector = new TExtCustomItemSelector(FDropDownForm);
        FSelector->SetSelectorType(stImage);
        FSelector->setGeometry(0, 0, FSelector->width(), 150);
        FSelector->OnDrawItem = [this](QObject*, TCanvas& canvas, QRect r, int index) {
            DrawDetailItem(canvas, r, index);
        };
        FSelector->OnItemSize = [this](QObject*, QSize& size) { DetailItemSize(size); };
        FSelector->UpdateSelectorPanel();
        FSelector->OnResize = [this] {
            if (FSelector)
                FSelector->UpdateSelectorPanel();
        };
    }
    FSelector->SetColor(FDropDownColor);
    FSelector->UpdateSelectorPanel();
    SetControl(FSelector);
}

void TExtDetailDropDown::SetItemHeight(int value)
{
    FItemHeight = std::max(1, value);
}

void TExtDetailDropDown::FillSelectorItems()
{
    TSelectorItems& items = FSelector->Items();
    items.BeginUpdate();
    items.Clear();
    for (int i = 0; i < FItems->Count(); ++i) {
        const TDetailItem& source = *FItems->Items(i);
        TSelectorItem* item = items.Add();
        item->SetCaption(source.Caption());
        item->Image = source.Image;
        item->SetImageIndex(source.ImageIndex());
    }
    items.EndUpdate();
}

void TExtDetailDropDown::InitSelector()
{
    if (!FSelector)
        return;
    FSelector->OnItemSelect = nullptr;
    FSelector->SetColumns(1);
    FSelector->SetImages(FImages);
    FSelector->SetItemLayout(FLayout);
    FSelector->SetColor(FDropDownColor);
    FSelector->SetItemAppearance(*FItemAppearance);
    FillSelectorItems();
    FSelector->UpdateSelectorPanel();
    FSelector->SetItemIndex(FItemIndex);
    FSelector->OnItemSelect = [this] { SelectorItemSelect(); };
}

void TExtDetailDropDown::DoBeforeDropDown()
{
    TExtCustomDropDown::DoBeforeDropDown();
    InitSelector();
    FOldItemIndex = FItemIndex;
    FOldText = GetText();
}

void TExtDetailDropDown::UpdateDropDownSize()
{
    if (FSelector)
        FSelector->resize(FDropDownWidth <= 0 ? width() : FSelector->width(),
                          FDropDownHeight <= 0 ? 100 : FSelector->height());
    TExtCustomDropDown::UpdateDropDownSize();
}

void TExtDetailDropDown::DoShowDropDown()
{
    TExtCustomDropDown::DoShowDropDown();
    if (FSelector && FDropDownForm && FDropDownForm->isVisible())
        FSelector->setFocus(Qt::PopupFocusReason);
}

void TExtDetailDropDown::RestoreOpening()
{
    if (!FSelector)
        return;
    if (FOldItemIndex != -1) {
        SetItemIndex(FOldItemIndex);
    } else {
        // Nothing was selected at the opening: the items moved to since then are given up too.
        FItemIndex = -1;
        FCompleting = true;
        SetText(FOldText);
        FCompleting = false;
    }
}

void TExtDetailDropDown::SelectNextItem()
{
    if (FDroppedDown && FSelector) {
        const int next = FSelector->ItemIndex() < 0 ? 0 : FSelector->ItemIndex() + 1;
        if (next >= 0 && next < FSelector->Items().Count())
            SetSelectorIndex(next);
    } else {
        SelectNext();
    }
    update();
}

void TExtDetailDropDown::SelectPreviousItem()
{
    if (FDroppedDown && FSelector) {
        const int previous = FSelector->ItemIndex() < 0 ? 0 : FSelector->ItemIndex() - 1;
        if (previous >= 0 && previous < FSelector->Items().Count())
            SetSelectorIndex(previous);
    } else {
        SelectPrevious();
    }
    update();
}

void TExtDetailDropDown::FormSizing()
{
    TExtCustomDropDown::FormSizing();
    if (FSelector)
        FSelector->UpdateSelectorPanel();
}

void TExtDetailDropDown::SetItemIndex(int value)
{
    if (value >= 0 && value < FItems->Count() && value != FItemIndex) {
        FItemIndex = value;
        FCompleting = true;
        SetText(FItems->Items(value)->Caption());
        FCompleting = false;
        SelectAll();
        update();
        if (FSelector)
            FSelector->update();
        if (OnSelect)
            OnSelect();
    } else if (value == -1 && value != FItemIndex) {
        FCompleting = true;
        SetText(QString());
        FCompleting = false;
        FItemIndex = -1;
    }
}

void TExtDetailDropDown::SelectorItemSelect()
{
    if (!FSelector)
        return;
    const int index = FSelector->ItemIndex();
    SetItemIndex(index);
    if (const TDetailItem* item = FItems->Items(index)) {
        FCompleting = true;
        SetText(item->Caption());
        FCompleting = false;
        SelectAll();
    }
    if (!FInternalCall)
        DoHideDropDown(false);
}

void TExtDetailDropDown::DetailItemSize(QSize& size)
{
    int w = FDropDownWidth > 0 ? FDropDownWidth : (FDropDownForm ? FDropDownForm->width() : width());
    if (FSelector && FSelector->VertScrollBarVisible())
        w -= style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    w -= 2 * 1 + 4;
    size = QSize(w, FItemHeight);
}

void TExtDetailDropDown::DrawDetailItem(TCanvas& canvas, QRect r, int index)
{
    if (OnDrawSelectedImage) {
        OnDrawSelectedImage(this, canvas, r);
        return;
    }
    const TDetailItem* item = FItems->Items(index);
    if (!item)
        return;
    const bool hasCaption = !item->Caption().isEmpty();
    auto place = [&](QSize size) {
        const int x = hasCaption ? r.left() + 2 : r.left() + (r.width() - size.width()) / 2;
        return QPoint(x, r.top() + (r.height() - size.height()) / 2);
    };
    if (item->Image.isNull()) {
        if (FImages && item->ImageIndex() >= 0) {
            const QPoint p = place(QSize(FImages->Width(), FImages->Height()));
            FImages->Draw(canvas, p.x(), p.y(), item->ImageIndex(), true);
            r.setLeft(r.left() + FImages->Width() + 4);
        }
    } else {
        const QPoint p = place(item->Image.size());
        canvas.DrawTransparent(p.x(), p.y(), item->Image);
        r.setLeft(r.left() + item->Image.width() + 4);
    }
    const TItemAppearance& look = *FItemAppearance;
    const bool selected = FSelector && index == FSelector->ItemIndex();
    const bool hot = FSelector && index == FSelector->ItemHot();
    auto textColor = [&](TColor own) { return selected ? look.ColorSelectedText : hot ? look.ColorHotText : own; };
    canvas.Font = CaptionFont;
    canvas.Font.Color = textColor(CaptionFont.Color);
    canvas.Brush.Style = TBrushStyle::bsClear;
    r.adjust(4, 2, -4, 0);
    QRect captionRect = r;
    canvas.DrawText(item->Caption(), captionRect, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    if (!item->Notes.isEmpty()) {
        r.setTop(r.top() + canvas.TextHeight(QStringLiteral("gh")));
        canvas.Font = NotesFont;
        canvas.Font.Color = textColor(NotesFont.Color);
        QSize size;
        DrawHTMLText(canvas, item->Notes, r, FImages, true, QString(), size);
    }
}

void TExtDetailDropDown::TextChanged()
{
    if (FBlockChange) {
        FBlockChange = false;
        return;
    }
    FItemChange = false;
    if (OnChange)
        Guarded([&] { OnChange(); });
    if (FCompleting || !FWorkMode)
        return;
    Guarded([&] {
        const QString text = GetText();
        SetModified(!text.isEmpty());
        const int selStart = std::max(0, (hasSelectedText() ? selectionStart() : cursorPosition()) - int(FPrefix.size()));
        const QString typed = text.left(selStart);
        const QString key = MatchCaseText(text, MatchCase).left(selStart);
        if (!key.isEmpty()) {
            for (int i = 0; i < FItems->Count(); ++i) {
                const QString caption = FItems->Items(i)->Caption();
                if (!MatchCaseText(caption, MatchCase).startsWith(key))
                    continue;
                const QString completed = text.left(key.size()) + caption.mid(key.size()).left(255);
                FItemIndex = FItemIdx = i;
                FItemSel = int(key.size());
                FItemChange = true;
                FCompleting = true;
                SetText(completed);
                FCompleting = false;
                const int end = int(FPrefix.size() + completed.size());
                setSelection(end, int(FPrefix.size()) + FItemSel - end);
                return;
            }
        }
        if (!typed.isEmpty()) {
            FCompleting = true;
            SetText(typed);
            FCompleting = false;
            setCursorPosition(int(FPrefix.size() + typed.size()));
        }
    });
}

void TExtDetailDropDown::PickerKeyDown(int& key, TShiftState shift, const std::function<void(int&)>& base)
{
    if (isEnabled() && !(shift & ssAlt) && SelectorKey(key, shift, FDroppedDown && FSelector, 1))
        return;
    const bool hasItems = FItems->Count() > 0;
    if (hasItems) {
        if (key == VK_BACK || key == VK_ESCAPE || key == VK_DELETE) {
            FWorkMode = false;
        } else if (key == VK_RETURN) {
            const int index = FItems->IndexOf(GetText());
            if (index >= 0) {
                FCompleting = true;
                SetText(FItems->Items(index)->Caption());
                FCompleting = false;
                SetItemIndex(index);
                TextChanged();
            }
        } else {
            FWorkMode = true;
        }
    }
    const int original = key;
    base(key);
    if (hasItems && original == VK_ESCAPE) {
        const int index = FItems->IndexOf(GetText());
        if (index >= 0)
            SetItemIndex(index);
    }
}

void TExtDetailDropDown::DetailKeyUp()
{
    if (!FItemChange)
        return;
    SetItemIndex(FItemIdx);
    const int end = int(FPrefix.size() + GetText().size());
    setSelection(end, int(FPrefix.size()) + FItemSel - end);
    FItemChange = false;
}

void TExtDetailDropDown::keyReleaseEvent(QKeyEvent* event)
{
    TExtCustomDropDown::keyReleaseEvent(event);
    Guarded([&] { DetailKeyUp(); });
}

void TExtDetailDropDown::ControlKeyUp(int& key, TShiftState shift)
{
    TExtCustomDropDown::ControlKeyUp(key, shift);
    DetailKeyUp();
}

void TExtDetailDropDown::FormKeyUp(int& key, TShiftState shift)
{
    TExtCustomDropDown::FormKeyUp(key, shift);
    DetailKeyUp();
}

}  // namespace dropdowns
