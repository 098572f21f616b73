#pragma once
#include <QString>
#include <cstdint>
#include <vector>

// The two device images of a configuration: bank 1 (network and modem parameters, 2048 bytes with
// its checksum) and bank 2 (the MQTT client structures, addresses based at 0x80000).
namespace mqtt_image {

struct TBin_Banks {
    std::vector<uint8_t> Bank1;
    std::vector<uint8_t> Bank2;
};

// Builds both images from the configuration's files as they are on disk. A missing ParGen.xml
// gives the block's defaults and a missing topic file empty tables. Throws platform::Exception
// naming the file (and the row and attribute where there is one) when a file cannot be read or
// converted, and when the MQTT image would not fit in the gateway's bank 2.
TBin_Banks Compile_Bin_Banks(const QString& parGenPath, const QString& topicPath);

// Writes "bin/bank1.bin" and "bin/bank2.bin" under the project folder, creating "bin" when it is
// missing. Both files are replaced or neither is: on any failure the files that were there stay as
// they were, and platform::Exception tells why.
void Write_Bin_Banks(const QString& projectFolder, const TBin_Banks& images);

}  // namespace mqtt_image
