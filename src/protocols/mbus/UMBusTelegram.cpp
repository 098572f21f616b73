#include "protocols/mbus/ElAES.h"
#include "protocols/mbus/UMBusDecode.h"

#include "platform/Bytes.h"

#include <algorithm>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#endif

namespace {

using platform::ByteReader;
using platform::ByteWriter;

constexpr uint8_t Filler = 0x2F;
constexpr size_t CI_Position = 10;

// Under the address sanitizer the answer buffer's bytes beyond the telegram are poisoned while
// it is decoded, so that a read past the bytes received is caught like one past a heap block.
class TReceivedOnly {
public:
    TReceivedOnly(std::span<uint8_t> buffer, size_t received) : Tail(buffer.subspan(received))
    {
#if defined(__SANITIZE_ADDRESS__)
        ASAN_POISON_MEMORY_REGION(Tail.data(), Tail.size());
#endif
    }
    ~TReceivedOnly()
    {
#if defined(__SANITIZE_ADDRESS__)
        ASAN_UNPOISON_MEMORY_REGION(Tail.data(), Tail.size());
#endif
    }
    TReceivedOnly(const TReceivedOnly&) = delete;
    TReceivedOnly& operator=(const TReceivedOnly&) = delete;

private:
    std::span<uint8_t> Tail;
};

// Reads a telegram at fixed positions through one bounded reader: a position outside the
// telegram reads as 0 and fails the reader for good, so one check at the end covers every read.
class TTelegramReader {
public:
    explicit TTelegramReader(std::span<const uint8_t> bytes) : Reader(bytes) {}
    uint8_t At(size_t position) { return Reader.Seek(position) ? Reader.U8() : 0; }
    std::span<const uint8_t> Range(size_t position, size_t count)
    {
        return Reader.Seek(position) ? Reader.Bytes(count) : std::span<const uint8_t>();
    }
    size_t Size() const { return Reader.Size(); }
    bool Ok() const { return Reader.Ok(); }

private:
    ByteReader Reader;
};

const QString& Too_Short()
{
    static const QString text = QStringLiteral("telegram too short for the fields its CI names");
    return text;
}

enum class TReadable : uint8_t { Never, Always, BySecurityMode, ByFiller };

// Where the parts of a telegram lie, from its CI fields. A telegram too short for any field its
// CIs name is not valid and is dropped.
struct TLayout {
    bool Valid = false;
    uint8_t CI = 0;
    size_t Tpl = 0;     // the transport header's CI (0x7A or 0x72), when there is one
    size_t Config = 0;  // low byte of the configuration word; the security mode is in the high byte
    size_t Payload = 0; // first byte after the headers: the records, or what is encrypted
    TReadable Readable = TReadable::Never;
    bool Records = false;
};

bool Starts_With_Fillers(std::span<const uint8_t> bytes, size_t at)
{
    ByteReader reader(bytes);
    return reader.Seek(at) && reader.U8() == Filler && reader.U8() == Filler && reader.Ok();
}

TLayout Telegram_Layout(std::span<const uint8_t> area)
{
    TTelegramReader telegram(area);
    TLayout layout;
    layout.CI = telegram.At(CI_Position);
    // Identity of the application layer at 11 to 18 for a CI without a link-layer identity.
    if (layout.CI != 0x7A && layout.CI != 0x8C && layout.CI != 0x8D)
        telegram.At(18);
    const size_t sub = layout.CI == 0x8C ? 13 : layout.CI == 0x8D ? 19 : CI_Position;
    const bool extended = sub != CI_Position;
    const uint8_t transport = telegram.At(sub);
    size_t payload = area.size();
    if (extended && transport == 0x78) {
        payload = sub + 1;
        layout.Readable = TReadable::Always;
        layout.Records = true;
    } else if (transport == 0x7A || transport == 0x72) {
        layout.Tpl = sub;
        layout.Config = sub + (transport == 0x7A ? 3 : 11);
        telegram.At(layout.Config + 1);
        payload = layout.Config + 2;
        layout.Readable = TReadable::BySecurityMode;
        layout.Records = true;
    } else if (extended && transport == 0x90) {
        layout.Tpl = sub + 2 + telegram.At(sub + 1);
        layout.Config = layout.Tpl + 3;
        const size_t extension = layout.Tpl + 5;
        telegram.At(extension);
        payload = extension + 1 + ((telegram.At(layout.Config + 1) & 0x20) ? 4 : 0);
        layout.Readable = TReadable::ByFiller;
        layout.Records = layout.CI == 0x8C;
    }
    layout.Payload = payload;
    layout.Valid = telegram.Ok() && payload <= area.size();
    return layout;
}

// Security mode: bits 8-12 of the configuration word.
int Security_Mode(std::span<const uint8_t> area, const TLayout& layout)
{
    return TTelegramReader(area).At(layout.Config + 1) & 0x1F;
}

enum class TDecryption : uint8_t { NotApplicable, Done, Refused, Short };

// Decrypts the payload in place when the plaintext starts with the two fillers; otherwise the
// bytes stay as received.
TDecryption Decrypt_Payload(std::span<uint8_t> area, size_t payload, size_t length, const TAESKey128& key,
                            const TAESBlock& iv, std::span<uint8_t> plain)
{
    if (length == 0)
        return TDecryption::NotApplicable;
    TTelegramReader telegram(area);
    const std::span<const uint8_t> cipher = telegram.Range(payload, length);
    if (!telegram.Ok() || length > plain.size())
        return TDecryption::Short;
    if (cipher[0] == Filler || cipher[1] == Filler)
        return TDecryption::NotApplicable;
    ByteReader source(cipher);
    ByteWriter destination(plain.first(length));
    AES_Decrypt_CBC(source, length, key, destination, iv);
    if (!Starts_With_Fillers(plain, 0))
        return TDecryption::Refused;
    ByteWriter(area, payload).Bytes(plain.first(length));
    return TDecryption::Done;
}

// Security mode 5 behind a short (0x7A) or long (0x72) transport header, with or without the
// short extended link layer. The IV is the manufacturer and address of the layer that carries
// them, then the access number eight times.
TDecryption Decrypt_Mode5(std::span<uint8_t> area, const TLayout& layout, const TAESKey128& key,
                          std::span<uint8_t> plain)
{
    if (layout.Readable != TReadable::BySecurityMode || Security_Mode(area, layout) != 5)
        return TDecryption::NotApplicable;
    if (layout.Tpl != CI_Position && layout.CI != 0x8C)
        return TDecryption::NotApplicable;
    TTelegramReader telegram(area);
    TAESBlock iv{};
    uint8_t access = 0;
    if (telegram.At(layout.Tpl) == 0x7A) {
        const auto link = telegram.Range(2, 8);
        std::copy(link.begin(), link.end(), iv.begin());
        access = telegram.At(layout.Tpl + 1);
    } else {
        // Manufacturer, then identification number, version and device type.
        const auto manufacturer = telegram.Range(layout.Tpl + 5, 2);
        const auto address = telegram.Range(layout.Tpl + 1, 4);
        std::copy(manufacturer.begin(), manufacturer.end(), iv.begin());
        std::copy(address.begin(), address.end(), iv.begin() + 2);
        iv[6] = telegram.At(layout.Tpl + 7);
        iv[7] = telegram.At(layout.Tpl + 8);
        access = telegram.At(layout.Tpl + 9);
    }
    const size_t length = size_t(telegram.At(layout.Config) >> 4) * 16;
    if (!telegram.Ok())
        return TDecryption::Short;
    std::fill(iv.begin() + 8, iv.end(), access);
    return Decrypt_Payload(area, layout.Payload, length, key, iv, plain);
}

// Security mode 7 behind the authentication and fragmentation layer of a short extended link
// layer. The telegram's key comes from the CMAC of a derivation block under the meter's key.
TDecryption Decrypt_Mode7(std::span<uint8_t> area, const TLayout& layout, const TAESKey128& key,
                          std::span<uint8_t> plain)
{
    constexpr size_t Afl = 13;
    TTelegramReader telegram(area);
    if (layout.CI != 0x8C || layout.Readable != TReadable::ByFiller || telegram.At(layout.Tpl) != 0x7A ||
        Security_Mode(area, layout) != 7)
        return TDecryption::NotApplicable;

    // The AFL's fields, in the order its control field announces them, within its own length.
    ByteReader afl(telegram.Range(Afl + 2, telegram.At(Afl + 1)));
    const uint16_t control = afl.U16LE();
    uint8_t authentication = 0;
    std::span<const uint8_t> counter;
    if (control & (1u << 13))
        authentication = afl.U8() & 0x0F;
    if (control & (1u << 9))
        afl.Skip(2);
    if (control & (1u << 11))
        counter = afl.Bytes(4);
    if (control & (1u << 10)) {
        static constexpr uint8_t mac_length[16] = {0, 0, 0, 2, 4, 8, 12, 16, 12, 0, 0, 0, 0, 0, 0, 0};
        afl.Skip(mac_length[authentication]);
    }
    if (control & (1u << 12))
        afl.Skip(2);
    // Without the message counter there is no key to derive.
    if (!afl.Ok() || !afl.AtEnd() || counter.size() != 4)
        return TDecryption::NotApplicable;

    const auto address = telegram.Range(4, 4);
    const size_t length = size_t(telegram.At(layout.Config) >> 4) * 16;
    if (!telegram.Ok())
        return TDecryption::Short;
    uint8_t derivation[16];
    derivation[0] = 0x00;
    std::copy(counter.begin(), counter.end(), derivation + 1);
    std::copy(address.begin(), address.end(), derivation + 5);
    std::fill(derivation + 9, derivation + 16, 0x07);
    ByteReader block{std::span<const uint8_t>(derivation)};
    const TAESBlock message_key = AES_CMAC(block, sizeof derivation, key);
    return Decrypt_Payload(area, layout.Payload, length, message_key, TAESBlock{}, plain);
}

bool Readable(std::span<const uint8_t> area, const TLayout& layout)
{
    switch (layout.Readable) {
    case TReadable::Always:
        return true;
    case TReadable::BySecurityMode: {
        const int mode = Security_Mode(area, layout);
        return mode == 0 || (mode == 5 && Starts_With_Fillers(area, layout.Payload));
    }
    case TReadable::ByFiller:
        return Starts_With_Fillers(area, layout.Payload);
    case TReadable::Never:
        break;
    }
    return false;
}

}  // namespace

int TMBusDecoder::Find_Wireless_Meter(const TList_Slave_wMBus& list, uint16_t manufacturer, int32_t address,
                                      uint8_t version, uint8_t device_type)
{
    for (size_t i = 0; i < list.size(); ++i) {
        const TSlave_wMBus& meter = *list[i];
        if (meter.ALA_Manufacturer == manufacturer && meter.ALA_Address == address && meter.ALA_Version == version &&
            meter.ALA_DeviceType == device_type)
            return int(i);
    }
    return -1;
}

int TMBusDecoder::Decode_Telegram(std::span<const uint8_t> datagram, TRadioModule module, TList_Slave_wMBus& list)
{
    const size_t trailer = module == TRadioModule::rmTelit ? 2 : 1;
    Dropped.clear();
    if (datagram.size() > Ans_Array.size()) {
        Dropped = QStringLiteral("telegram too long: %1 bytes, at most %2").arg(datagram.size()).arg(Ans_Array.size());
        return -1;
    }
    if (datagram.size() < CI_Position + 1 + trailer) {
        Dropped = Too_Short();
        return -1;
    }
    std::copy(datagram.begin(), datagram.end(), Ans_Array.begin());
    const TReceivedOnly received_only(Ans_Array, datagram.size());
    const std::span<uint8_t> area(Ans_Array.data(), datagram.size() - trailer);
    const TLayout layout = Telegram_Layout(area);
    if (!layout.Valid) {
        Dropped = Too_Short();
        return -1;
    }
    Begin_Frame();

    ByteReader link(area);
    link.Seek(1);
    const uint8_t c_field = link.U8();
    const uint16_t lla_manufacturer = link.U16LE();
    const int32_t lla_address = int32_t(link.U32LE());
    const uint8_t lla_version = link.U8();
    const uint8_t lla_device_type = link.U8();
    const uint8_t ci = link.U8();
    uint16_t ala_manufacturer = lla_manufacturer;
    int32_t ala_address = lla_address;
    uint8_t ala_version = lla_version;
    uint8_t ala_device_type = lla_device_type;
    if (ci != 0x7A && ci != 0x8C && ci != 0x8D) {
        ala_address = int32_t(link.U32LE());
        ala_manufacturer = link.U16LE();
        ala_version = link.U8();
        ala_device_type = link.U8();
    }
    ByteReader trailer_reader(datagram);
    trailer_reader.Seek(datagram.size() - 1);
    const uint8_t signal = trailer_reader.U8();
    const int8_t rssi = module == TRadioModule::rmTelit ? int8_t(-int(signal) - 2) : int8_t(int8_t(signal) / 2 + 1);

    int index = Find_Wireless_Meter(list, ala_manufacturer, ala_address, ala_version, ala_device_type);
    if (index < 0) {
        auto meter = std::make_unique<TSlave_wMBus>();
        meter->Message_Type = c_field;
        meter->ALA_Manufacturer = ala_manufacturer;
        meter->ALA_Manu_str = Trova_Man(ala_manufacturer);
        meter->ALA_Address = ala_address;
        meter->ALA_Version = ala_version;
        meter->ALA_DeviceType = ala_device_type;
        meter->LLA_Manufacturer = lla_manufacturer;
        meter->LLA_Manu_str = Trova_Man(lla_manufacturer);
        meter->LLA_Address = lla_address;
        meter->LLA_Version = lla_version;
        meter->LLA_DeviceType = lla_device_type;
        meter->RadioCrafts_Ind_Tab_Decript = -1;
        list.push_back(std::move(meter));
        index = int(list.size()) - 1;
    } else if (list[size_t(index)]->Enable_Key) {
        const TAESKey128& key = list[size_t(index)]->Key;
        // A mode-5 telegram that does not decrypt to the fillers shows the meter as encrypted
        // below; a mode-7 one leaves the meter as it was.
        const TDecryption mode5 = Decrypt_Mode5(area, layout, key, Plain);
        const TDecryption mode7 =
            mode5 == TDecryption::NotApplicable ? Decrypt_Mode7(area, layout, key, Plain) : TDecryption::NotApplicable;
        if (mode5 == TDecryption::Short || mode7 == TDecryption::Short) {
            Dropped = Too_Short();
            return -1;
        }
        if (mode7 == TDecryption::Refused) {
            if (UpdateListWirelessSlave)
                UpdateListWirelessSlave(index, list[size_t(index)].get());
            return index;
        }
    }

    TSlave_wMBus& meter = *list[size_t(index)];
    meter.Cancel_Var();
    meter.DateTime = Now;
    meter.RSSI = rssi;
    meter.Cripted = !Readable(area, layout);
    if (!meter.Cripted && layout.Records) {
        ByteReader records(area);
        records.Seek(layout.Payload);
        Walk_Records(meter.List_Var, records.Bytes(records.Remaining()), true);
    }
    if (UpdateListWirelessSlave)
        UpdateListWirelessSlave(index, &meter);
    return index;
}
