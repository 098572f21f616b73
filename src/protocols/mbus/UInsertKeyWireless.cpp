#include "protocols/mbus/UInsertKeyWireless.h"
#include "shell/UWindowList.h"

TFInsertKeyWireless* FInsertKeyWireless() { return shell::Window<TFInsertKeyWireless>(); }

TFInsertKeyWireless::TFInsertKeyWireless(QWidget* parent) : platform::TForm(parent)
{
    SetClientSize(481, 47);
    Set_Lang();
}

void TFInsertKeyWireless::Set_Lang()
{
    SetCaption(QStringLiteral(""));
}
