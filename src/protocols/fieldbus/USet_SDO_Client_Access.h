#pragma once
#include "protocols/fieldbus/UCANopen_Window.h"

// The CANopen SDO client tables: the objects of other devices that the gateway reads and writes,
// byte by byte to positions of the exchange area.
class TFSet_SDO_Client_Access : public TCANopen_Window {
    Q_OBJECT
public:
    explicit TFSet_SDO_Client_Access(const grid::TGridLayers& gridLayers = {}, QWidget* parent = nullptr);
};

TFSet_SDO_Client_Access* FSet_SDO_Client_Access();
