#pragma once
#include "platform/TForm.h"

#include <QString>

// The BACnet engineering unit picker, a window of the family's other gateways.
// This product never shows it, so it has its size and caption only.
class TFBACnet_Eng_Unit : public platform::TForm {
    Q_OBJECT
public:
    explicit TFBACnet_Eng_Unit(QWidget* parent = nullptr);
    void Set_Lang() override;
};

TFBACnet_Eng_Unit* FBACnet_Eng_Unit();
