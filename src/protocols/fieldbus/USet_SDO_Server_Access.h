#pragma once
#include "protocols/fieldbus/UCANopen_Window.h"

// The CANopen SDO server tables: the application objects that the gateway offers, byte by byte from
// positions of the exchange area.
class TFSet_SDO_Server_Access : public TCANopen_Window {
    Q_OBJECT
public:
    explicit TFSet_SDO_Server_Access(const grid::TGridLayers& gridLayers = {}, QWidget* parent = nullptr);
};

TFSet_SDO_Server_Access* FSet_SDO_Server_Access();
