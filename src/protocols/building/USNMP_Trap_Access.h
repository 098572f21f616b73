#pragma once
#include "platform/TForm.h"

#include <QString>

// The SNMP agent tables, a window of the family's other gateways.
// This product never shows it, so it has its size and caption only.
class TFSNMP_Trap_Access : public platform::TForm {
    Q_OBJECT
public:
    explicit TFSNMP_Trap_Access(QWidget* parent = nullptr);
    void Set_Lang() override;
};

TFSNMP_Trap_Access* FSNMP_Trap_Access();
