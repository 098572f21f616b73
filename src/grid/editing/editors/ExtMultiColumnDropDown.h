#pragma once
#include <QPointer>

#include "grid/core/BaseGrid.h"
#include "grid/editing/editors/LookupDropDown.h"

namespace grid::editors {

class TExtMultiColumnDropDown;

using TDrawCellEvent = std::function<void(QObject* sender, int col, int row, platform::TCanvas& canvas, QRect rect)>;
using TGetCellTextEvent = std::function<void(QObject* sender, int col, int row, QString& text)>;

// The list on the multi-column drop-down's form: a plain string grid with a header row whose cells
// hold no text; every cell is painted from the drop-down's items.
class TMultiColumnList : public TObjStringGrid {
public:
    explicit TMultiColumnList(QWidget* parent);

    void SetDropDown(TExtMultiColumnDropDown* dropDown) { FExtDropDown = dropDown; }
    int GridLineWidth() const { return FGridLineWidth; }
    void SetGridLineWidth(int value);
    TColor Color = platform::clWhite;
    bool ConfirmSelection = false;
    bool MouseWheelSelection() const { return FMouseWheelSelection; }
    void UpdateFromDropDown();
    // Widths of AutoSize columns and heights of rows with wrapped columns, measured from the items.
    void AutoSizeItemColumns();
    void AutoSizeRows();
    int GetGridWidth() const;

protected:
    int LineWidth() const override { return 0; }
    TColor BackgroundColor() const override { return Color; }
    void DrawCell(int c, int r, TRect rect, TGridDrawState state) override;
    void KeyDown(int& key, TShiftState shift) override;
    void MouseDown(platform::TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(platform::TMouseButton button, TShiftState shift, int x, int y) override;
    bool MouseWheel(TShiftState shift, int wheelDelta, int x, int y) override;
    bool SelectCell(int c, int r) override;
    unsigned GetDlgCode() override { return platform::DLGC_WANTARROWS | platform::DLGC_WANTTAB; }

private:
    void DoSelect();
    TExtMultiColumnDropDown* FExtDropDown = nullptr;
    int FGridLineWidth = 1;
    int FOldRow = 0;
    bool FMouseWheelSelection = false;
};

// A drop-down edit whose form lists the items in several columns under a header row. The edit
// shows the lookup column of the chosen item and completes typed text from that column.
class TExtMultiColumnDropDown : public TLookupDropDown {
    Q_OBJECT
public:
    explicit TExtMultiColumnDropDown(QWidget* parent = nullptr);
    ~TExtMultiColumnDropDown() override;

    TDrawCellEvent OnDropDownDrawItem;
    TGetCellTextEvent OnDropDownGetItemText;

    TMultiColumnList* List() const { return FList; }
    void SetItemIndex(int value) override;
    // Prefix search of the lookup column; case-blind unless CaseSensitive.
    bool LookupItem(const QString& text, QString& foundText, int& item) const;
    // The incremental search of a character typed in the list: an item index or -1.
    int DoLookupKey(QChar ch);
    void SizeColumnsToDropDown();

    void CreateDropDownForm() override;
    void DoBeforeDropDown() override;
    void AdaptDropDownHeight(int& height) override;
    void DoShowDropDown() override;
    void PlaceDropDownControl() override;
    void UpdateDropDownSize() override;
    void DoHideDropDown(bool cancelChanges) override;
    void ControlKeyDown(int& key, TShiftState shift) override;
    void ControlKeyUp(int& key, TShiftState shift) override;
    void ControlKeyPress(QChar& key) override;
    void FormSizing() override;
    void SelectNextItem() override;
    void SelectPreviousItem() override;
    void SetComponentStyle(controls::TSuiteStyle AStyle) override;

private:
    void ListSelectCell(int row);
    void ListSelect();
    QPointer<TMultiColumnList> FList;
    bool FShowing = false;
    friend class TMultiColumnList;
};

}  // namespace grid::editors
