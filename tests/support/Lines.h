#pragma once

#include <string>

namespace corvanta::testing {

// Space-separated items as CR LF line text; two spaces make an empty line.
inline std::string Lines(const std::string& spaced) {
    std::string text;
    for (char c : spaced)
        text += c == ' ' ? std::string("\r\n") : std::string(1, c);
    return spaced.empty() ? text : text + "\r\n";
}

}  // namespace corvanta::testing
