#pragma once

// The options of meter-emulator. Usage:
//
//   QCommandLineParser parser;
//   emulator::addOptions(parser);
//   parser.process(app);
//   if (QString problem = emulator::configure(parser, meter); !problem.isEmpty()) ...

#include <QString>

class QCommandLineParser;

namespace emulator {

class MeterEmulator;

void addOptions(QCommandLineParser &parser);

// Applies the options to the meter; on a bad value returns the message
// (the meter is then left half set up: the caller stops).
QString configure(const QCommandLineParser &parser, MeterEmulator &meter);

} // namespace emulator
