#pragma once
#include "platform/TForm.h"

#include <QString>

// The M-Bus network editor, a window of the family's other gateways.
// This product never shows it, so it has its size and caption only.
class TFMeter_Bus : public platform::TForm {
    Q_OBJECT
public:
    explicit TFMeter_Bus(QWidget* parent = nullptr);
    void Set_Lang() override;
};

TFMeter_Bus* FMeter_Bus();
