#pragma once
#include <QStringList>

#include "controls/dropdowns/DropDownEdit.h"
#include "grid/editing/editors/DropDownItems.h"

namespace grid {
class TObjStringGrid;
}

namespace grid::editors {

using dropdowns::TExtCustomDropDown;
using dropdowns::TSelectionColorStyle;
using platform::TColor;
using platform::TShiftState;

// The width of all the table's columns, and of a vertical scroll bar when not all rows fit.
int TableWidth(const grid::TObjStringGrid& table);

// What the drop-downs with a table of items share: the items and columns, the lookup column shown
// in the edit, the completion of typed text from that column, the item index and the stepping
// through the items, the header row's looks and the style presets.
class TLookupDropDown : public TExtCustomDropDown {
    Q_OBJECT
public:
    explicit TLookupDropDown(QWidget* parent = nullptr);
    ~TLookupDropDown() override;

    TDropDownItems& Items() { return *FItems; }
    const TDropDownItems& Items() const { return *FItems; }
    void SetItems(const TDropDownItems& value) { FItems->Assign(value); }
    TDropDownColumns& Columns() { return *FColumns; }
    const TDropDownColumns& Columns() const { return *FColumns; }
    void SetColumns(const TDropDownColumns& value) { FColumns->Assign(value); }

    int LookupColumn = 0;
    bool CaseSensitive = false;
    bool ColumnSizing = false;
    TColor HeaderColor = platform::clWhite;
    TColor HeaderColorTo = platform::clGray;
    TColor LineColor = platform::clSilver;
    TColor FixedLineColor = 0xD1BBA4;
    int HeaderHeight = 25;
    platform::TFont HeaderFont;
    bool DropDownAutoWidth = true;
    bool ColumnSizeWithDropDown = true;
    TColor SelectionTextColor = platform::clBlack;
    // Completion compares case-sensitively.
    bool MatchCase = false;
    bool MatchStart = true;  // stored only: matching is always by prefix

    int DropDownRowHeight() const { return FDropDownRowHeight; }
    // At least 1: the height snapping divides by it.
    void SetDropDownRowHeight(int value) { FDropDownRowHeight = std::max(1, value); }
    void SetReturnIsTab(bool value) { FReturnIsTab = value; }

    int ItemIndex() const { return FItemIndex; }
    virtual void SetItemIndex(int value) = 0;
    // How many items the stepping runs over.
    virtual int GetItemCount() const { return FItems->Count(); }
    // The item read in the edit: the first one whose lookup text equals the value exactly.
    int GetItemIndex(const QString& value) const;
    int RowCount() const { return FItems->Count(); }

    void BeginUpdate() {}
    // Rebuilds the lookup texts from the items; callers that change Items call it afterwards.
    void EndUpdate() { RebuildLookupItems(); }
    const QStringList& LookupItems() const { return FLookupItems; }

    void SelectFirst();
    void SelectLast();
    void SelectNext();
    void SelectPrevious();
    void SelectNextPage();
    void SelectPreviousPage();

    // The characters typed for the search since the last reset.
    QString LookupEntry() const { return FLookupEntry; }

    std::function<void(QObject*)> OnSelect;

    void SetSelectionColorStyle(TSelectionColorStyle value) override;
    void SetComponentStyle(controls::TSuiteStyle AStyle) override;
    void Assign(const QObject* source) override;

protected:
    // The text of an item for the lookup column; empty when it has none.
    QString LookupText(int item) const;
    void RebuildLookupItems();
    // Writes the edit text without completing it.
    void SetTextQuiet(const QString& value);
    // Selects from the end of the text back to `from` (the completed rest, caret after the typed part).
    void SelectRestFrom(int from);
    // The edit's key-down steps: workmode, Enter taking the text's entry, Esc returning to it.
    void LookupKeyDown(int& key, TShiftState shift, const std::function<void(int&)>& base);
    // After the key: an item completed by Change becomes the item index, its rest selected again.
    void FinishCompletion();
    void KeyPress(QChar& key) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    // The navigation keys of the edit after the base handling.
    virtual void NavigationKey(int key, TShiftState shift);
    void TextChanged();
    // Takes `value` as the item index and shows that item's lookup text in the edit; false,
    // changing nothing, past the last item.
    bool ShowItem(int value);
    // Applies a typed character to the search entry: Backspace removes the selected text, or
    // else the entry's last character, and answers true as nothing more is to be done; any other
    // character but Tab is appended to the entry.
    bool TypeIntoLookupEntry(QChar ch);
    // A key on the open table: Backspace edits the search entry, Enter is left to the table, and
    // a key the table moves by (`staysInTable`) stays there unless Alt is held; Alt+Up and
    // Alt+Down go no further than the drop-down.
    void TableKeyDown(int& key, TShiftState shift, bool staysInTable);
    // Snaps the list height to whole rows below the header and the visible strips; `extra` is
    // the room the table's frame takes.
    void SnapHeightToRows(int& height, int extra);
    // With DropDownAutoWidth the table and the window take the width of all the table's columns.
    void FitWidthToTable(grid::TObjStringGrid& table);
    // With ColumnSizeWithDropDown the columns share the window width in proportion to their
    // set widths, less a vertical scroll bar when not all rows fit.
    void SizeColumnsToWindow(grid::TObjStringGrid& table);

    std::unique_ptr<TDropDownItems> FItems;
    std::unique_ptr<TDropDownColumns> FColumns;
    int FItemIndex = -1;
    int FOldItemIndex = -1;
    int FDropDownRowHeight = 22;
    QStringList FLookupItems;
    bool FWorkMode = true;
    bool FItemChange = false;
    int FItemIdx = 0;
    int FItemSel = 0;
    bool FCompleting = false;
    QString FLookupEntry;
};

}  // namespace grid::editors
