#pragma once
#include "platform/TForm.h"

#include <QString>

// The M-Bus scan and decode window, a window of the family's other gateways.
// This product never shows it, so it has its size and caption only.
class TFScanDecode : public platform::TForm {
    Q_OBJECT
public:
    explicit TFScanDecode(QWidget* parent = nullptr);
    void Set_Lang() override;
    int XML_Code_Dev = 0;
    QString FileName_MBus;
    int Form_Type = 0;
};

TFScanDecode* FScanDecode();
