#pragma once
#include "platform/TForm.h"

#include <QString>

// The CAN receive frames, a window of the family's other gateways.
// This product never shows it, so it has its size and caption only.
class TFReceiveCAN : public platform::TForm {
    Q_OBJECT
public:
    explicit TFReceiveCAN(QWidget* parent = nullptr);
    void Set_Lang() override;
};

TFReceiveCAN* FReceiveCAN();
