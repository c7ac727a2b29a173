#pragma once

#include <string_view>
#include <vector>

namespace corvanta {

// The lines of a text as views into it. CR LF, LF and CR each end a line; a
// line end at the very end of the text does not start another line.
inline std::vector<std::string_view> SplitLineViews(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    const std::size_t n = text.size();
    while (start < n) {
        std::size_t end = start;
        while (end < n && text[end] != '\r' && text[end] != '\n')
            ++end;
        lines.push_back(text.substr(start, end - start));
        if (end < n && text[end] == '\r' && end + 1 < n && text[end + 1] == '\n') ++end;
        start = end + 1;
    }
    return lines;
}

}  // namespace corvanta
