#pragma once
#include "platform/TForm.h"

#include <QString>

// The CANopen SDO client tables, a window of the family's other gateways.
// This product never shows it, so it has its size and caption only.
class TFSet_SDO_Client_Access : public platform::TForm {
    Q_OBJECT
public:
    explicit TFSet_SDO_Client_Access(QWidget* parent = nullptr);
    void Set_Lang() override;
};

TFSet_SDO_Client_Access* FSet_SDO_Client_Access();
