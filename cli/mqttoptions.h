#pragma once

#include "cli/options.h"

class QCommandLineParser;

namespace cli {

// The --mqtt options: registered with the others, read after them.
void addMqttOptions(QCommandLineParser &parser);
std::optional<UsageError> readMqttOptions(const QCommandLineParser &parser, Options &options);

// The queue's ceiling can be made small to see it fill (not in --help).
inline constexpr char queueBytesVariable[] = "METERLINK_MQTT_QUEUE_BYTES";
inline constexpr char passwordVariable[] = "METERLINK_MQTT_PASSWORD";

} // namespace cli
