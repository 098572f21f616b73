#pragma once
#include "platform/TForm.h"

#include <QString>

// The BACnet server objects, a window of the family's other gateways.
// This product never shows it, so it has its size and caption only.
class TFBACnetSlaveSetAccess : public platform::TForm {
    Q_OBJECT
public:
    explicit TFBACnetSlaveSetAccess(QWidget* parent = nullptr);
    void Set_Lang() override;
};

TFBACnetSlaveSetAccess* FBACnetSlaveSetAccess();
