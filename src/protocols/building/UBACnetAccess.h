#pragma once
#include "platform/TForm.h"

#include <QString>

// The BACnet client tables. Its contents come with the issue that builds this window; until then it is an
// empty window with its size and caption.
class TFBACnetAccess : public platform::TForm {
    Q_OBJECT
public:
    explicit TFBACnetAccess(QWidget* parent = nullptr);
    void Set_Lang() override;
};

extern TFBACnetAccess* FBACnetAccess;
