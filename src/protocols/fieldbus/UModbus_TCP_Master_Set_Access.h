#pragma once
#include "platform/TForm.h"

#include <QString>

// The Modbus TCP master access tables, a window of the family's other gateways.
// This product never shows it, so it has its size and caption only.
class TFModbus_TCP_Master_Set_Access : public platform::TForm {
    Q_OBJECT
public:
    explicit TFModbus_TCP_Master_Set_Access(QWidget* parent = nullptr);
    void Set_Lang() override;
};

TFModbus_TCP_Master_Set_Access* FModbus_TCP_Master_Set_Access();
