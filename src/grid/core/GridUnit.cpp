#include "grid/core/GridUnit.h"

#include <QHash>
#include <mutex>

#include "grid/core/ExtStringGrid.h"

namespace grid {

namespace {

struct TRegistry {
    std::mutex Lock;
    QStringList Classes;
    QHash<QString, uint16_t> Names;
    uint32_t NextName = 0xC000;
};

TRegistry& Registry()
{
    static TRegistry registry;
    return registry;
}

// Shut-down at process end, once, when start-up ran.
struct TUnitGuard {
    ~TUnitGuard() { GridUnitShutDown(); }
};

}  // namespace

TGridUnit& GridUnit()
{
    static TGridUnit unit;
    return unit;
}

QStringList RegisteredGridClasses()
{
    TRegistry& r = Registry();
    std::lock_guard lock(r.Lock);
    return r.Classes;
}

bool IsGridClassRegistered(const QString& name) { return RegisteredGridClasses().contains(name); }

void RegisterGridClasses(const QStringList& names)
{
    TRegistry& r = Registry();
    std::lock_guard lock(r.Lock);
    for (const QString& name : names)
        if (!r.Classes.contains(name))
            r.Classes.append(name);
}

uint16_t RegisterGridName(const QString& name)
{
    if (name.isEmpty())
        return 0;
    TRegistry& r = Registry();
    std::lock_guard lock(r.Lock);
    const auto it = r.Names.constFind(name.toLower());
    if (it != r.Names.constEnd())
        return it.value();
    if (r.NextName > 0xFFFF)
        return 0;
    const auto id = uint16_t(r.NextName++);
    r.Names.insert(name.toLower(), id);
    return id;
}

void GridUnitStartUp()
{
    TGridUnit& unit = GridUnit();
    if (unit.InitCount++ > 0)
        return;
    static TUnitGuard guard;
    unit.FocusGrid = nullptr;
    unit.HookInstalled = true;
    RegisterGridClasses({
        QStringLiteral("TExtStringGrid"), QStringLiteral("TDropList"), QStringLiteral("TArrowWindow"),
        QStringLiteral("TGridCombo"), QStringLiteral("TGridSpin"), QStringLiteral("TGridTransEdit"),
        QStringLiteral("TGridTransCombo"), QStringLiteral("TGridCheckBox"), QStringLiteral("TGridEditBtn"),
        QStringLiteral("TGridDateTimePicker"), QStringLiteral("TGridUnitEditBtn"),
        QStringLiteral("TGridTrackbarDropDown"), QStringLiteral("TGridMemoDropDown"),
        QStringLiteral("TGridCalculatorDropDown"), QStringLiteral("TGridTimepickerDropDown"),
        QStringLiteral("TGridDetailPickerDropDown"), QStringLiteral("TGridGridDropDown"),
        QStringLiteral("TGridColorDropDown"), QStringLiteral("TGridImageDropDown"), QStringLiteral("TGridButton"),
        QStringLiteral("TGridDatePicker"), QStringLiteral("THeaderDragButton"), QStringLiteral("TControlEdit"),
        QStringLiteral("TControlCombo"), QStringLiteral("TScrollBar"), QStringLiteral("TExtRichEdit"),
        QStringLiteral("TFooterPanel"), QStringLiteral("TSearchPanel"),
        QStringLiteral("TExtColumnGrid"), QStringLiteral("TGridColumnItem"), QStringLiteral("TGridColumnCollection"),
    });
    unit.ClipboardFormat = RegisterGridName(QStringLiteral("TExtStringGrid Cells"));
    unit.EditDoneMessage = RegisterGridName(QStringLiteral("GridEditDone"));
    unit.PickerFocusMessage = RegisterGridName(QStringLiteral("DTPShiftFocus"));
}

void GridUnitShutDown()
{
    TGridUnit& unit = GridUnit();
    unit.HookInstalled = false;
    unit.FocusGrid = nullptr;
}

void GridCallWndProcHook(uint32_t message)
{
    TGridUnit& unit = GridUnit();
    if (!unit.HookInstalled || !unit.FocusGrid)
        return;
    if (message != WM_WINDOWPOSCHANGING && message != WM_WINDOWPOSCHANGED)
        return;
    TExtStringGrid& g = *unit.FocusGrid;
    const TRect cell = g.MirrorRect(g.CellRect(g.Col(), g.Row()));
    const int left = cell.Left + g.ScreenOrigin.X - 4;
    const int top = cell.Top + g.ScreenOrigin.Y - 4;
    g.FocusWindow->Bounds = {left, top, left + cell.Width() + 9, top + cell.Height() + 9};
}

}  // namespace grid
