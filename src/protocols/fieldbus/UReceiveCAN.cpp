#include "protocols/fieldbus/UReceiveCAN.h"

#include "shell/ULanguage.h"
#include "shell/UWindowList.h"

TFReceiveCAN* FReceiveCAN() { return shell::Window<TFReceiveCAN>(); }

TFReceiveCAN::TFReceiveCAN(QWidget* parent) : platform::TForm(parent)
{
    SetClientSize(1010, 337);
    Set_Lang();
}

void TFReceiveCAN::Set_Lang()
{
    SetCaption(shell::Lang(2100));
}
