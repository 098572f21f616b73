#pragma once
#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>

#include "grid/core/GridOwned.h"

#include "grid/core/GridTypes.h"

namespace grid {
class TExtStringGrid;
}

namespace grid::editors {
class TGridCombo;
class TGridSpin;
class TGridCheckBox;
class TGridButton;
class TGridDatePicker;
class TGridDateTimePicker;
class TGridEditBtn;
class TGridUnitEditBtn;
struct TGridEditorHost;
}  // namespace grid::editors

namespace grid::editing {

class TGridEditController;
class TEditLink;
class TExtRichEdit;

// The editors of the types the text editor does not serve: the combo editor (editable and
// pick-only lists), the spin editor (whole, decimal, time and date values), the check box, the
// push button, the date pickers, the edits with a button (with or without a unit), the nine
// drop-down editors, the rich-text editor and the application's editor link. Each is made on
// first use, lives as long as the grid, is laid over the cell with the cell's value when editing
// starts, and hands its leaving keys, Escape and the loss of the focus to the editing cycle.
class TSpecialEditors {
public:
    explicit TSpecialEditors(TGridEditController& controller);
    ~TSpecialEditors();
    TSpecialEditors(const TSpecialEditors&) = delete;
    TSpecialEditors& operator=(const TSpecialEditors&) = delete;

    // The editor controls, made on first use; the application may configure them (lookup,
    // limits, increments) in OnGetEditorProp.
    editors::TGridCombo* Combo();
    editors::TGridSpin* Spin();
    editors::TGridCheckBox* CheckBox();
    editors::TGridButton* Button();
    // The date and time editor (edDateEdit, edDateEditUpDown, edTimeEdit) and the date-and-time
    // editor (edDateTimeEdit).
    editors::TGridDatePicker* DatePicker();
    editors::TGridDatePicker* DateTimePicker() { return DatePicker(); }
    editors::TGridDateTimePicker* DateAndTimePicker();
    // The grid's EditBtn and UnitEditBtn.
    editors::TGridEditBtn* EditBtn();
    editors::TGridUnitEditBtn* UnitEditBtn();
    // The in-place rich-text editor (edRichEdit) and the grid's hidden rich-text work control.
    TExtRichEdit* InplaceRichEdit();
    TExtRichEdit* RichEdit();
    // The editor link open on a cell; null when none is.
    TEditLink* OpenLink() const;
    // A link is going: it is no longer open anywhere.
    void LinkGone(const TEditLink* link);
    // Escape in the rich-text editor: the cell keeps its text as it was and the edit ends.
    void CancelRichEdit();
    // Set when a link's pop-up form gave up the focus; the rich-text editor then ignores its
    // own loss of the focus. Cleared when the next editor opens.
    bool InvokedFocusChange = false;
    // The drop-down editor of a kind (the grid's TrackbarDropDown .. ExtGridDropDown).
    QWidget* DropDown(TGridDropDownKind kind);
    // The control of an editor type; null for types without one here.
    QWidget* Editor(TEditorType type);
    // The control shown now over a cell; null when none is.
    QWidget* OpenEditor() const { return FOpen; }

    // Opens the editor of the controller's edit type over the display cell.
    void ShowSpecialEditor(int c, int r);
    // Takes the value back into the cell the editor was opened for and hides the editor.
    void HideSpecialEditor(int c, int r);
    // Whether this layer has an editor for the type; other types open nothing.
    static bool Serves(TEditorType type);
    // The press that starts the next edit hit the up or the down part of a spin cell's
    // indicator: the spin editor then opens one step on.
    void SetSpinClick(bool up, bool down);
    // The grid's editor looks (button and border colours, the flat combo) go to the combo and
    // spin editors that exist; an open one repaints.
    void ApplyLooks();

    // Events of the grid's editors (Sender is the grid). A button of an open drop-down's header or
    // footer: current display column, row and the button's index. The colour and image pickers'
    // values before they go into the cell (real column); the handler may change them.
    template <typename... A>
    using Event = std::function<void(TExtStringGrid*, A...)>;
    Event<int, int, int> OnDropDownHeaderButtonClick, OnDropDownFooterButtonClick;
    Event<int, int, TColor&, QString&> OnColorSelected;
    Event<int, int, int&> OnImageSelected;
    // A pick in the colour or image picker (the grid's colour-select and image-select steps):
    // current display column and row, the picked colour and its text, or the picked item.
    Event<int, int, TColor, const QString&> OnColorSelect;
    Event<int, int, int> OnImageSelect;

private:
    void Attach(editors::TGridEditorHost& host, QWidget* editor);
    // A double click in an editor is the grid's double click on its cell (display column).
    void DblClickCell(int row, int col);
    bool IsOpen(const QWidget* editor) const;
    void TextChanged(const QWidget* editor, const QString& text);
    void MemoDropDownChange(QWidget* editor, bool fromMemo);
    void ShowCombo(int c, int r, const QString& text);
    void ShowSpin(int c, int r, const QString& text);
    void ShowEditBtn(int c, int r, const QString& text);
    void ShowUnitEditBtn(int c, int r, const QString& text);
    // The value an open editor stands for, taken when the cursor walks out of it.
    QString EditorValue(const QWidget* editor) const;
    // The length limit of the column or the grid; none is the line edit's largest.
    int EditLimit() const;
    // Configures the drop-down editor before it shows (looks and the cell's value), and after.
    void ShowDropDown(int c, int r, const QString& text, QWidget* editor);
    void ShownDropDown(QWidget* editor, const QString& text);
    void WriteBack(int c, int r);
    void ShowDatePicker(int c, int r, const QString& text, TEditorType type);
    void WriteBackDate(int realCol, int r);
    // The cell's background colour and font as the cell painter would use them.
    void CellLook(int c, int r, TColor& color, TFontDesc& font);
    void ShowLink(int c, int r);
    void ShowRich(int c, int r);

    TGridEditController& FController;
    TExtStringGrid& FGrid;
    QPointer<editors::TGridCombo> FCombo;
    QPointer<editors::TGridSpin> FSpin;
    QPointer<editors::TGridCheckBox> FCheck;
    QPointer<editors::TGridButton> FButton;
    QPointer<editors::TGridDatePicker> FDatePicker;
    QPointer<editors::TGridDateTimePicker> FDateTimePicker;
    QPointer<editors::TGridEditBtn> FEditBtn;
    QPointer<editors::TGridUnitEditBtn> FUnitEditBtn;
    std::array<QPointer<QWidget>, GridDropDownKinds> FDropDowns;
    QPointer<QWidget> FOpen;
    QPointer<TExtRichEdit> FInplaceRich, FWorkRich;
    QPointer<TEditLink> FOpenLink;
    bool FRichCancel = false;
    TEditorType FOpenType = edNone;
    int FOpenCol = -1, FOpenRow = -1;
    bool FEditStart = false;     // the grid is putting the first value into the editor
    bool FComboTouched = false;  // the user changed the combo's text or pick since it opened
    bool FSpinUpClick = false, FSpinDnClick = false;
};

}  // namespace grid::editing
