#pragma once
#include "platform/TForm.h"

#include <QString>

// The new M-Bus node number dialog, a window of the family's other gateways.
// This product never shows it, so it has its size and caption only.
class TFNewIDNode : public platform::TForm {
    Q_OBJECT
public:
    explicit TFNewIDNode(QWidget* parent = nullptr);
    void Set_Lang() override;
};

TFNewIDNode* FNewIDNode();
