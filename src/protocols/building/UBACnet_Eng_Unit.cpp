#include "protocols/building/UBACnet_Eng_Unit.h"

#include "shell/ULanguage.h"
#include "shell/UWindowList.h"

TFBACnet_Eng_Unit* FBACnet_Eng_Unit() { return shell::Window<TFBACnet_Eng_Unit>(); }

TFBACnet_Eng_Unit::TFBACnet_Eng_Unit(QWidget* parent) : platform::TForm(parent)
{
    SetClientSize(548, 306);
    Set_Lang();
}

void TFBACnet_Eng_Unit::Set_Lang()
{
    SetCaption(shell::Lang(4400));
}
