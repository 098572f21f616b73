#include "fake-gateway/GatewayScript.h"

#include "protocols/mbus/ElAES.h"
#include "protocols/mbus/UMBusDecode.h"

#include <QRegularExpression>
#include <QStringList>

namespace fake_gateway {

namespace {

void Append(Bytes& to, const Bytes& bytes) { to.insert(to.end(), bytes.begin(), bytes.end()); }

void Append_Le(Bytes& to, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        to.push_back(uint8_t(value >> (8 * i)));
}

// The identification number's eight digits as BCD (0x12345678 for "12345678").
std::optional<uint32_t> Bcd_Id(const QString& digits)
{
    bool ok = false;
    const uint32_t id = digits.toUInt(&ok, 16);
    if (!ok || digits.size() != 8 || digits.contains(QRegularExpression(QStringLiteral("[^0-9]"))))
        return std::nullopt;
    return id;
}

std::optional<Bytes> From_Hex(const QString& text)
{
    Bytes bytes;
    if (!Hex_To_Bytes(text, bytes))
        return std::nullopt;
    return bytes;
}

}  // namespace

Bytes Wired_Frame(uint8_t primary, uint32_t id, uint16_t manufacturer, uint8_t version, uint8_t medium,
                  const Bytes& records)
{
    Bytes body{0x08, primary, 0x72};
    Append_Le(body, id, 4);
    Append_Le(body, manufacturer, 2);
    Append(body, {version, medium, 0x55, 0x00, 0x00, 0x00});
    Append(body, records);
    uint8_t sum = 0;
    for (uint8_t b : body)
        sum = uint8_t(sum + b);
    const auto length = uint8_t(body.size());
    Bytes frame{0x68, length, length, 0x68};
    Append(frame, body);
    Append(frame, {sum, 0x16});
    return frame;
}

Bytes Wireless_Telegram(uint16_t manufacturer, uint32_t id, uint8_t version, uint8_t type, uint8_t access,
                        const Bytes& records, const std::optional<Key>& key)
{
    Bytes link{0x44};
    Append_Le(link, manufacturer, 2);
    Append_Le(link, id, 4);
    Append(link, {version, type});
    Bytes telegram = link;
    if (!key) {
        Append(telegram, {0x7A, access, 0x00, 0x00, 0x00});
        Append(telegram, records);
        return telegram;
    }
    Bytes plain{0x2F, 0x2F};
    Append(plain, records);
    while (plain.size() % 16 != 0)
        plain.push_back(0x2F);
    const auto blocks = uint8_t(plain.size() / 16);
    // Configuration word: the number of encrypted blocks, security mode 5, synchronous.
    Append(telegram, {0x7A, access, 0x00, uint8_t(blocks << 4), 0x25});
    TAESBlock iv{};
    std::copy(link.begin() + 1, link.end(), iv.begin());
    std::fill(iv.begin() + 8, iv.end(), access);
    const TAESExpandedKeyEnc schedule = AES_Expand_Key_Enc(*key);
    for (size_t at = 0; at < plain.size(); at += 16) {
        TAESBlock block;
        for (size_t i = 0; i < 16; ++i)
            block[i] = plain[at + i] ^ iv[i];
        iv = AES_Encrypt_Block(block, schedule);
        telegram.insert(telegram.end(), iv.begin(), iv.end());
    }
    return telegram;
}

Bytes Radio_Datagram(FakeGateway::Module module, const Bytes& telegram)
{
    Bytes datagram{uint8_t(telegram.size())};
    Append(datagram, telegram);
    if (module == FakeGateway::Module::Telit) {
        Append(datagram, {0x00, 0x50});  // the signal level last
    } else {
        datagram.push_back(0xB4);
        datagram[0] = uint8_t(datagram.size() - 1);
    }
    return datagram;
}

uint16_t Manufacturer_Code(const QString& letters)
{
    if (letters.size() != 3)
        return 0;
    uint16_t code = 0;
    for (QChar c : letters.toUpper()) {
        if (c < u'A' || c > u'Z')
            return 0;
        code = uint16_t(code << 5 | (c.unicode() - 64));
    }
    return code;
}

std::optional<Script> Parse_Script(const QString& text, QString* error)
{
    Script script;
    struct Radio_Meter {
        uint16_t Man;
        uint32_t Id;
        uint8_t Version, Type;
        Bytes Records;
        std::optional<Key> With_Key;
    };
    std::vector<Radio_Meter> radio;
    const QStringList lines = text.split(u'\n');
    for (int n = 0; n < lines.size(); ++n) {
        const auto fail = [&](const QString& why) {
            if (error)
                *error = QStringLiteral("line %1: %2").arg(n + 1).arg(why);
            return std::nullopt;
        };
        const QStringList w = lines[n].section(u'#', 0, 0).simplified().split(u' ', Qt::SkipEmptyParts);
        if (w.isEmpty())
            continue;
        if (w[0] == u"module" && w.size() == 2 && (w[1] == u"telit" || w[1] == u"radiocrafts")) {
            script.Module = w[1] == u"telit" ? FakeGateway::Module::Telit : FakeGateway::Module::RadioCrafts;
        } else if (w[0] == u"meter" && w.size() >= 7) {
            bool ok = true;
            const int primary = w[1] == u"-" ? -1 : w[1].toInt(&ok);
            const auto id = Bcd_Id(w[2]);
            const uint16_t man = Manufacturer_Code(w[3]);
            bool ok_v = false, ok_m = false;
            const int version = w[4].toInt(&ok_v);
            const int medium = w[5].toInt(&ok_m);
            if (!ok || primary < -1 || primary > 250 || !id || !man || !ok_v || !ok_m || version < 0 ||
                version > 255 || medium < 0 || medium > 255)
                return fail(QStringLiteral("meter PRIMARY|- ID MAN VERSION MEDIUM RECORDS [| RECORDS ...]"));
            FakeMeter meter;
            meter.Primary = primary;
            meter.Id = *id;
            for (const QString& part : w.mid(6).join(u' ').split(u'|')) {
                const auto records = From_Hex(part.trimmed());
                if (!records)
                    return fail(QStringLiteral("records are not hex: ") + part.trimmed());
                // A meter without a primary address answers with address 0, as an unset meter does.
                meter.Frames.push_back(Wired_Frame(uint8_t(primary < 0 ? 0 : primary), *id, man, uint8_t(version),
                                                   uint8_t(medium), *records));
            }
            script.Meters.push_back(std::move(meter));
        } else if (w[0] == u"wireless" && (w.size() == 6 || (w.size() == 8 && w[6] == u"key"))) {
            const uint16_t man = Manufacturer_Code(w[1]);
            const auto id = Bcd_Id(w[2]);
            bool ok_v = false, ok_t = false;
            const int version = w[3].toInt(&ok_v);
            const int type = w[4].toInt(&ok_t);
            const auto records = From_Hex(w[5]);
            std::optional<Key> key;
            if (w.size() == 8) {
                const auto k = From_Hex(w[7]);
                if (!k || k->size() != 16)
                    return fail(QStringLiteral("a key is 32 hex digits"));
                key.emplace();
                std::copy(k->begin(), k->end(), key->begin());
            }
            if (!man || !id || !ok_v || !ok_t || version < 0 || version > 255 || type < 0 || type > 255 || !records)
                return fail(QStringLiteral("wireless MAN ID VERSION TYPE RECORDS [key KEY]"));
            radio.push_back({man, *id, uint8_t(version), uint8_t(type), *records, key});
        } else {
            return fail(QStringLiteral("unknown line: ") + w.join(u' '));
        }
    }
    uint8_t access = 0x2A;
    for (const Radio_Meter& m : radio)
        script.Telegrams.push_back(Radio_Datagram(
            script.Module, Wireless_Telegram(m.Man, m.Id, m.Version, m.Type, access++, m.Records, m.With_Key)));
    return script;
}

QString Default_Script_Text()
{
    return QStringLiteral(
        "# Wired meters: primary address (- for none), identification number, manufacturer, version,\n"
        "# medium, records of each answer frame (| between frames; 1F ends a frame that has more).\n"
        "meter 1   11111111 PAD 1 7  0413D2040000 02FD170000\n"
        "meter 5   12345678 KAM 2 4  0C0678563412 04134E610000 426CBF1C\n"
        "meter 77  12345679 KAM 2 4  0C0601000000 1F | 04130A000000 02FD170000\n"
        "meter 200 87654321 ELS 3 3  0C1399000000\n"
        "# Meters reached by their identification number only; their numbers share digits.\n"
        "meter -   12340001 PAD 1 7  0413E8030000\n"
        "meter -   12340002 PAD 1 7  0413D0070000\n"
        "# The radio module and the meters it hears: one plain, one in security mode 5.\n"
        "module telit\n"
        "wireless KAM 11223344 1 7 0C1378563412\n"
        "wireless ELS 12345678 51 3 0C1427048502046D32371F1502FD170000 key 0F0E0D0C0B0A09080706050403020100\n");
}

void Load(FakeGateway& gateway, const Script& script)
{
    gateway.Set_Module(script.Module);
    for (const FakeMeter& meter : script.Meters)
        gateway.Add_Meter(meter);
}

}  // namespace fake_gateway
