// The command line of `vireo`: an optional mode file, the emulator and its options, the report trace.
#pragma once

#include <QString>
#include <QStringList>

#include "emulator/emulator_options.h"

struct LaunchOptions {
  bool emulator = false;
  vireo::emulator::EmulatorOptions emulatorOptions;
  QString emulatorState;  // a mode file the emulated machine starts from
  QString traceFile;
  QString modeFile;  // opened once the main window exists

  bool ok = true;
  QString error;  // the usage problem when !ok
};

// `arguments` without the program name. Unknown options and bad numbers give ok = false.
LaunchOptions ParseLaunchOptions(const QStringList& arguments);

inline constexpr const char* kLaunchUsage =
    "usage: vireo [--emulator] [--emulator-model NAME] [--emulator-kind N] [--emulator-latency MS]\n"
    "             [--emulator-state FILE.noveq] [--trace FILE] [FILE.noveq]\n";
