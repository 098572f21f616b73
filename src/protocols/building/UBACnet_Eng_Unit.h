#pragma once
#include "platform/TForm.h"

#include <QString>

// The BACnet engineering unit picker. Its contents come with the issue that builds this window; until then it is an
// empty window with its size and caption.
class TFBACnet_Eng_Unit : public platform::TForm {
    Q_OBJECT
public:
    explicit TFBACnet_Eng_Unit(QWidget* parent = nullptr);
    void Set_Lang() override;
};

extern TFBACnet_Eng_Unit* FBACnet_Eng_Unit;
