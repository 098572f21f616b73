#pragma once
#include "platform/TForm.h"

#include <QString>

// The new M-Bus node number dialog. Its contents come with the issue that builds this window; until then it is an
// empty window with its size and caption.
class TFNewIDNode : public platform::TForm {
    Q_OBJECT
public:
    explicit TFNewIDNode(QWidget* parent = nullptr);
    void Set_Lang() override;
};

extern TFNewIDNode* FNewIDNode;
