#pragma once
#include "platform/TForm.h"

#include <QString>

// The J1939 receive frames, a window of the family's other gateways.
// This product never shows it, so it has its size and caption only.
class TFReceiveJ1939 : public platform::TForm {
    Q_OBJECT
public:
    explicit TFReceiveJ1939(QWidget* parent = nullptr);
    void Set_Lang() override;
};

TFReceiveJ1939* FReceiveJ1939();
