#pragma once
#include "platform/TForm.h"

#include <QString>

// The SNMP manager table, a window of the family's other gateways.
// This product never shows it, so it has its size and caption only.
class TFSNMPManagerAccess : public platform::TForm {
    Q_OBJECT
public:
    explicit TFSNMPManagerAccess(QWidget* parent = nullptr);
    void Set_Lang() override;
};

TFSNMPManagerAccess* FSNMPManagerAccess();
