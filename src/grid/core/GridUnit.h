#pragma once
#include <QString>
#include <QStringList>
#include <cstdint>

namespace grid {

class TExtStringGrid;

// What the grid unit keeps once per process: the registered class names, the clipboard format
// and window messages, the focus grid and the window hook. Start-up runs before the first grid
// exists and shut-down when the process ends; both run once.
struct TGridUnit {
    bool HookInstalled = false;
    TExtStringGrid* FocusGrid = nullptr;
    bool CommonControls = true;  // every editor the grid uses is available here
    uint16_t ClipboardFormat = 0;
    uint16_t EditDoneMessage = 0;
    uint16_t PickerFocusMessage = 0;
    int LinkCursor = -21;  // the hand-point cursor
    int InitCount = 0;
};

TGridUnit& GridUnit();
void GridUnitStartUp();
void GridUnitShutDown();

// Names registered for streaming by class name, in registration order.
QStringList RegisteredGridClasses();
bool IsGridClassRegistered(const QString& name);
void RegisterGridClasses(const QStringList& names);

// The same name always answers the same identifier, in the range a registered clipboard format
// or window message takes (0xC000 to 0xFFFF); 0 when the range is used up.
uint16_t RegisterGridName(const QString& name);

constexpr uint32_t WM_WINDOWPOSCHANGING = 0x46;
constexpr uint32_t WM_WINDOWPOSCHANGED = 0x47;
// Sees every message about to reach a window of the GUI thread: when a window moves or resizes,
// the focus grid's frame is placed over its current cell again.
void GridCallWndProcHook(uint32_t message);

}  // namespace grid
