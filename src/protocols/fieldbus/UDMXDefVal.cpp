#include "protocols/fieldbus/UDMXDefVal.h"

#include "shell/ULanguage.h"
#include "shell/UWindowList.h"

TFDMXDefVal* FDMXDefVal() { return shell::Window<TFDMXDefVal>(); }

TFDMXDefVal::TFDMXDefVal(QWidget* parent) : platform::TForm(parent)
{
    SetClientSize(475, 337);
    Set_Lang();
}

void TFDMXDefVal::Set_Lang()
{
    SetCaption(shell::Lang(3700));
}
