#pragma once
#include <QObject>
#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>

#include "grid/core/BaseGrid.h"

namespace grid {
class TExtStringGrid;
}

namespace grid::editing {

// The form controls of a mark-up cell ("<CONTROL" tags). A press flips a CHECK, sets a RADIO (the
// cell's other radios go off), holds a BUTTON down, or opens the grid's edit box or combo box over
// an EDIT, PASSWORD, MASK or COMBO control; the box's value goes back into the cell's text when it
// loses the focus. One control is operated at a time. The events carry display columns; the cell
// text is addressed by its real column.
class TCellFormControls {
public:
    explicit TCellFormControls(TExtStringGrid& grid);
    ~TCellFormControls();
    TCellFormControls(const TCellFormControls&) = delete;
    TCellFormControls& operator=(const TCellFormControls&) = delete;

    TExtStringGrid& Grid;

    // ARow, ACol, CtrlID, CtrlType, CtrlVal: a press on a control (with the value it had), and a
    // box's value written back.
    std::function<void(TExtStringGrid*, int, int, const QString&, const QString&, const QString&)> OnControlClick,
        OnControlEditDone;
    // ARow, ACol, CtrlID, CtrlType, CtrlVal, Values, Edit, DropCount: fills the combo's list; Edit
    // false makes it pick-only; DropCount is how many items the list shows at once.
    std::function<void(TExtStringGrid*, int, int, const QString&, const QString&, const QString&, QStringList&, bool&,
                       int&)>
        OnControlComboList;
    // ARow, ACol, ItemIndex, CtrlID, CtrlValue: an item picked in the combo's list.
    std::function<void(TExtStringGrid*, int, int, int, const QString&, const QString&)> OnControlComboSelect;

    // A press at client (x, y) on cell (c display, r); true when it landed on a form control of a
    // cell that may be edited, and was handled here.
    bool MouseDown(int c, int r, int x, int y);
    // The left button went up: a held BUTTON comes up.
    void MouseUp();
    // Opens the box of the first focusable control after AfterID (the first of all when empty);
    // false when none is left.
    bool FocusNextCellControl(int c, int r, const QString& afterID);
    // Opens the edit or combo box over the control's rectangle (grid coordinates); other types
    // open nothing.
    void ShowCellControl(const QString& cellText, const QString& ctrlType, int r, int c, int eventCol,
                         const QRect& ctrlRect, const QString& ctrlValue, const QString& ctrlID);
    // The boxes' exit: the value goes into the cell's text, the box hides, OnControlEditDone fires.
    void CellControlExit();
    void CellControlComboSelect(int index);

    // Whether the cell's form controls may be operated (c real).
    bool CanEdit(int realCol, int r);

    TGridCoord CtrlXY() const { return FCtrlXY; }  // real column
    QString CtrlID() const { return FCtrlID; }
    QString CtrlType() const { return FCtrlType; }
    bool CtrlEditing() const { return FCtrlEditing; }
    bool CtrlDown() const { return FCtrlDown; }

private:
    TGridCoord FCtrlXY{-1, -1};
    int FEventCol = -1;
    QString FCtrlID, FCtrlType;
    bool FCtrlEditing = false;
    bool FCtrlDown = false;
    QObject FContext;  // ends the box connections with this object
};


}  // namespace grid::editing
