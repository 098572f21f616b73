#pragma once
#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <functional>

#include "controls/dropdowns/CalcDropDown.h"
#include "controls/dropdowns/ColorPickerDropDown.h"
#include "controls/dropdowns/DetailDropDown.h"
#include "controls/dropdowns/ImagePickerDropDown.h"
#include "controls/dropdowns/MemoDropDown.h"
#include "controls/dropdowns/TimePickerDropDown.h"
#include "controls/dropdowns/TrackBarDropDown.h"
#include "grid/core/GridOwned.h"
#include "grid/editing/editors/ExtCustomGridDropDown.h"
#include "grid/editing/editors/ExtMultiColumnDropDown.h"
#include "grid/editing/editors/GridEditorHost.h"

namespace grid {
class TExtStringGrid;
}

namespace grid::editors {

// What the adapter of one drop-down kind does differently from the others.
struct TDropDownAdapterKind {
    TGridDropDownKind Kind;
    // Enter and Esc are the adapter's even where the drop-down would hand them to the window.
    bool ClaimsEnterEsc = false;
    // The text goes in through the control's formatting text setter, not as it stands.
    bool FormattedText = false;
    // Only Enter validates; Up, Down, Home and the page keys leave without validation, and while
    // the panel is open only Tab, Enter and Esc are the adapter's.
    bool ColorKeys = false;
    // Enter first completes the pending calculation.
    bool Calculates = false;
};

// The tie between one drop-down control and the grid it edits for: Enter, Esc, Tab and the
// leaving keys go to the grid's editing steps (validated first), text changes are reported, and
// leaving the control ends the edit. Base is the drop-down control.
template <class Base>
class TGridDropDownAdapter : public Base {
public:
    TGridDropDownAdapter(TExtStringGrid& grid, TDropDownAdapterKind kind, QWidget* parent = nullptr)
        : Base(parent), FGrid(grid), FKind(kind)
    {
        QObject::connect(this, &QLineEdit::textChanged, this, [this](const QString&) {
            if (OnEditChange)
                OnEditChange(this->GetText());
        });
    }

    TExtStringGrid& Grid() const { return FGrid; }
    const TDropDownAdapterKind& Kind() const { return FKind; }
    TGridEditorHost Host;
    std::function<void(const QString&)> OnEditChange;  // the text after each change
    std::function<void(QChar&)> OnKeyPress;             // the grid's key-press event

    // Writes the text the way this adapter writes it.
    void PutText(const QString& text)
    {
        if (FKind.FormattedText)
            this->SetText(text);
        else
            this->SetTextDirect(text);
    }

protected:
    bool event(QEvent* event) override
    {
        // Tab reaches the key handling only when the grid lets the editor have it.
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) && Host.WantsTab && Host.WantsTab()) {
                keyPressEvent(key);
                return true;
            }
        }
        return Base::event(event);
    }

    void keyPressEvent(QKeyEvent* event) override
    {
        if (AdapterKeyDown(event)) {
            event->accept();
            return;
        }
        const QString typed = event->text();
        if (typed.size() == 1 && typed.at(0).isPrint() && OnKeyPress) {
            QChar ch = typed.at(0);
            OnKeyPress(ch);
            if (ch.isNull()) {
                event->accept();
                return;
            }
            if (ch != typed.at(0)) {
                QKeyEvent changed(QEvent::KeyPress, event->key(), event->modifiers(), QString(ch), event->isAutoRepeat());
                Base::keyPressEvent(&changed);
                event->accept();
                return;
            }
        }
        Base::keyPressEvent(event);
        // A key the edit leaves (Alt+Down to the line edit) must not reach the grid under it, which
        // would move its current cell away from the open editor.
        event->accept();
    }

    void focusOutEvent(QFocusEvent* event) override
    {
        // The drop-down's own form takes the focus while it is open: that is no exit.
        QWidget* now = QApplication::focusWidget();
        const bool toForm = this->DropDownForm()
                            && (this->DroppedDown() || (now && now->window() == this->DropDownForm()));
        if (!toForm && event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason
            && Host.HideEditor)
            Host.HideEditor();
        Base::focusOutEvent(event);
    }

private:
    // Answers true when the key is finished with.
    bool AdapterKeyDown(QKeyEvent* event)
    {
        const int key = event->key();
        const Qt::KeyboardModifiers mods = event->modifiers();
        const bool open = this->DroppedDown();
        const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
        const bool tab = key == Qt::Key_Tab || key == Qt::Key_Backtab;
        bool handled = tab || enter || key == Qt::Key_Escape;
        if (!(FKind.ColorKeys && open))
            handled = handled || key == Qt::Key_PageUp || key == Qt::Key_PageDown || key == Qt::Key_End
                      || key == Qt::Key_Up || key == Qt::Key_Down
                      || (FKind.ColorKeys && key == Qt::Key_Home);
        if ((mods & Qt::AltModifier) && (key == Qt::Key_Down || key == Qt::Key_Up))
            handled = false;
        if (!handled)
            return false;

        if (key == Qt::Key_Escape) {
            if (open)
                this->HideDropDown(true);
            // The text the cell had when the edit began: the memo has been copying its text
            // into the cell meanwhile.
            if (Host.CellCache)
                PutText(Host.CellCache());
            else if (Host.CurrentCellText)
                PutText(Host.CurrentCellText());
            if (Host.HideEditor)
                Host.HideEditor();
            return true;
        }
        const bool validates = FKind.ColorKeys ? enter : (enter || key == Qt::Key_Up || key == Qt::Key_Down);
        if ((validates || tab) && Host.Validate) {
            if (enter && FKind.Calculates)
                CalculateFirst();
            if (!Host.Validate(this->GetText())) {
                PutText(Host.ValidatedText ? Host.ValidatedText() : this->GetText());
                if (tab)
                    this->setCursorPosition(int(this->RawText().size()));
                else
                    this->selectAll();
                this->update();
                return true;
            }
            if (Host.CurrentCellText)
                PutText(Host.CurrentCellText());
            if (tab && Host.GoTabs && Host.GoTabs() && Host.TabStep) {
                Host.TabStep((mods & Qt::ShiftModifier) || key == Qt::Key_Backtab);
                return true;
            }
        }
        if (open) {
            // The panel's keys were its own; what reaches here closes it with the editor.
            this->HideDropDown(false);
            if (Host.HideEditor)
                Host.HideEditor();
            return true;
        }
        if (key == Qt::Key_End)
            return false;  // the caret goes to the end of the text
        if (Host.DoneEdit)
            Host.DoneEdit(key, mods);
        if (Host.AdvanceShow)
            Host.AdvanceShow();
        return true;
    }

    void CalculateFirst()
    {
        if constexpr (requires(Base& b) { b.CalcResult(); })
            this->CalcResult();
    }

    TExtStringGrid& FGrid;
    TDropDownAdapterKind FKind;
};

using TGridTrackbarDropDown = TGridDropDownAdapter<dropdowns::TExtTrackBarDropDown>;
using TGridMemoDropDown = TGridDropDownAdapter<dropdowns::TExtMemoDropDown>;
using TGridCalculatorDropDown = TGridDropDownAdapter<dropdowns::TExtCalculatorDropdown>;
using TGridTimepickerDropDown = TGridDropDownAdapter<dropdowns::TExtTimePickerDropDown>;
using TGridDetailPickerDropDown = TGridDropDownAdapter<dropdowns::TExtDetailDropDown>;
using TGridGridDropDown = TGridDropDownAdapter<TExtMultiColumnDropDown>;
using TGridColorDropDown = TGridDropDownAdapter<dropdowns::TExtColorPickerDropDown>;
using TGridImageDropDown = TGridDropDownAdapter<dropdowns::TExtImagePickerDropDown>;
using TGridExtGridDropDown = TGridDropDownAdapter<TCustomExtGridDropDown>;

// The class names the grid registers its drop-down editors under, and the kind of each.
struct TGridDropDownClass {
    const char* Name;
    TGridDropDownKind Kind;
};
const std::vector<TGridDropDownClass>& RegisteredGridDropDownClasses();
// The kind registered under a class name; false for a name that is not registered.
bool FindGridDropDownClass(const QString& name, TGridDropDownKind& kind);

// Makes the adapter of a kind for the grid, hidden, with its own text editor enabled where the
// kind needs it, parented to `parent`.
QWidget* CreateGridDropDown(TGridDropDownKind kind, TExtStringGrid& grid, QWidget* parent);
// The adapter's editor host and events, whatever its kind; null for another widget.
TGridEditorHost* GridDropDownHost(QWidget* editor);
void SetGridDropDownEvents(QWidget* editor, std::function<void(const QString&)> onEditChange,
                           std::function<void(QChar&)> onKeyPress);

}  // namespace grid::editors
