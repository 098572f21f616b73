#pragma once
#include "platform/TForm.h"

#include <QString>

// The SNMP manager table. Its contents come with the issue that builds this window; until then it is an
// empty window with its size and caption.
class TFSNMPManagerAccess : public platform::TForm {
    Q_OBJECT
public:
    explicit TFSNMPManagerAccess(QWidget* parent = nullptr);
    void Set_Lang() override;
};

extern TFSNMPManagerAccess* FSNMPManagerAccess;
