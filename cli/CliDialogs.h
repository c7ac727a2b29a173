#pragma once

#include <cstdint>
#include <string>

#include "captions/StreamDialogs.h"
#include "engine/Equations.h"

namespace corvanta::cli {

// What the tool says about an equation that was rejected without a message
// of its own.
inline std::string SilentRejectionText(std::int32_t errorCode) {
    if (errorCode == kIllegalCharacterCode)
        return "the equation holds a character that is not allowed (allowed are letters, digits, "
               "the point, the comma, blanks and + - * / ^ ( ) [ ] { } =)";
    return "the equation is not valid (a letter right after a number or after a \")\")";
}

}  // namespace corvanta::cli
