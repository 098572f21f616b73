#pragma once
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// Helpers of the bank image tests: golden files, hand-made project files and reading fields back.
namespace bank_test {

using TElements = std::vector<std::pair<QString, QString>>;

// A file under the test data folder.
QString Data_Path(const QString& relative);

// Reads a golden image: lines "offset: bytes" (decimal offset; hex pairs or "quoted ASCII" with
// \r \n \" \\ escapes), a line "size N", "#" comments; bytes not listed are 0.
std::vector<uint8_t> Read_Golden(const QString& relative);

// A flat ParGen.xml with these elements, in this order.
QByteArray ParGen_Xml(const TElements& elements);

// MQTT_Set_Topic.xml with these publish and subscribe rows (attributes in the given order).
QByteArray Topic_Xml(const std::vector<TElements>& publish, const std::vector<TElements>& subscribe);

// A publish row as the topic window writes it; `changes` replace or add attributes, and an
// attribute whose new value is "<missing>" is left out.
TElements Publish_Row(const QString& topic, const TElements& changes = {});
TElements Subscribe_Row(const QString& topic, const TElements& changes = {});
inline const QString Missing = QStringLiteral("<missing>");

uint32_t U32_At(const std::vector<uint8_t>& image, size_t offset);
uint16_t U16_At(const std::vector<uint8_t>& image, size_t offset);
std::string Bytes_At(const std::vector<uint8_t>& image, size_t offset, size_t count);
// The zero-terminated string an image address (0x80000 based) points at.
std::string String_At_Address(const std::vector<uint8_t>& image, uint32_t address);

// Offsets where two images differ, for readable failure messages.
std::string Describe_Differences(const std::vector<uint8_t>& actual, const std::vector<uint8_t>& expected);

}  // namespace bank_test
