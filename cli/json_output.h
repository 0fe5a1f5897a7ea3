// JSON output of vireo-cli: member order kept, numbers exact, short containers on one line.
#pragma once

#include <ostream>

#include <nlohmann/json.hpp>

namespace vireo::cli {

using Json = nlohmann::ordered_json;

// Null when not finite (JSON has no NaN or infinity); a whole number as an integer, without ".0";
// else the double itself. -0 stays a double so that its sign survives.
Json JsonNumber(double value);

// Indented by two spaces, with every container that holds no container on one line, then a line
// break. Invalid UTF-8 is written as U+FFFD instead of throwing.
void WriteJson(std::ostream& out, const Json& value);

}  // namespace vireo::cli
