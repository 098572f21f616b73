#pragma once
#include "platform/TForm.h"

#include <QString>

// The BACnet client tables, a window of the family's other gateways.
// This product never shows it, so it has its size and caption only.
class TFBACnetAccess : public platform::TForm {
    Q_OBJECT
public:
    explicit TFBACnetAccess(QWidget* parent = nullptr);
    void Set_Lang() override;
};

TFBACnetAccess* FBACnetAccess();
