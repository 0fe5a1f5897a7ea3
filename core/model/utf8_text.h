// UTF-8 text of the store's wide strings (mode names, identity, plug names), for files, JSON and terminals.
#pragma once

#include <string>
#include <string_view>

namespace vireo {

// A lone surrogate (the machine's bytes are not checked) becomes U+FFFD.
std::string Utf8(std::u16string_view text);

}  // namespace vireo
