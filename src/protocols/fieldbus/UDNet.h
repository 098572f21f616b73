#pragma once
#include "platform/TForm.h"

#include <QString>

// The DeviceNet network, a window of the family's other gateways.
// This product never shows it, so it has its size and caption only.
class TFDNet : public platform::TForm {
    Q_OBJECT
public:
    explicit TFDNet(QWidget* parent = nullptr);
    void Set_Lang() override;
};

TFDNet* FDNet();
