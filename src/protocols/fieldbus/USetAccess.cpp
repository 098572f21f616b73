#include "protocols/fieldbus/USetAccess.h"

#include "shell/ULanguage.h"
#include "shell/UWindowList.h"

TFSetAccess* FSetAccess() { return shell::Window<TFSetAccess>(); }

TFSetAccess::TFSetAccess(QWidget* parent) : platform::TForm(parent)
{
    SetClientSize(956, 337);
    Set_Lang();
}

void TFSetAccess::Set_Lang()
{
    SetCaption(shell::Lang(1300));
}
