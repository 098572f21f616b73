#pragma once
// What a fake gateway serves: its wired meters, its radio module and the telegrams that module
// hears, read from a small text script, and the frame builders behind it.
#include "fake-gateway/FakeGateway.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace fake_gateway {

using Bytes = std::vector<uint8_t>;
using Key = std::array<uint8_t, 16>;

// An RSP_UD long frame: C 08, the meter's address, CI 72, the fixed header (identification
// number, manufacturer, version, medium, access number 0x55, status 0, signature 0) and the records.
Bytes Wired_Frame(uint8_t primary, uint32_t id, uint16_t manufacturer, uint8_t version, uint8_t medium,
                  const Bytes& records);

// A wireless telegram without its length byte: C 44, the link address, the short transport header
// (CI 7A, access number, status 0, configuration word) and the records. With a key, security mode 5:
// the records behind 2F 2F, filled with 2F to whole blocks and encrypted in CBC under the
// telegram's initialisation vector.
Bytes Wireless_Telegram(uint16_t manufacturer, uint32_t id, uint8_t version, uint8_t type, uint8_t access,
                        const Bytes& records, const std::optional<Key>& key = std::nullopt);

// The telegram as the radio module hands it over: its length byte first and the module's trailer
// (Telit: two bytes; RadioCrafts: one, counted in the length byte).
Bytes Radio_Datagram(FakeGateway::Module module, const Bytes& telegram);

// A manufacturer's three letters as the M-Bus code; 0 when they are not three letters A to Z.
uint16_t Manufacturer_Code(const QString& letters);

struct Script {
    FakeGateway::Module Module = FakeGateway::Module::Telit;
    std::vector<FakeMeter> Meters;
    std::vector<Bytes> Telegrams;  // whole datagrams, as the module sends them
};

// Reads a script; lines (# starts a comment):
//   module telit | radiocrafts
//   meter PRIMARY|- ID MAN VERSION MEDIUM RECORDS [| RECORDS ...]   one frame per part
//   wireless MAN ID VERSION TYPE RECORDS [key KEY]                 mode 5 with a key, plain without
// Numbers in decimal, the ID in its eight digits, RECORDS and KEY in hex without spaces.
// On an error, the line and its fault go to `error` and the result is empty.
std::optional<Script> Parse_Script(const QString& text, QString* error);

// The script served when none is given.
QString Default_Script_Text();

// Scripts a gateway: its module and its meters.
void Load(FakeGateway& gateway, const Script& script);

}  // namespace fake_gateway
