// Compiling the largest configuration (1024 publish and 1024 subscribe rows with long topics and
// templates) beside loading the same two files as XML documents alone. The compile should stay
// under twice the load.
#include "platform/XmlDoc.h"
#include "mqtt_image/USaveBincc.h"

#include <QString>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <string>

namespace {

constexpr int Rows = 1024;

std::string Padded(const std::string& head, size_t length, char fill)
{
    std::string s = head;
    s.resize(length, fill);
    return s;
}

// The two project files of the largest configuration, made once in a temporary folder.
struct TLargest_Project {
    QTemporaryDir Dir;
    QString ParGen = Dir.filePath("ParGen.xml");
    QString Topics = Dir.filePath("MQTT_Set_Topic.xml");

    TLargest_Project()
    {
        platform::XmlDocument parGen;
        platform::XmlNode root = parGen.AddRoot(QStringLiteral("Par_Gen"));
        auto element = [&](const char* name, const std::string& value) {
            root.AddChild(QString::fromLatin1(name)).SetText(QString::fromStdString(value));
        };
        element("MQTT_Server_URL", "broker.plant.example");
        element("MQTT_Server_Port", "8883");
        element("MQTT_Client_ID", "gateway-0001");
        element("MQTT_Keep_Alive", "60");
        element("MQTT_Clean_Session", "1");
        element("MQTT_Username", "plant-user");
        element("MQTT_Password", "plant-password");
        element("TLS_Enable", "1");
        element("TLS_Server_Auth_Certificate", Padded("-----BEGIN CERTIFICATE-----\r\n", 1800, 'A'));
        element("NTP_Server_URL", "pool.ntp.org");
        element("NTP_Poll_Time", "3600");
        element("Eth_Conn_Device_Name", "gateway");
        element("GSM_GPRS_APN", "internet.apn");
        parGen.AddComment(QStringLiteral("SW_VERSION = 1.006"));
        parGen.SaveToFile(ParGen);

        platform::XmlDocument topics;
        platform::XmlNode top = topics.AddRoot(QStringLiteral("MQTT_Set_Topic"));
        platform::XmlNode publish = top.AddChild(QStringLiteral("MQTT_Publish"));
        platform::XmlNode subscribe = top.AddChild(QStringLiteral("MQTT_Subscribe"));
        auto add_row = [](platform::XmlNode& container, const auto& values) {
            platform::XmlNode row = container.AddChild(QStringLiteral("row"));
            for (const auto& [name, value] : values)
                row.SetAttribute(QString::fromLatin1(name), QString::fromUtf8(value));
        };
        for (int i = 0; i < Rows; ++i) {
            const std::string n = std::to_string(i);
            const std::string topic = Padded("plant/area-" + n + "/", 64, 'p');
            const std::string tmpl = Padded("{\"device\":\"gw\",\"point\":" + n + ",\"value\":$VALUE$,\"pad\":\"", 96, 'x');
            const char* pubValues[][2] = {{"Topic", topic.c_str()},  {"Retained", "N"},         {"QoS", "1"},
                                          {"DataType", "Float"},     {"Dimension", "4"},        {"Position", n.c_str()},
                                          {"IPAddress", ""},         {"FormatHex", "N"},        {"InputTemplate", ""},
                                          {"Template", tmpl.c_str()}, {"OnChange", "Y"},        {"OnCMD", "N"},
                                          {"OnTimer", "Y"},          {"Time", "1000"},          {"Mnemonic", "Measured value of the plant"}};
            add_row(publish, pubValues);
            const char* subValues[][2] = {{"Topic", topic.c_str()}, {"Retained", "N"},   {"QoS", "0"},
                                          {"DataType", "Int"},      {"Dimension", "2"},  {"Position", n.c_str()},
                                          {"IPAddress", ""},        {"Port", ""},        {"EthType", ""},
                                          {"InputTemplate", ""},    {"FormatHex", "N"},  {"Template", tmpl.c_str()},
                                          {"Mnemonic", "Set point"}};
            add_row(subscribe, subValues);
        }
        topics.AddComment(QStringLiteral("SW_VERSION = 1.006"));
        topics.SaveToFile(Topics);
    }
};

const TLargest_Project& Project()
{
    static const TLargest_Project project;
    return project;
}

void BM_Parse_Only(benchmark::State& state)
{
    const TLargest_Project& p = Project();
    for (auto _ : state) {
        platform::XmlDocument parGen, topics;
        parGen.LoadFromFile(p.ParGen);
        topics.LoadFromFile(p.Topics);
        benchmark::DoNotOptimize(parGen.DocumentElement());
        benchmark::DoNotOptimize(topics.DocumentElement());
    }
}
BENCHMARK(BM_Parse_Only)->Unit(benchmark::kMillisecond);

void BM_Compile_Bin_Banks(benchmark::State& state)
{
    const TLargest_Project& p = Project();
    size_t bank2 = 0;
    for (auto _ : state) {
        const auto images = mqtt_image::Compile_Bin_Banks(p.ParGen, p.Topics);
        bank2 = images.Bank2.size();
        benchmark::DoNotOptimize(images.Bank2.data());
    }
    state.counters["bank2_bytes"] = double(bank2);
}
BENCHMARK(BM_Compile_Bin_Banks)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
