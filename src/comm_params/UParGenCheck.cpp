#include "comm_params/UParGenCheck.h"

#include "comm_params/UParGenFile.h"

namespace comm_params {

bool In_Range(const QString& text, qint64 lo, qint64 hi)
{
    const qint64 v = Parse_Integer(text).value_or(-1);
    return v >= lo && v <= hi;
}

int First_Bad_Byte(const std::array<QString, 4>& bytes)
{
    for (int i = 0; i < 4; ++i)
        if (!In_Range(bytes[static_cast<size_t>(i)], 0, 255))
            return i;
    return -1;
}

int Check_Device_Name(const QString& text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const bool ok = (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z');
        if (!ok)
            return 1;
    }
    return 0;
}

QString GSM_Auth_Type_Code(const QString& itemText)
{
    const QString t = itemText.toUpper();
    if (t == QLatin1String("PAP"))
        return QStringLiteral("1");
    if (t == QLatin1String("CHAP"))
        return QStringLiteral("2");
    if (t == QLatin1String("PAP OR CHAP"))
        return QStringLiteral("3");
    return QStringLiteral("0");
}

QString Modem_Text(const QString& pin, const QString& apn, const QString& authType, const QString& userName,
                   const QString& password)
{
    const QString crlf = QStringLiteral("\r\n");
    return QStringLiteral("PIN=") + pin + crlf + QStringLiteral("APN=") + apn + crlf + QStringLiteral("AUTHTYPE=") +
           GSM_Auth_Type_Code(authType) + crlf + QStringLiteral("USERNAME=") + userName + crlf +
           QStringLiteral("PASSWORD=") + password + crlf;
}

QString Msg_MQTT_Server_Port() { return QStringLiteral("Error MQTT!! Server Port must be between 1 and 65535"); }

QString Msg_MQTT_Keep_Alive()
{
    return QStringLiteral("Error MQTT!! Keep Alive must be empty or between 0 and 65535 seconds");
}

QString Msg_MQTT_Send_Time()
{
    return QStringLiteral("Error MQTT!! Send Time must be empty or between 0 and %1").arg(MQTT_Send_Time_Max);
}

QString Msg_WiFi_SSID_Length()
{
    return QStringLiteral("Error WiFi!! SSID must be at most %1 characters long").arg(WiFi_SSID_Max_Chars);
}

QString Msg_WiFi_PWD_Length()
{
    return QStringLiteral("Error WiFi!! Password must be at most %1 characters long").arg(WiFi_PWD_Max_Chars);
}

QString Msg_Modem_Text_Length()
{
    return QStringLiteral("Error GSM / GPRS!! PIN, APN, User Name and Password together are too long "
                          "for the modem (at most %1 characters with their keywords)")
        .arg(Modem_Text_Max_Chars);
}

QString Msg_No_Item_Selected(const QString& panel, const QString& field)
{
    return QStringLiteral("Error %1!! Select an item in \"%2\"").arg(panel, field);
}

}  // namespace comm_params
