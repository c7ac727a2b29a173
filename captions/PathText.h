#pragma once

#include <string>
#include <string_view>

namespace corvanta {

// A file path as the interface's texts show it. File names are UTF-8 bytes
// on this system while texts are Windows-1252: every UTF-8 character that
// code page holds becomes its byte, any other one '?'. A path that is not
// UTF-8 is shown byte for byte.
std::string PathText(std::string_view path);

}  // namespace corvanta
