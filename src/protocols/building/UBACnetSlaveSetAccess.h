#pragma once
#include "platform/TForm.h"

#include <QString>

// The BACnet server objects. Its contents come with the issue that builds this window; until then it is an
// empty window with its size and caption.
class TFBACnetSlaveSetAccess : public platform::TForm {
    Q_OBJECT
public:
    explicit TFBACnetSlaveSetAccess(QWidget* parent = nullptr);
    void Set_Lang() override;
};

extern TFBACnetSlaveSetAccess* FBACnetSlaveSetAccess;
