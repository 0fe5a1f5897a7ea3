// `vireo-cli eq`: show, set, reset, copy, bypass, import and export of the fifteen equalisers.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli.h"
#include "model/parameter_store.h"

namespace vireo::cli {

// An equaliser identity 0..14 as a whole number.
bool ParseEqIdentity(const std::string& text, int* id);
// "BAND TYPE GAIN FREQ Q" of band `band` of equaliser `id` (which must exist), as `eq show` prints it.
std::string EqBandLine(const ParameterStore& store, int id, int band);

// `args` follows "eq". `eq show ID --file FILE` and `eq fit` without --apply work offline; everything else
// talks to the machine (`eq curve` too, unless given --file).
// Same exit statuses as RunCli.
int RunEqCommand(const GlobalOptions& options, const std::vector<std::string>& args, std::ostream& out,
                 std::ostream& err);

}  // namespace vireo::cli
