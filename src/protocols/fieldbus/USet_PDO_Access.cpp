#include "protocols/fieldbus/USet_PDO_Access.h"

#include "shell/ULanguage.h"
#include "shell/UWindowList.h"

TFSet_PDO_Access* FSet_PDO_Access() { return shell::Window<TFSet_PDO_Access>(); }

TFSet_PDO_Access::TFSet_PDO_Access(QWidget* parent) : platform::TForm(parent)
{
    SetClientSize(798, 337);
    Set_Lang();
}

void TFSet_PDO_Access::Set_Lang()
{
    SetCaption(shell::Lang(2300));
}
