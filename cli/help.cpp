#include "cli/options.h"

namespace cli {

QString helpText()
{
    return QStringLiteral(R"(Usage: meterlink-cli [--port DEVICE] [ACTION] [OPTIONS]

Reads the multimeter over its RS-232 link (2400,N,8,1) without a desktop:
live readings, and the meter's logger memory.

Connection
  --port DEVICE          serial device, or "emulator" for the built-in meter
                         (default: the device the windowed program uses for
                         COM1, else the first USB serial adapter, else /dev/ttyS0)
                           meterlink-cli --port /dev/ttyUSB0
  --list-ports           list the serial ports: device, description,
                         manufacturer, VID:PID, serial number (tab-separated)
                           meterlink-cli --list-ports

Live readings (the default action)
  --samples N            stop after N readings (default 1)
                           meterlink-cli --samples 10
  --time DURATION        stop after 500ms, 10s, 5m, 2h (with --samples: the
                         first to be reached)
                           meterlink-cli --time 5m -O csv
  --continuous           until SIGINT or SIGTERM (which end it cleanly)
                           meterlink-cli --continuous -O jsonl | my-logger
  --interval SECONDS     one reading (the newest frame) per 0.1 to 3600 s;
                         without it every frame is a reading
                           meterlink-cli --continuous --interval 60 -O csv -o day.csv
  -O, --output-format F  analog (default), csv, jsonl or dat
                           meterlink-cli --samples 5 -O jsonl
  -o, --output-file FILE write to FILE instead of standard output (dat
                         appends, the others replace it; every line flushed)
                           meterlink-cli --time 1h -O dat -o bench.dat
  --stats                after the readings (or --download), their count,
                         minimum, maximum, mean and standard deviation on
                         standard error; standard output keeps the data
                           meterlink-cli --samples 100 -O csv --stats > run.csv

Publishing to MQTT (with any live run; -o FILE stays the durable copy)
  --mqtt URL             also publish each reading, as the jsonl object, to
                         PREFIX/reading on mqtt://host[:port] (1883) or
                         mqtts://host[:port] (8883, TLS); PREFIX/status is
                         "online" (retained), "offline" as the will and at the end
                           meterlink-cli --continuous --mqtt mqtt://lab-broker
  --mqtt-ca FILE         the certificate authority of an mqtts:// broker
                         (default: the system's)
  --mqtt-cert FILE       a client certificate, with --mqtt-key FILE
  --mqtt-user NAME       user name; the password comes from
                         --mqtt-password-file FILE (its first line) or the
                         environment variable METERLINK_MQTT_PASSWORD
                           METERLINK_MQTT_PASSWORD=... meterlink-cli --continuous \
                             --mqtt mqtts://lab-broker --mqtt-user bench3
  --mqtt-topic PREFIX    topic prefix (default meterlink/<hostname>)
  --mqtt-qos 0|1         1 (default): a reading leaves the queue when the
                         broker acknowledged it, at least once, in order
                         While the broker is away readings wait in memory, up to
                         32 MiB (about 2 days at 1 reading/s; then the oldest go,
                         counted on standard error), reconnecting after 0.5 s,
                         doubling to 30 s. At the end at most 2 s go to sending
                         what waits; what is left is counted. A refused user or
                         password, a denied topic or a certificate that does not
                         verify ends the run with status 1.

The logger memory
  --logger-status        memory size, remaining memory, ID code, sampling
                         time and number of sets
                           meterlink-cli --logger-status
  --list-sets            one line per set: number, start, records
                           meterlink-cli --list-sets
  --download N           set N with its time stamps; -O dat (default here)
                         gives the bytes the record list's SAVE writes; -o is
                         written whole or not at all
                           meterlink-cli --download 2 -O csv -o set2.csv
  --get-clock            the meter's clock
                           meterlink-cli --get-clock
  --set-clock            set the meter's clock from this computer's clock
                           meterlink-cli --set-clock
  --set-id N             identification code, 1 to 65535
                           meterlink-cli --set-id 4711
  --set-sampling N       logger sampling time, 1 to 32767 seconds
                           meterlink-cli --set-sampling 10
  --set-memory-ics N     memory ICs fitted: 2, 4, 6 or 8
                           meterlink-cli --set-memory-ics 4

  -h, --help             this text
  --version              the program's version

Exit status: 0 done, 1 failed (device, no data, time-out, write error, a
broker's refusal), 2 usage error (nothing is sent to the meter).
)");
}

} // namespace cli
