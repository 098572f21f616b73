#pragma once
#include "platform/TForm.h"

#include <QString>

// The CANopen PDO tables, a window of the family's other gateways.
// This product never shows it, so it has its size and caption only.
class TFSet_PDO_Access : public platform::TForm {
    Q_OBJECT
public:
    explicit TFSet_PDO_Access(QWidget* parent = nullptr);
    void Set_Lang() override;
};

TFSet_PDO_Access* FSet_PDO_Access();
