// The phone page's files, compiled into the program.
#pragma once

#include <string_view>

namespace vireo::remote {

// "index.html", "app.css", "app.js"; empty for any other name.
std::string_view EmbeddedFile(std::string_view name);

}  // namespace vireo::remote
