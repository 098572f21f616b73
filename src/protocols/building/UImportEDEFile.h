#pragma once
#include "platform/TForm.h"

#include <QString>

// The BACnet EDE import dialog, a window of the family's other gateways.
// This product never shows it, so it has its size and caption only.
class TFImportEDEFile : public platform::TForm {
    Q_OBJECT
public:
    explicit TFImportEDEFile(QWidget* parent = nullptr);
    void Set_Lang() override;
};

TFImportEDEFile* FImportEDEFile();
