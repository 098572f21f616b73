#pragma once
#include "platform/TForm.h"

#include <QString>

// The second MQTT access window. Its contents come with the issue that builds this window; until then it is an
// empty window with its size and caption.
class TFMQTT_SetAccess_Eth : public platform::TForm {
    Q_OBJECT
public:
    explicit TFMQTT_SetAccess_Eth(QWidget* parent = nullptr);
    void Set_Lang() override;
};

extern TFMQTT_SetAccess_Eth* FMQTT_SetAccess_Eth;
