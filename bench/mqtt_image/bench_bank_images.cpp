// Compiling the largest configuration (1024 publish and 1024 subscribe rows with long topics and
// templates) beside parsing the same two files with pugixml alone. The compile should stay under
// twice the parse.
#include "mqtt_image/USaveBincc.h"

#include <QString>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <pugixml.hpp>
#include <string>

namespace {

constexpr int Rows = 1024;
constexpr unsigned Parse_Options = pugi::parse_default | pugi::parse_ws_pcdata_single;

std::string Padded(const std::string& head, size_t length, char fill)
{
    std::string s = head;
    s.resize(length, fill);
    return s;
}

// The two project files of the largest configuration, made once in a temporary folder.
struct TLargest_Project {
    QTemporaryDir Dir;
    std::string ParGen = Dir.filePath("ParGen.xml").toStdString();
    std::string Topics = Dir.filePath("MQTT_Set_Topic.xml").toStdString();

    TLargest_Project()
    {
        pugi::xml_document parGen;
        pugi::xml_node root = parGen.append_child("Par_Gen");
        auto element = [&](const char* name, const std::string& value) {
            root.append_child(name).text().set(value.c_str());
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
        parGen.append_child(pugi::node_comment).set_value("SW_VERSION = 1.006");
        parGen.save_file(ParGen.c_str(), "  ", pugi::format_indent | pugi::format_no_declaration);

        pugi::xml_document topics;
        pugi::xml_node top = topics.append_child("MQTT_Set_Topic");
        pugi::xml_node publish = top.append_child("MQTT_Publish");
        pugi::xml_node subscribe = top.append_child("MQTT_Subscribe");
        for (int i = 0; i < Rows; ++i) {
            const std::string n = std::to_string(i);
            const std::string topic = Padded("plant/area-" + n + "/", 64, 'p');
            const std::string tmpl = Padded("{\"device\":\"gw\",\"point\":" + n + ",\"value\":$VALUE$,\"pad\":\"", 96, 'x');
            const char* pubValues[][2] = {{"Topic", topic.c_str()},  {"Retained", "N"},         {"QoS", "1"},
                                          {"DataType", "Float"},     {"Dimension", "4"},        {"Position", n.c_str()},
                                          {"IPAddress", ""},         {"FormatHex", "N"},        {"InputTemplate", ""},
                                          {"Template", tmpl.c_str()}, {"OnChange", "Y"},        {"OnCMD", "N"},
                                          {"OnTimer", "Y"},          {"Time", "1000"},          {"Mnemonic", "Measured value of the plant"}};
            pugi::xml_node row = publish.append_child("row");
            for (const auto& [name, value] : pubValues)
                row.append_attribute(name).set_value(value);
            const char* subValues[][2] = {{"Topic", topic.c_str()}, {"Retained", "N"},   {"QoS", "0"},
                                          {"DataType", "Int"},      {"Dimension", "2"},  {"Position", n.c_str()},
                                          {"IPAddress", ""},        {"Port", ""},        {"EthType", ""},
                                          {"InputTemplate", ""},    {"FormatHex", "N"},  {"Template", tmpl.c_str()},
                                          {"Mnemonic", "Set point"}};
            row = subscribe.append_child("row");
            for (const auto& [name, value] : subValues)
                row.append_attribute(name).set_value(value);
        }
        topics.append_child(pugi::node_comment).set_value("SW_VERSION = 1.006");
        topics.save_file(Topics.c_str(), "  ", pugi::format_indent | pugi::format_no_declaration);
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
        pugi::xml_document parGen, topics;
        benchmark::DoNotOptimize(parGen.load_file(p.ParGen.c_str(), Parse_Options));
        benchmark::DoNotOptimize(topics.load_file(p.Topics.c_str(), Parse_Options));
    }
}
BENCHMARK(BM_Parse_Only)->Unit(benchmark::kMillisecond);

void BM_Compile_Bin_Banks(benchmark::State& state)
{
    const TLargest_Project& p = Project();
    const QString parGen = QString::fromStdString(p.ParGen);
    const QString topics = QString::fromStdString(p.Topics);
    size_t bank2 = 0;
    for (auto _ : state) {
        const auto images = mqtt_image::Compile_Bin_Banks(parGen, topics);
        bank2 = images.Bank2.size();
        benchmark::DoNotOptimize(images.Bank2.data());
    }
    state.counters["bank2_bytes"] = double(bank2);
}
BENCHMARK(BM_Compile_Bin_Banks)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
