#include "protocols/mbus/UScanDecode.h"

#include "shell/ULanguage.h"

TFScanDecode* FScanDecode = nullptr;

TFScanDecode::TFScanDecode(QWidget* parent) : platform::TForm(parent)
{
    SetClientSize(1000, 523);
    Set_Lang();
}

void TFScanDecode::Set_Lang()
{
    SetCaption(shell::Lang(3300));
}
