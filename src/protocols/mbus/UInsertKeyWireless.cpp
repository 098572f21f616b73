#include "protocols/mbus/UInsertKeyWireless.h"

TFInsertKeyWireless* FInsertKeyWireless = nullptr;

TFInsertKeyWireless::TFInsertKeyWireless(QWidget* parent) : platform::TForm(parent)
{
    SetClientSize(481, 47);
    Set_Lang();
}

void TFInsertKeyWireless::Set_Lang()
{
    SetCaption(QStringLiteral(""));
}
