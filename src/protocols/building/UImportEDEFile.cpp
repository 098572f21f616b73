#include "protocols/building/UImportEDEFile.h"

#include "shell/ULanguage.h"
#include "shell/UWindowList.h"

TFImportEDEFile* FImportEDEFile() { return shell::Window<TFImportEDEFile>(); }

TFImportEDEFile::TFImportEDEFile(QWidget* parent) : platform::TForm(parent)
{
    SetClientSize(863, 337);
    Set_Lang();
}

void TFImportEDEFile::Set_Lang()
{
    SetCaption(shell::Lang(4800));
}
