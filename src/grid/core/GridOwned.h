#pragma once
#include <QComboBox>
#include <QLineEdit>
#include <QString>
#include <memory>

#include "grid/core/GridSettings.h"
#include "grid/core/GridTypes.h"

namespace grid {

class TExtStringGrid;

// The child windows a grid owns, as data: the editing, painting and drop-down code that shows
// them works through these fields. Each starts hidden and knows its grid.
class TGridChild : public TObject {
public:
    explicit TGridChild(TExtStringGrid* grid) : Grid(grid) {}
    TExtStringGrid* Grid;
    bool Visible = false;
    bool Enabled = true;
    TRect Bounds;
};

// The frame round the current cell while the grid has the focus.
class TGridFocusWindow : public TGridChild { using TGridChild::TGridChild; };

// An in-place editor: a border or none, the XP look, and a button caption for those with one.
class TGridEditorChild : public TGridChild {
public:
    using TGridChild::TGridChild;
    bool Border = true;
    bool WinXP = false;
    QString ButtonCaption;
};

class TGridCombo : public TGridEditorChild {
public:
    using TGridEditorChild::TGridEditorChild;
    bool Vista = false;
};
class TGridTransEdit : public TGridEditorChild { using TGridEditorChild::TGridEditorChild; };
class TGridTransCombo : public TGridEditorChild { using TGridEditorChild::TGridEditorChild; };
class TGridCheckBox : public TGridEditorChild { using TGridEditorChild::TGridEditorChild; };
class TGridEditBtn : public TGridEditorChild { using TGridEditorChild::TGridEditorChild; };
class TGridUnitEditBtn : public TGridEditorChild { using TGridEditorChild::TGridEditorChild; };
class TGridButton : public TGridEditorChild { using TGridEditorChild::TGridEditorChild; };

// The edit box and the combo box that operate a control of a cell's form. Enter hands the focus
// back to the grid, Tab moves on to the next control (or the next cell with automatic advance);
// either way the box's exit handling runs once.
template <class Box>
class TCellFormBox : public Box {
public:
    explicit TCellFormBox(TExtStringGrid* grid) : Grid(grid) { this->hide(); }
    TExtStringGrid* Grid;
    QString ControlID;  // the form control being operated
    TNotifyEvent OnExit;

protected:
    // The grid that Enter and Tab go back to, or none.
    virtual TExtStringGrid* KeyGrid() const = 0;
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    bool FExited = false;
};

// The edit leaves Enter to the dialog unless it stands in a grid.
class TControlEdit : public TCellFormBox<QLineEdit> {
public:
    using TCellFormBox::TCellFormBox;

protected:
    TExtStringGrid* KeyGrid() const override;
};

class TControlCombo : public TCellFormBox<QComboBox> {
public:
    using TCellFormBox::TCellFormBox;

protected:
    TExtStringGrid* KeyGrid() const override { return Grid; }
};
class TGridScrollBar : public TGridEditorChild { using TGridEditorChild::TGridEditorChild; };

// Editors made on first use.
class TGridSpin : public TGridEditorChild { using TGridEditorChild::TGridEditorChild; };
class TGridDatePicker : public TGridEditorChild { using TGridEditorChild::TGridEditorChild; };
class TGridDateTimePicker : public TGridEditorChild { using TGridEditorChild::TGridEditorChild; };
class TExtRichEdit : public TGridEditorChild { using TGridEditorChild::TGridEditorChild; };

// The drop-down editors, made on first use.
enum TGridDropDownKind : uint8_t {
    ddTrackbar, ddMemo, ddCalculator, ddTimepicker, ddDetailPicker, ddGrid, ddColor, ddImage, ddExtGrid
};
constexpr int GridDropDownKinds = 9;
class TGridDropDown : public TGridEditorChild {
public:
    TGridDropDown(TExtStringGrid* grid, TGridDropDownKind kind) : TGridEditorChild(grid), Kind(kind) {}
    TGridDropDownKind Kind;
};

// A button of the search panel; "&" in its caption marks the accelerator.
struct TSearchPanelButton {
    QString Caption;
    bool Visible = true;
    bool Enabled = true;
};

// The search panel docked at the grid's foot; height 0 while hidden (the footer panel: GridFooter.h).
class TSearchPanel : public TGridChild {
public:
    using TGridChild::TGridChild;
    static constexpr int ShownHeight = 32;
    TSearchPanelButton ForwardButton, BackwardButton, HighlightButton;
};

}  // namespace grid
