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

Exit status: 0 done, 1 failed (device, no data, time-out, write error),
2 usage error (nothing is sent to the meter).
)");
}

} // namespace cli
