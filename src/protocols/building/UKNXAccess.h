#pragma once
#include "platform/TForm.h"

#include <QString>

// The KNX tables, a window of the family's other gateways.
// This product never shows it, so it has its size and caption only.
class TFKNXAccess : public platform::TForm {
    Q_OBJECT
public:
    explicit TFKNXAccess(QWidget* parent = nullptr);
    void Set_Lang() override;
};

TFKNXAccess* FKNXAccess();
