#include "protocols/mbus/UScanDecode.h"

#include "shell/ULanguage.h"
#include "shell/UWindowList.h"

TFScanDecode* FScanDecode() { return shell::Window<TFScanDecode>(); }

TFScanDecode::TFScanDecode(QWidget* parent) : platform::TForm(parent)
{
    SetClientSize(1000, 523);
    Set_Lang();
}

void TFScanDecode::Set_Lang()
{
    SetCaption(shell::Lang(3300));
}
