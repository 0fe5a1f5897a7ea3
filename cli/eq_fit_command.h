// `vireo-cli eq fit` and `eq curve`: an equaliser against a measurement, fitted to a target or exported.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli.h"

namespace vireo::cli {

// `args` follows "eq" and begins with "fit". Without --apply nothing is sent and no machine is needed.
int RunEqFit(const GlobalOptions& options, const std::vector<std::string>& args, std::ostream& out,
             std::ostream& err);

// `args` follows "eq" and begins with "curve": CSV and / or SVG, with the measurement's columns when one is
// given.
int RunEqCurve(const GlobalOptions& options, const std::vector<std::string>& args, std::ostream& out,
               std::ostream& err);

}  // namespace vireo::cli
