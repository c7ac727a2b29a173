#include "document/SectionStore.h"

namespace corvanta {

std::vector<std::string_view> SplitTextLines(std::string_view text) {
    std::size_t end = text.find('\0');
    if (end != std::string_view::npos) text = text.substr(0, end);
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(text.substr(start, i - start));
            i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

std::string JoinLines(const std::vector<std::string_view>& lines, std::size_t first,
                      std::size_t last) {
    std::string result;
    for (std::size_t i = first; i < last && i < lines.size(); ++i) {
        result += lines[i];
        result += "\r\n";
    }
    return result;
}

std::string NormalizeLineEnds(std::string_view text) {
    std::vector<std::string_view> lines = SplitTextLines(text);
    return JoinLines(lines, 0, lines.size());
}

std::string OpeningTag(std::string_view name) {
    std::string tag = "%";
    tag += name;
    tag += '%';
    return tag;
}

std::string ClosingTag(std::string_view name) {
    std::string tag = "%/";
    tag += name;
    tag += '%';
    return tag;
}

std::size_t FindLine(const std::vector<std::string_view>& lines, std::string_view line,
                     std::size_t from, std::size_t to) {
    if (to > lines.size()) to = lines.size();
    for (std::size_t i = from; i < to; ++i) {
        if (lines[i] == line) return i;
    }
    return to;
}

std::string ExtractSection(std::string_view name, std::string_view text) {
    std::vector<std::string_view> lines = SplitTextLines(text);
    std::size_t open = FindLine(lines, OpeningTag(name), 0, lines.size());
    if (open == lines.size()) return {};
    std::size_t close = FindLine(lines, ClosingTag(name), open + 1, lines.size());
    return JoinLines(lines, open + 1, close);
}

std::string ExtractSectionLine(std::string_view name, std::string_view text) {
    std::vector<std::string_view> lines = SplitTextLines(text);
    std::size_t open = FindLine(lines, OpeningTag(name), 0, lines.size());
    if (open + 1 >= lines.size()) return {};
    return std::string(lines[open + 1]);
}

}  // namespace corvanta
