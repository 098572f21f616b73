#include "grid/editing/GridDropDownEvents.h"

#include "controls/dropdowns/DropDownForm.h"
#include "grid/editing/GridEditController.h"
#include "grid/editing/GridInput.h"
#include "grid/editing/editors/ExtCustomGridDropDown.h"

namespace grid::editing {

using editors::TCustomExtGridDropDown;

namespace {

// Passes the grid's event on to the drop-down's event of the same meaning while that is assigned;
// with a null drop-down the grid's event is cleared.
template <class GridEvent, class OwnEvent>
void Forward(TCustomExtGridDropDown* dd, GridEvent& gridEvent, OwnEvent TCustomExtGridDropDown::*own)
{
    if (!dd) {
        gridEvent = nullptr;
        return;
    }
    // By reference, so that what the handler answers goes back to the grid.
    gridEvent = [dd, own](auto&&... args) {
        if (dd->*own)
            (dd->*own)(std::forward<decltype(args)>(args)...);
    };
}

}  // namespace

void PassDropDownEvents(TGridEditController& controller, TCustomExtGridDropDown* dd)
{
    TGridEditController* ctl = &controller;
    using D = TCustomExtGridDropDown;
    Forward(dd, ctl->OnGetEditorProp, &D::OnGridGetEditorProp);
    Forward(dd, ctl->OnCanAddRow, &D::OnGridCanAddRow);
    Forward(dd, ctl->OnAutoAddRow, &D::OnGridAutoAddRow);
    Forward(dd, ctl->OnAutoInsertCol, &D::OnGridInsertCol);
    // The form may take activation again once a blocked call ends its focus block.
    ctl->OnEndBlockFocus = dd ? std::function<void(TExtStringGrid*)>([dd](TExtStringGrid*) {
        if (dd->DropDownForm())
            dd->DropDownForm()->BlockActivate = false;
    })
                              : nullptr;
    auto* input = dynamic_cast<TGridInputHandler*>(ctl->Input());
    if (!input)
        return;
    if (dd) {
        input->OnAnchorClick = [dd](TExtStringGrid* sender, int r, int c, const QString& anchor, bool& autoHandle) {
            if (dd->OnGridAnchorClick)
                dd->WithActivationBlocked([&] { dd->OnGridAnchorClick(sender, r, c, anchor, autoHandle); });
        };
    } else {
        input->OnAnchorClick = nullptr;
    }
    Forward(dd, input->OnAnchorEnter, &D::OnGridAnchorEnter);
    Forward(dd, input->OnAnchorExit, &D::OnGridAnchorExit);
    Forward(dd, input->OnAnchorHint, &D::OnGridAnchorHint);
    Forward(dd, input->OnCanSort, &D::OnGridCanSort);
    Forward(dd, input->OnClickSort, &D::OnGridClickSort);
    Forward(dd, input->OnColumnSizing, &D::OnGridColumnSizing);
    Forward(dd, input->OnRowSizing, &D::OnGridRowSizing);
    Forward(dd, input->OnColumnMove, &D::OnGridColumnMove);
    Forward(dd, input->OnColumnMoving, &D::OnGridColumnMoving);
    Forward(dd, input->OnRowMove, &D::OnGridRowMove);
    Forward(dd, input->OnRowMoving, &D::OnGridRowMoving);
}

}  // namespace grid::editing
