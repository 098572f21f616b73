#pragma once
#include "platform/TForm.h"

#include <QString>

// The DMX default values, a window of the family's other gateways.
// This product never shows it, so it has its size and caption only.
class TFDMXDefVal : public platform::TForm {
    Q_OBJECT
public:
    explicit TFDMXDefVal(QWidget* parent = nullptr);
    void Set_Lang() override;
};

TFDMXDefVal* FDMXDefVal();
