#pragma once
#include "protocols/fieldbus/UCANopen_Window.h"

// The CANopen PDO mapping: the PDOs the gateway receives and transmits, byte by byte to positions
// of the exchange area.
class TFSet_PDO_Access : public TCANopen_Window {
    Q_OBJECT
public:
    explicit TFSet_PDO_Access(const grid::TGridLayers& gridLayers = {}, QWidget* parent = nullptr);
};

TFSet_PDO_Access* FSet_PDO_Access();
