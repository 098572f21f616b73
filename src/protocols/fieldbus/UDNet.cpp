#include "protocols/fieldbus/UDNet.h"

#include "shell/ULanguage.h"
#include "shell/UWindowList.h"

TFDNet* FDNet() { return shell::Window<TFDNet>(); }

TFDNet::TFDNet(QWidget* parent) : platform::TForm(parent)
{
    SetClientSize(745, 337);
    Set_Lang();
}

void TFDNet::Set_Lang()
{
    SetCaption(shell::Lang(2800));
}
