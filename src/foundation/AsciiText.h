#pragma once

#include <string>
#include <string_view>

namespace kinetra {

// `text` with the ASCII letters A-Z made lowercase; every other byte, UTF-8 included, is kept
// as it is. For protocol words and host names, which compare without regard to ASCII case.
std::string asciiLowercase(std::string_view text);

}  // namespace kinetra
