#include "protocols/building/USNMPManagerAccess.h"

#include "shell/ULanguage.h"
#include "shell/UWindowList.h"

TFSNMPManagerAccess* FSNMPManagerAccess() { return shell::Window<TFSNMPManagerAccess>(); }

TFSNMPManagerAccess::TFSNMPManagerAccess(QWidget* parent) : platform::TForm(parent)
{
    SetClientSize(1230, 337);
    Set_Lang();
}

void TFSNMPManagerAccess::Set_Lang()
{
    SetCaption(shell::Lang(4000));
}
