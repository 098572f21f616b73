#include "test_bank_support.h"

#include <QFile>
#include <QStringList>
#include <gtest/gtest.h>
#include <stdexcept>

namespace bank_test {

namespace {

QString Escape(const QString& text)
{
    QString out;
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '&': out += QStringLiteral("&amp;"); break;
        case '<': out += QStringLiteral("&lt;"); break;
        case '>': out += QStringLiteral("&gt;"); break;
        case '"': out += QStringLiteral("&quot;"); break;
        case '\r': out += QStringLiteral("&#13;"); break;
        case '\n': out += QStringLiteral("&#10;"); break;
        default: out += c;
        }
    }
    return out;
}

QString Rows(const QString& container, const std::vector<TElements>& rows)
{
    QString xml = QStringLiteral("  <%1>\n").arg(container);
    for (const TElements& row : rows) {
        xml += QStringLiteral("    <row");
        for (const auto& [name, value] : row)
            xml += QStringLiteral(" %1=\"%2\"").arg(name, Escape(value));
        xml += QStringLiteral("/>\n");
    }
    return xml + QStringLiteral("  </%1>\n").arg(container);
}

TElements Apply(TElements row, const TElements& changes)
{
    for (const auto& [name, value] : changes) {
        auto it = std::find_if(row.begin(), row.end(), [&](const auto& a) { return a.first == name; });
        if (value == Missing) {
            if (it != row.end())
                row.erase(it);
        } else if (it != row.end()) {
            it->second = value;
        } else {
            row.emplace_back(name, value);
        }
    }
    return row;
}

}  // namespace

QString Data_Path(const QString& relative) { return QStringLiteral(TEST_DATA_DIR "/") + relative; }

std::vector<uint8_t> Read_Golden(const QString& relative)
{
    QFile file(Data_Path(relative));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("missing golden file " + relative.toStdString());
    const std::string text = file.readAll().toStdString();

    std::vector<uint8_t> image;
    std::vector<bool> listed;
    size_t lineStart = 0;
    while (lineStart < text.size()) {
        size_t lineEnd = text.find('\n', lineStart);
        if (lineEnd == std::string::npos)
            lineEnd = text.size();
        const std::string line = text.substr(lineStart, lineEnd - lineStart);
        lineStart = lineEnd + 1;

        size_t i = 0;
        auto skipBlanks = [&] {
            while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r'))
                ++i;
        };
        skipBlanks();
        if (i == line.size() || line[i] == '#')
            continue;
        if (line.compare(i, 4, "size") == 0) {
            image.assign(std::stoul(line.substr(i + 4)), 0);
            listed.assign(image.size(), false);
            continue;
        }
        const size_t colon = line.find(':', i);
        size_t at = std::stoul(line.substr(i, colon - i));
        i = colon + 1;
        auto put = [&](uint8_t b) {
            if (at >= image.size() || listed[at])
                throw std::runtime_error("golden byte out of range or listed twice at " + std::to_string(at));
            listed[at] = true;
            image[at++] = b;
        };
        for (;;) {
            skipBlanks();
            if (i >= line.size() || line[i] == '#')
                break;
            if (line[i] == '"') {
                for (++i; i < line.size() && line[i] != '"'; ++i) {
                    char c = line[i];
                    if (c == '\\') {
                        c = line[++i];
                        c = c == 'r' ? '\r' : c == 'n' ? '\n' : c;
                    }
                    put(uint8_t(c));
                }
                ++i;
            } else {
                put(uint8_t(std::stoul(line.substr(i, 2), nullptr, 16)));
                i += 2;
            }
        }
    }
    return image;
}

QByteArray ParGen_Xml(const TElements& elements)
{
    QString xml = QStringLiteral("<Par_Gen>\n");
    for (const auto& [name, value] : elements)
        xml += QStringLiteral("  <%1>%2</%1>\n").arg(name, Escape(value));
    xml += QStringLiteral("</Par_Gen>\n<!--SW_VERSION = 1.006-->\n");
    return xml.toUtf8();
}

QByteArray Topic_Xml(const std::vector<TElements>& publish, const std::vector<TElements>& subscribe)
{
    const QString xml = QStringLiteral("<MQTT_Set_Topic>\n") + Rows(QStringLiteral("MQTT_Publish"), publish) +
                        Rows(QStringLiteral("MQTT_Subscribe"), subscribe) +
                        QStringLiteral("</MQTT_Set_Topic>\n<!--SW_VERSION = 1.006-->\n");
    return xml.toUtf8();
}

TElements Publish_Row(const QString& topic, const TElements& changes)
{
    const TElements row{{"Topic", topic},        {"Retained", "N"}, {"QoS", "0"},       {"DataType", "Int"},
                        {"Dimension", "2"},      {"Position", "0"}, {"IPAddress", ""},  {"FormatHex", "N"},
                        {"InputTemplate", ""},   {"Template", "$VALUE$"}, {"OnChange", "Y"}, {"OnCMD", "N"},
                        {"OnTimer", "N"},        {"Time", ""},      {"Mnemonic", ""}};
    return Apply(row, changes);
}

TElements Subscribe_Row(const QString& topic, const TElements& changes)
{
    const TElements row{{"Topic", topic},      {"Retained", "N"},     {"QoS", "0"},     {"DataType", "Int"},
                        {"Dimension", "2"},    {"Position", "0"},     {"IPAddress", ""}, {"Port", ""},
                        {"EthType", ""},       {"InputTemplate", ""}, {"FormatHex", "N"}, {"Template", "$VALUE$"},
                        {"Mnemonic", ""}};
    return Apply(row, changes);
}

uint32_t U32_At(const std::vector<uint8_t>& image, size_t offset)
{
    EXPECT_LE(offset + 4, image.size());
    if (offset + 4 > image.size())
        return 0xDEADBEEF;
    return uint32_t(image[offset]) | uint32_t(image[offset + 1]) << 8 | uint32_t(image[offset + 2]) << 16 |
           uint32_t(image[offset + 3]) << 24;
}

uint16_t U16_At(const std::vector<uint8_t>& image, size_t offset)
{
    EXPECT_LE(offset + 2, image.size());
    if (offset + 2 > image.size())
        return 0xBEEF;
    return uint16_t(image[offset] | image[offset + 1] << 8);
}

std::string Bytes_At(const std::vector<uint8_t>& image, size_t offset, size_t count)
{
    EXPECT_LE(offset + count, image.size());
    if (offset + count > image.size())
        return "<outside the image>";
    return std::string(reinterpret_cast<const char*>(image.data()) + offset, count);
}

std::string String_At_Address(const std::vector<uint8_t>& image, uint32_t address)
{
    if (address < 0x80000 || address - 0x80000 >= image.size())
        return "<address outside the image>";
    std::string s;
    for (size_t i = address - 0x80000; i < image.size(); ++i) {
        if (image[i] == 0)
            return s;
        s.push_back(char(image[i]));
    }
    return "<no terminating zero>";
}

std::string Describe_Differences(const std::vector<uint8_t>& actual, const std::vector<uint8_t>& expected)
{
    std::string out;
    if (actual.size() != expected.size())
        out += "size " + std::to_string(actual.size()) + " instead of " + std::to_string(expected.size()) + "; ";
    int shown = 0;
    for (size_t i = 0; i < std::min(actual.size(), expected.size()) && shown < 12; ++i)
        if (actual[i] != expected[i]) {
            char buf[64];
            std::snprintf(buf, sizeof buf, "@%zu: %02x not %02x; ", i, actual[i], expected[i]);
            out += buf;
            ++shown;
        }
    return out;
}

}  // namespace bank_test
