#include "protocols/fieldbus/USetAccess.h"

#include "shell/ULanguage.h"

TFSetAccess* FSetAccess = nullptr;

TFSetAccess::TFSetAccess(QWidget* parent) : platform::TForm(parent)
{
    SetClientSize(956, 337);
    Set_Lang();
}

void TFSetAccess::Set_Lang()
{
    SetCaption(shell::Lang(1300));
}
