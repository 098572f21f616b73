#include "protocols/fieldbus/UDefOffset.h"

#include "shell/ULanguage.h"
#include "shell/UWindowList.h"

TFDefOffset* FDefOffset() { return shell::Window<TFDefOffset>(); }

TFDefOffset::TFDefOffset(QWidget* parent) : platform::TForm(parent)
{
    SetClientSize(482, 610);
    Set_Lang();
}

void TFDefOffset::Set_Lang()
{
    SetCaption(shell::Lang(2900));
}
