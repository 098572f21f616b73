#pragma once
#include "platform/TForm.h"

#include <QString>

// The wireless meter key dialog. Its contents come with the issue that builds this window; until then it is an
// empty window with its size and caption.
class TFInsertKeyWireless : public platform::TForm {
    Q_OBJECT
public:
    explicit TFInsertKeyWireless(QWidget* parent = nullptr);
    void Set_Lang() override;
};

extern TFInsertKeyWireless* FInsertKeyWireless;
