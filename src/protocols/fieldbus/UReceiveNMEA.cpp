#include "protocols/fieldbus/UReceiveNMEA.h"

#include "shell/ULanguage.h"
#include "shell/UWindowList.h"

TFReceiveNMEA* FReceiveNMEA() { return shell::Window<TFReceiveNMEA>(); }

TFReceiveNMEA::TFReceiveNMEA(QWidget* parent) : platform::TForm(parent)
{
    SetClientSize(810, 337);
    Set_Lang();
}

void TFReceiveNMEA::Set_Lang()
{
    SetCaption(shell::Lang(3500));
}
