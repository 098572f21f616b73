#include "protocols/fieldbus/UTransmitJ1939.h"

#include "shell/ULanguage.h"
#include "shell/UWindowList.h"

TFTransmitJ1939* FTransmitJ1939() { return shell::Window<TFTransmitJ1939>(); }

TFTransmitJ1939::TFTransmitJ1939(QWidget* parent) : platform::TForm(parent)
{
    SetClientSize(800, 337);
    Set_Lang();
}

void TFTransmitJ1939::Set_Lang()
{
    SetCaption(shell::Lang(2700));
}
