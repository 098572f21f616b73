#include "grid/editing/editors/LookupDropDown.h"

#include <QKeyEvent>
#include <QStyle>
#include <cmath>

#include "grid/core/BaseGrid.h"
#include "platform/Guard.h"

namespace grid::editors {

using namespace platform;
using namespace controls;
using dropdowns::scCustom;
using dropdowns::scOffice2007;
using dropdowns::scWindows7;
using dropdowns::scWindowsVista;

namespace {
constexpr int MaxLookupTail = 255;

QString Folded(const QString& s, bool matchCase) { return matchCase ? s : QLocale().toUpper(s); }
}  // namespace

std::vector<int> ProportionalColumnWidths(const std::vector<int>& widths, int columnCount, int available)
{
    // Only columns that have settings are sized; the others keep their width.
    const int n = std::min(columnCount, int(widths.size()));
    std::vector<int> result;
    if (n <= 0)
        return result;
    double total = 1;
    for (const int w : widths)
        total += w;
    const double f = double(available) / total;
    double carry = 0;
    for (int i = 0; i < n; ++i) {
        const double w = widths[size_t(i)] * f;
        const double rounded = std::nearbyint(w);  // ties to even
        carry += w - rounded;
        if (carry > 1.0) {
            result.push_back(int(rounded) + 1);
            carry -= 1.0;
        } else {
            result.push_back(int(rounded));
        }
    }
    return result;
}

int TableWidth(const grid::TObjStringGrid& table)
{
    int w = 0;
    for (int c = 0; c < table.ColCount(); ++c)
        w += table.ColWidths(c);
    if (table.VisibleRowCount() + table.FixedRows() != table.RowCount())
        w += table.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    return w;
}

int SnapDropDownHeight(int height, int stripsHeight, int headerHeight, int rowHeight, int extra)
{
    rowHeight = std::max(1, rowHeight);
    const int avail = height - stripsHeight - headerHeight - 2;
    const int rows = avail / rowHeight;
    return stripsHeight + headerHeight + 2 + rows * rowHeight + extra;
}

TLookupDropDown::TLookupDropDown(QWidget* parent)
    : TExtCustomDropDown(parent), HeaderFont(font()), FItems(std::make_unique<TDropDownItems>()),
      FColumns(std::make_unique<TDropDownColumns>())
{
    FDropDownColor = clWhite;
    FDropDownHeight = 200;
    FDropDownEnabled = true;
    // The completion runs after the base's change notification.
    disconnect(this, &QLineEdit::textChanged, this, nullptr);
    connect(this, &QLineEdit::textChanged, this, [this] { TextChanged(); });
}

TLookupDropDown::~TLookupDropDown() = default;

bool TLookupDropDown::ShowItem(int value)
{
    if (value >= FItems->Count())
        return false;
    FItemIndex = value;
    const TDropDownItem* item = FItems->Items(value);
    const QString text = item && item->HasText(LookupColumn) ? item->Text[LookupColumn] : QString();
    if (text != GetText())
        SetTextQuiet(text);
    return true;
}

bool TLookupDropDown::TypeIntoLookupEntry(QChar ch)
{
    const int prefix = int(FPrefix.size());
    if (ch == QChar(8)) {
        if (hasSelectedText()) {
            QString text = GetText();
            text.remove(selectionStart() - prefix, int(selectedText().size()));
            SetTextQuiet(text);
            setCursorPosition(prefix + int(text.size()));
        } else {
            FLookupEntry.chop(1);
            SetTextQuiet(FLookupEntry);
            setCursorPosition(prefix + int(FLookupEntry.size()));
        }
        return true;
    }
    if (ch != QChar(9))
        FLookupEntry += ch;
    return false;
}

void TLookupDropDown::TableKeyDown(int& key, TShiftState shift, bool staysInTable)
{
    const bool alt = shift & ssAlt;
    if (key == VK_BACK && !alt) {
        QChar ch(8);
        ControlKeyPress(ch);
        key = 0;
    } else if (key == VK_RETURN && !alt) {
        // The table takes it: its row is chosen.
    } else if (!staysInTable || alt) {
        TExtCustomDropDown::ControlKeyDown(key, shift);
        if (alt && (key == VK_UP || key == VK_DOWN))
            key = 0;
    }
}

void TLookupDropDown::SnapHeightToRows(int& height, int extra)
{
    int strips = 0;
    if (DropDownHeader().Visible())
        strips += DropDownHeader().Height;
    if (DropDownFooter().Visible())
        strips += DropDownFooter().Height;
    height = SnapDropDownHeight(height, strips, HeaderHeight, FDropDownRowHeight, extra);
}

void TLookupDropDown::FitWidthToTable(grid::TObjStringGrid& table)
{
    if (!DropDownAutoWidth || !FDropDownForm)
        return;
    const int tableWidth = TableWidth(table);
    table.resize(tableWidth, table.height());
    FDropDownForm->resize(tableWidth + 2 * FDropDownBorderWidth, FDropDownForm->height());
}

void TLookupDropDown::SizeColumnsToWindow(grid::TObjStringGrid& table)
{
    if (!ColumnSizeWithDropDown || !FDropDownForm)
        return;
    table.SetGridScrollBars(ssVertical);
    if (FColumns->Count() == 0)
        return;
    std::vector<int> widths;
    for (int i = 0; i < FColumns->Count(); ++i)
        widths.push_back(FColumns->Items(i)->Width);
    int avail = FDropDownForm->width();
    if (table.VisibleRowCount() < table.RowCount() - table.FixedRows())
        avail -= table.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const std::vector<int> sized = ProportionalColumnWidths(widths, table.ColCount(), avail);
    for (size_t i = 0; i < sized.size(); ++i)
        table.SetColWidths(int(i), sized[i]);
}

QString TLookupDropDown::LookupText(int item) const
{
    const TDropDownItem* it = FItems->Items(item);
    return it ? it->TextOf(LookupColumn) : QString();
}

int TLookupDropDown::GetItemIndex(const QString& value) const
{
    return FItems->IndexInColumn(LookupColumn, value);
}

void TLookupDropDown::RebuildLookupItems()
{
    if (LookupColumn < 0 || FItems->Count() == 0)
        return;
    FLookupItems.clear();
    for (int i = 0; i < FItems->Count(); ++i)
        FLookupItems << LookupText(i);
}

void TLookupDropDown::SetTextQuiet(const QString& value)
{
    const bool old = std::exchange(FCompleting, true);
    SetText(value);
    FCompleting = old;
}

void TLookupDropDown::SelectRestFrom(int from)
{
    const int prefix = int(FPrefix.size());
    const int end = prefix + int(GetText().size());
    setSelection(end, prefix + from - end);
}

void TLookupDropDown::SelectFirst()
{
    if (GetItemCount() > 0)
        SetItemIndex(0);
}

void TLookupDropDown::SelectLast()
{
    if (GetItemCount() > 0)
        SetItemIndex(GetItemCount() - 1);
}

void TLookupDropDown::SelectNext()
{
    if (const int to = dropdowns::SteppedItemIndex(GetItemCount(), FItemIndex, 1); to >= 0)
        SetItemIndex(to);
}

void TLookupDropDown::SelectPrevious()
{
    if (const int to = dropdowns::SteppedItemIndex(GetItemCount(), FItemIndex, -1); to >= 0)
        SetItemIndex(to);
}

void TLookupDropDown::SelectNextPage()
{
    const int count = GetItemCount();
    if (count == 0)
        return;
    SetItemIndex(FItemIndex == -1 ? 0 : std::min(FItemIndex + 10, count - 1));
}

void TLookupDropDown::SelectPreviousPage()
{
    if (GetItemCount() == 0)
        return;
    SetItemIndex(FItemIndex < 10 ? 0 : FItemIndex - 10);
}

// Auto-completion: the typed part before the caret is completed by the first lookup text that
// starts with it, and the completed rest is selected so the next key replaces it.
void TLookupDropDown::TextChanged()
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
    const QString text = GetText();
    SetModified(!text.isEmpty());
    const int caret = std::max(0, (hasSelectedText() ? selectionStart() : cursorPosition()) - int(FPrefix.size()));
    const QString typed = text.left(caret);
    const QString key = Folded(typed, MatchCase);
    if (!key.isEmpty()) {
        for (int i = 0; i < FLookupItems.size(); ++i) {
            if (!Folded(FLookupItems[i], MatchCase).startsWith(key))
                continue;
            FItemIdx = i;
            FItemIndex = i;
            FItemSel = int(key.size());
            SetTextQuiet(typed + FLookupItems[i].mid(key.size(), MaxLookupTail));
            SelectRestFrom(FItemSel);
            // After the write, whose own change notification starts by clearing it.
            FItemChange = true;
            return;
        }
    }
    if (!typed.isEmpty() && !FLookupItems.isEmpty()) {
        SetTextQuiet(typed);
        setCursorPosition(int(FPrefix.size() + typed.size()));
    }
}

void TLookupDropDown::LookupKeyDown(int& key, TShiftState shift, const std::function<void(int&)>& base)
{
    (void)shift;
    if (LookupColumn < 0 || FItems->Count() == 0) {
        base(key);
        return;
    }
    if (key == VK_BACK || key == VK_ESCAPE || key == VK_DELETE) {
        FWorkMode = false;
    } else if (key == VK_RETURN) {
        const QString text = GetText();
        for (int i = 0; i < FLookupItems.size(); ++i) {
            if (FLookupItems[i].compare(text, Qt::CaseInsensitive) != 0)
                continue;
            SetTextQuiet(FLookupItems[i]);
            SetItemIndex(i);
            TextChanged();
            break;
        }
        if (FReturnIsTab) {
            QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
            QCoreApplication::sendEvent(this, &tab);
            key = 0;
        }
    } else {
        FWorkMode = true;
    }
    if (key == VK_ESCAPE || (key >= VK_PRIOR && key <= VK_DOWN))
        FLookupEntry.clear();
    base(key);
    if (key == VK_ESCAPE)
        SetItemIndex(int(FLookupItems.indexOf(GetText())));
}

void TLookupDropDown::KeyPress(QChar& key)
{
    if (key == QChar('\r') && FReturnIsTab)
        key = QChar();
    TExtCustomDropDown::KeyPress(key);
}

void TLookupDropDown::NavigationKey(int key, TShiftState shift)
{
    if (!isEnabled() || (shift & ssAlt))
        return;
    switch (key) {
    case VK_PRIOR: SelectPreviousPage(); break;
    case VK_NEXT: SelectNextPage(); break;
    case VK_END:
        if (!FEditorEnabled)
            SelectLast();
        break;
    case VK_HOME:
        if (!FEditorEnabled)
            SelectFirst();
        break;
    case VK_UP: SelectPrevious(); break;
    case VK_DOWN: SelectNext(); break;
    default: break;
    }
}

void TLookupDropDown::keyPressEvent(QKeyEvent* event)
{
    int key = VirtualKeyFromQt(event->key(), event->modifiers());
    if (!key) {
        TExtCustomDropDown::keyPressEvent(event);
        return;
    }
    const TShiftState shift = ShiftStateFromQt(event->modifiers());
    bool baseRan = false;
    Guarded([&] {
        LookupKeyDown(key, shift, [&](int& k) {
            if (k == 0)
                return;
            baseRan = true;
            TExtCustomDropDown::keyPressEvent(event);
        });
        if (key)
            NavigationKey(key, shift);
    });
    if (!baseRan)
        event->accept();
}

void TLookupDropDown::FinishCompletion()
{
    if (!FItemChange)
        return;
    SetItemIndex(FItemIdx);
    SelectRestFrom(FItemSel);
    FItemChange = false;
}

void TLookupDropDown::keyReleaseEvent(QKeyEvent* event)
{
    const bool enterAsTab = (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && FReturnIsTab;
    if (!enterAsTab)
        TExtCustomDropDown::keyReleaseEvent(event);
    Guarded([&] { FinishCompletion(); });
}

void TLookupDropDown::SetSelectionColorStyle(TSelectionColorStyle value)
{
    switch (value) {
    case scOffice2007:
        LineColor = 0xF1EDEB;
        FixedLineColor = 0xD1BBA4;
        break;
    case scWindowsVista:
    case scWindows7:
        LineColor = 0xECECF0;
        FixedLineColor = 0xD4D2D1;
        break;
    default:
        break;
    }
    TExtCustomDropDown::SetSelectionColorStyle(value);
}

namespace {
struct TStylePreset {
    TSuiteStyle Style;
    TColor Header, HeaderTo;
    TColor HeaderFontColor;  // clNone: unchanged
    TSelectionColorStyle Selection;
    TColor Lines;
};
constexpr TStylePreset StylePresets[] = {
    {tsOffice2003Blue, 0xD68759, 0x933803, 0xFFFFFF, scOffice2007, 0x962D00},
    {tsOffice2003Silver, 0xBDA4A5, 0x957475, clNone, scOffice2007, 0x947C7C},
    {tsOffice2003Olive, 0x82C0AF, 0x447A63, clNone, scOffice2007, 0x588060},
    {tsOffice2003Classic, 0x808080, 0x808080, clNone, scOffice2007, 0x808080},
    {tsOffice2007Luna, 0xFFEFE3, 0xFFD2AF, 0x723708, scOffice2007, 0xFFD2AF},
    {tsOffice2007Obsidian, 0xF2F1F0, 0xC9C2BD, 0x433C37, scOffice2007, 0x5C534C},
    {tsWhidbey, 0xEBEEEF, 0x7E9898, 0xFFFFFF, scOffice2007, 0x962D00},
    {tsOffice2007Silver, 0xF8F7F6, 0xE8E0DB, 0x8B4215, scOffice2007, 0x74706F},
    {tsWindowsVista, 0xFFFDF9, 0xFFFAF0, 0x000000, scWindowsVista, 0xFCF2DA},
    {tsWindows7, 0xFDFBFA, 0xFDF3EB, 0x000000, scWindows7, 0xFBD6B8},
};
}  // namespace

void TLookupDropDown::SetComponentStyle(TSuiteStyle AStyle)
{
    TExtCustomDropDown::SetComponentStyle(AStyle);
    for (const TStylePreset& p : StylePresets) {
        if (p.Style != AStyle)
            continue;
        HeaderColor = p.Header;
        HeaderColorTo = p.HeaderTo;
        if (p.HeaderFontColor != clNone)
            HeaderFont.Color = p.HeaderFontColor;
        SetSelectionColorStyle(p.Selection);
        LineColor = FixedLineColor = p.Lines;
        SelectionTextColor = clBlack;
        return;
    }
    if (AStyle == tsWindowsXP || AStyle == tsTerminal) {
        FixedLineColor = AStyle == tsWindowsXP ? clBlack : clGray;
        LineColor = AStyle == tsWindowsXP ? clSilver : clGray;
        HeaderColor = HeaderColorTo = clBtnFace;
        SetSelectionColorStyle(scCustom);
        FSelectionColor = FSelectionColorTo = clHighlight;
        HeaderFont.Color = clBlack;
        SelectionTextColor = clHighlightText;
    }
}

void TLookupDropDown::Assign(const QObject* source)
{
    TExtCustomDropDown::Assign(source);
    auto* s = qobject_cast<const TLookupDropDown*>(source);
    if (!s || s == this)
        return;
    CaseSensitive = s->CaseSensitive;
    DropDownAutoWidth = s->DropDownAutoWidth;
    FDropDownRowHeight = s->FDropDownRowHeight;
    LineColor = s->LineColor;
    FixedLineColor = s->FixedLineColor;
    ColumnSizing = s->ColumnSizing;
    ColumnSizeWithDropDown = s->ColumnSizeWithDropDown;
    FColumns->Assign(*s->FColumns);
    HeaderColor = s->HeaderColor;
    HeaderColorTo = s->HeaderColorTo;
    HeaderHeight = s->HeaderHeight;
    HeaderFont = s->HeaderFont;
    LookupColumn = s->LookupColumn;
    SelectionTextColor = s->SelectionTextColor;
    FItems->Assign(*s->FItems);
    FItemIndex = s->FItemIndex;
}

}  // namespace grid::editors
