// `mode show`, `mode diff` and `mode convert`: each file is loaded over a freshly defaulted store.
#include "mode_commands.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "cli_common.h"
#include "mode_view.h"
#include "model/mode_file.h"
#include "model/parameter_store.h"

namespace vireo::cli {
namespace {

struct LoadedMode {
  std::unique_ptr<ParameterStore> store = std::make_unique<ParameterStore>();
  int version = 0;
  std::string path;
  std::vector<ClampedValue> clamped;  // named on stderr once the command has succeeded

  void Warn(std::ostream& err) const {
    if (!clamped.empty()) WarnClamped(err, path, clamped);
  }
};

// Loads `path` over the defaults; on failure prints one line and returns false.
bool Load(const std::string& path, LoadedMode* mode, std::ostream& err) {
  ResetStoreDefaults(*mode->store);
  const ModeFileResult result = ReadModeFile(*mode->store, path);
  if (!result.ok) {
    ModeFileFailure(err, path, result);
    return false;
  }
  mode->version = result.version;
  mode->path = path;
  mode->clamped = result.clamped;
  return true;
}

int Show(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::string path;
  bool json = false;
  for (const std::string& arg : args) {
    if (arg == "--json") {
      json = true;
    } else if (arg.rfind("--", 0) == 0 || !path.empty()) {
      return UsageError(err, "mode show takes FILE [--json]");
    } else {
      path = arg;
    }
  }
  if (path.empty()) return UsageError(err, "mode show takes FILE [--json]");

  LoadedMode mode;
  if (!Load(path, &mode, err)) return kExitFailure;
  if (json) {
    WriteStoreJson(out, *mode.store, mode.version);
  } else {
    out << "version " << mode.version << '\n';
    for (const FieldLine& line : DescribeStore(*mode.store)) out << line.name << ' ' << line.value << '\n';
  }
  mode.Warn(err);
  return kExitOk;
}

int Diff(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() != 2) return UsageError(err, "mode diff takes A B");
  LoadedMode a;
  LoadedMode b;
  if (!Load(args[0], &a, err) || !Load(args[1], &b, err)) return kExitFailure;
  if (a.version != b.version) out << "version: " << a.version << " -> " << b.version << '\n';
  const auto linesA = DescribeStore(*a.store);
  const auto linesB = DescribeStore(*b.store);
  for (std::size_t i = 0; i < linesA.size() && i < linesB.size(); ++i) {
    if (linesA[i].raw != linesB[i].raw) {
      out << linesA[i].name << ": " << linesA[i].value << " -> " << linesB[i].value << '\n';
    }
  }
  a.Warn(err);
  b.Warn(err);
  return kExitOk;
}

int Convert(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() != 2) return UsageError(err, "mode convert takes IN OUT");
  int status = kExitFailure;
  if (!CheckOutputPath(err, args[1], &status)) return status;
  LoadedMode mode;
  if (!Load(args[0], &mode, err)) return kExitFailure;
  const ModeFileResult written = WriteModeFile(*mode.store, args[1]);
  if (!written.ok) {
    return Failure(err, "cannot write " + args[1] + ": " + std::strerror(written.errorCode));
  }
  out << "wrote " << args[1] << " (version " << kModeFileVersion << ") from " << args[0] << " (version "
      << mode.version << ")\n";
  mode.Warn(err);
  return kExitOk;
}

}  // namespace

int RunModeCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty()) return UsageError(err, "mode needs show, diff or convert");
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  if (args[0] == "show") return Show(rest, out, err);
  if (args[0] == "diff") return Diff(rest, out, err);
  if (args[0] == "convert") return Convert(rest, out, err);
  return UsageError(err, "unknown mode command '" + args[0] + "'");
}

}  // namespace vireo::cli
