#pragma once
#include "platform/TForm.h"

#include <QString>

// The wireless meter key dialog, a window of the family's other gateways.
// This product never shows it, so it has its size and caption only.
class TFInsertKeyWireless : public platform::TForm {
    Q_OBJECT
public:
    explicit TFInsertKeyWireless(QWidget* parent = nullptr);
    void Set_Lang() override;
};

TFInsertKeyWireless* FInsertKeyWireless();
