// Command-line parsing of `vireo`.
#include "services/launch_options.h"

namespace {

bool TakeValue(const QStringList& args, int* i, QString* value, QString* error) {
  if (*i + 1 >= args.size()) {
    *error = QStringLiteral("%1 needs a value").arg(args[*i]);
    return false;
  }
  *value = args[++*i];
  return true;
}

bool TakeInt(const QStringList& args, int* i, int minimum, int maximum, int* out, QString* error) {
  QString text;
  if (!TakeValue(args, i, &text, error)) return false;
  bool ok = false;
  const int value = text.toInt(&ok);
  if (!ok || value < minimum || value > maximum) {
    *error = QStringLiteral("%1: bad number '%2'").arg(args[*i - 1], text);
    return false;
  }
  *out = value;
  return true;
}

}  // namespace

LaunchOptions ParseLaunchOptions(const QStringList& args) {
  LaunchOptions options;
  for (int i = 0; i < args.size() && options.ok; ++i) {
    const QString& arg = args[i];
    QString text;
    int number = 0;
    if (arg == QLatin1String("--emulator")) {
      options.emulator = true;
    } else if (arg == QLatin1String("--emulator-model")) {
      options.ok = TakeValue(args, &i, &text, &options.error);
      options.emulatorOptions.modelName = text.toStdString();
    } else if (arg == QLatin1String("--emulator-kind")) {
      options.ok = TakeInt(args, &i, 0, 255, &number, &options.error);
      options.emulatorOptions.kind = static_cast<std::uint8_t>(number);
    } else if (arg == QLatin1String("--emulator-latency")) {
      options.ok = TakeInt(args, &i, 0, 60000, &number, &options.error);
      options.emulatorOptions.replyLatencyMs = number;
    } else if (arg == QLatin1String("--emulator-state")) {
      options.ok = TakeValue(args, &i, &options.emulatorState, &options.error);
    } else if (arg == QLatin1String("--trace")) {
      options.ok = TakeValue(args, &i, &options.traceFile, &options.error);
    } else if (arg.startsWith(QLatin1String("--"))) {
      options.ok = false;
      options.error = QStringLiteral("unknown option %1").arg(arg);
    } else if (options.modeFile.isEmpty()) {
      options.modeFile = arg;
    } else {
      options.ok = false;
      options.error = QStringLiteral("more than one file given");
    }
  }
  // The emulator's options only make sense with the emulator.
  const bool emulatorDetail =
      !options.emulatorState.isEmpty() || args.contains(QLatin1String("--emulator-model")) ||
      args.contains(QLatin1String("--emulator-kind")) || args.contains(QLatin1String("--emulator-latency"));
  if (options.ok && emulatorDetail) options.emulator = true;
  return options;
}
