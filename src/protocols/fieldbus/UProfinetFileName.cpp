#include "protocols/fieldbus/UProfinetFileName.h"

#include "shell/ULanguage.h"
#include "shell/UWindowList.h"

TFProfinetFileName* FProfinetFileName() { return shell::Window<TFProfinetFileName>(); }

TFProfinetFileName::TFProfinetFileName(QWidget* parent) : platform::TForm(parent)
{
    SetClientSize(540, 205);
    Set_Lang();
}

void TFProfinetFileName::Set_Lang()
{
    SetCaption(shell::Lang(3400));
}
