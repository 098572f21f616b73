#pragma once
#include "platform/TForm.h"

#include <QString>

// The Modbus master access tables, a window of the family's other gateways.
// This product never shows it, so it has its size and caption only.
class TFSetAccess : public platform::TForm {
    Q_OBJECT
public:
    explicit TFSetAccess(QWidget* parent = nullptr);
    void Set_Lang() override;
};

TFSetAccess* FSetAccess();
