#pragma once
#include "platform/TForm.h"

#include <QString>

// The DeviceNet offsets, a window of the family's other gateways.
// This product never shows it, so it has its size and caption only.
class TFDefOffset : public platform::TForm {
    Q_OBJECT
public:
    explicit TFDefOffset(QWidget* parent = nullptr);
    void Set_Lang() override;
};

TFDefOffset* FDefOffset();
