#pragma once
// A topic file for the windows whose rules name MQTT topics.
#include "mqtt_image/UMQTT_Topic_File.h"
#include "shell/UComon.h"

#include <QStringList>

// The project's topic file, its publish and subscribe tables holding these topics in order.
inline void Write_Topic_File(const QStringList& publish, const QStringList& subscribe = {})
{
    mqtt_image::TTopic_Tables tables;
    for (const mqtt_image::TTopic_Side side : {mqtt_image::Topic_Publish, mqtt_image::Topic_Subscribe}) {
        const QStringList& topics = side == mqtt_image::Topic_Publish ? publish : subscribe;
        const int topic = side == mqtt_image::Topic_Publish ? int(mqtt_image::pub::Topic) : int(mqtt_image::sub::Topic);
        for (int k = 0; k < topics.size(); ++k) {
            QStringList row;
            for (size_t c = 0; c < mqtt_image::Topic_Columns(side).size(); ++c)
                row.append(QString());
            row[0] = QString::number(k + 1);
            row[topic] = topics.at(k);
            tables[size_t(side)].push_back(row);
        }
    }
    mqtt_image::Write_Topic_File(shell::App_State.File_MQTT_Set_Topic, tables);
}
