#include "protocols/mbus/UNewIDNode.h"

#include "shell/ULanguage.h"
#include "shell/UWindowList.h"

TFNewIDNode* FNewIDNode() { return shell::Window<TFNewIDNode>(); }

TFNewIDNode::TFNewIDNode(QWidget* parent) : platform::TForm(parent)
{
    SetClientSize(265, 195);
    Set_Lang();
}

void TFNewIDNode::Set_Lang()
{
    SetCaption(shell::Lang(1200));
}
