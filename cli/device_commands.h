// The commands that talk to the machine (or its emulator): info, backup, restore, get, set.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli.h"
#include "model/parameter_store.h"

namespace vireo::cli {

// `args` starts with the command name. Same exit statuses as RunCli.
int RunDeviceCommand(const GlobalOptions& options, const std::vector<std::string>& args, std::ostream& out,
                     std::ostream& err);

// What `get NAME` prints for the store: a field by its name (an element as NAME[i], every element of an
// indexed field as "NAME[i] value" lines), the identity and flags, the small tables by byte, and the two
// values that `set` edits without a slot (micBoostLevel in dB, musicLowFrequency in Hz). False when no
// field has that name.
bool FieldText(const ParameterStore& store, const std::string& arg, std::string* text);

}  // namespace vireo::cli
