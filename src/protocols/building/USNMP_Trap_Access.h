#pragma once
#include "platform/TForm.h"

#include <QString>

// The SNMP agent tables. Its contents come with the issue that builds this window; until then it is an
// empty window with its size and caption.
class TFSNMP_Trap_Access : public platform::TForm {
    Q_OBJECT
public:
    explicit TFSNMP_Trap_Access(QWidget* parent = nullptr);
    void Set_Lang() override;
};

extern TFSNMP_Trap_Access* FSNMP_Trap_Access;
