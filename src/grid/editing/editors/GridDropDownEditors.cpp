#include "grid/editing/editors/GridDropDownEditors.h"

#include "grid/core/ExtStringGrid.h"

namespace grid::editors {

namespace {
// Calls f with the adapter the widget is, whatever its kind; false for another widget.
template <class F>
bool WithAdapter(QWidget* editor, F&& f)
{
    if (auto* e = dynamic_cast<TGridTrackbarDropDown*>(editor))
        return f(*e), true;
    if (auto* e = dynamic_cast<TGridMemoDropDown*>(editor))
        return f(*e), true;
    if (auto* e = dynamic_cast<TGridCalculatorDropDown*>(editor))
        return f(*e), true;
    if (auto* e = dynamic_cast<TGridTimepickerDropDown*>(editor))
        return f(*e), true;
    if (auto* e = dynamic_cast<TGridDetailPickerDropDown*>(editor))
        return f(*e), true;
    if (auto* e = dynamic_cast<TGridGridDropDown*>(editor))
        return f(*e), true;
    if (auto* e = dynamic_cast<TGridColorDropDown*>(editor))
        return f(*e), true;
    if (auto* e = dynamic_cast<TGridImageDropDown*>(editor))
        return f(*e), true;
    if (auto* e = dynamic_cast<TGridExtGridDropDown*>(editor))
        return f(*e), true;
    return false;
}
}  // namespace

const std::vector<TGridDropDownClass>& RegisteredGridDropDownClasses()
{
    // The grid registers the first eight for streaming by class name; the grid drop-down on the
    // full grid is made on use only.
    static const std::vector<TGridDropDownClass> classes = {
        {"TGridTrackbarDropDown", ddTrackbar},    {"TGridMemoDropDown", ddMemo},
        {"TGridCalculatorDropDown", ddCalculator}, {"TGridTimepickerDropDown", ddTimepicker},
        {"TGridDetailPickerDropDown", ddDetailPicker}, {"TGridGridDropDown", ddGrid},
        {"TGridColorDropDown", ddColor},          {"TGridImageDropDown", ddImage},
    };
    return classes;
}

bool FindGridDropDownClass(const QString& name, TGridDropDownKind& kind)
{
    for (const TGridDropDownClass& c : RegisteredGridDropDownClasses()) {
        if (name == QLatin1String(c.Name)) {
            kind = c.Kind;
            return true;
        }
    }
    return false;
}

QWidget* CreateGridDropDown(TGridDropDownKind kind, TExtStringGrid& grid, QWidget* parent)
{
    TDropDownAdapterKind k{kind};
    QWidget* editor = nullptr;
    switch (kind) {
    case ddTrackbar: {
        k.ClaimsEnterEsc = true;
        k.FormattedText = true;
        auto* e = new TGridTrackbarDropDown(grid, k, parent);
        e->SetEditorEnabled(true);
        editor = e;
        break;
    }
    case ddMemo: editor = new TGridMemoDropDown(grid, k, parent); break;
    case ddCalculator: {
        k.Calculates = true;
        auto* e = new TGridCalculatorDropDown(grid, k, parent);
        e->SetEditorEnabled(true);
        editor = e;
        break;
    }
    case ddTimepicker: {
        auto* e = new TGridTimepickerDropDown(grid, k, parent);
        e->SetFocusDraw(false);
        editor = e;
        break;
    }
    case ddDetailPicker: editor = new TGridDetailPickerDropDown(grid, k, parent); break;
    case ddGrid: editor = new TGridGridDropDown(grid, k, parent); break;
    case ddColor: {
        k.ClaimsEnterEsc = true;
        k.ColorKeys = true;
        auto* e = new TGridColorDropDown(grid, k, parent);
        e->AddDefaultColors();
        editor = e;
        break;
    }
    case ddImage: editor = new TGridImageDropDown(grid, k, parent); break;
    case ddExtGrid: {
        // Its inner grid works as the grid it edits for.
        auto* e = new TGridExtGridDropDown(grid, k, parent);
        e->SetGridLayers(grid.Layers());
        editor = e;
        break;
    }
    }
    if (editor) {
        editor->hide();
        editor->setEnabled(false);
    }
    return editor;
}

TGridEditorHost* GridDropDownHost(QWidget* editor)
{
    TGridEditorHost* host = nullptr;
    WithAdapter(editor, [&](auto& e) { host = &e.Host; });
    return host;
}

void SetGridDropDownEvents(QWidget* editor, std::function<void(const QString&)> onEditChange,
                           std::function<void(QChar&)> onKeyPress)
{
    WithAdapter(editor, [&](auto& e) {
        e.OnEditChange = std::move(onEditChange);
        e.OnKeyPress = std::move(onKeyPress);
    });
}

}  // namespace grid::editors
