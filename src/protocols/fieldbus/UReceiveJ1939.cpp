#include "protocols/fieldbus/UReceiveJ1939.h"

#include "shell/ULanguage.h"
#include "shell/UWindowList.h"

TFReceiveJ1939* FReceiveJ1939() { return shell::Window<TFReceiveJ1939>(); }

TFReceiveJ1939::TFReceiveJ1939(QWidget* parent) : platform::TForm(parent)
{
    SetClientSize(876, 337);
    Set_Lang();
}

void TFReceiveJ1939::Set_Lang()
{
    SetCaption(shell::Lang(2600));
}
