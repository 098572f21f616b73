#pragma once
#include <QString>
#include <array>
#include <cstddef>
#include <cstdint>

namespace mqtt_image {

class TParGen_Reader;

constexpr size_t Bank1_Size = 2048;
constexpr size_t Bank1_Checksum_Offset = 2044;
// Where the updater puts bank 2 in the gateway; every address inside bank 2 is based here.
constexpr uint32_t Bank2_Base_Address = 0x80000;

// The gateway's network and modem parameters, little-endian, closed by the sum of bytes 0..2043.
struct TBank1_Parameter_Block {
    std::array<uint8_t, Bank1_Size> Bytes{};
};

// Every byte to the value it has when the project has no ParGen.xml.
void Init_Bank1_Defaults(TBank1_Parameter_Block& block);

// Fills the fields from ParGen.xml; each element on its own, a missing element or a text that is
// not a number giving that field's fallback.
void Load_ParGen_For_Bank1(TBank1_Parameter_Block& block, const TParGen_Reader& parGen);

// The modem's settings text of the file's modem elements, without its terminating zero.
QString Modem_Text(const TParGen_Reader& parGen);

// Stores the sum of bytes 0..2043 at 2044 and returns it.
uint32_t Seal_Bank1(TBank1_Parameter_Block& block);

}  // namespace mqtt_image
