// The section reads on any text: the first line of the input is the section
// name, the rest the text searched. Besides not crashing, the reads must not
// depend on which line ends the text uses.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "document/SectionStore.h"

using namespace corvanta;

namespace {

std::string Joined(std::string_view text, const char* end) {
    std::string out;
    for (std::string_view line : SplitTextLines(text)) {
        out += line;
        out += end;
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    std::size_t split = input.find('\n');
    if (split == std::string_view::npos) split = input.size();
    std::string_view name = input.substr(0, split < 32 ? split : 32);
    std::string_view text = split < input.size() ? input.substr(split + 1) : std::string_view();

    std::string section = ExtractSection(name, text);
    std::string line = ExtractSectionLine(name, text);
    if (!section.empty() && section.compare(section.size() - 2, 2, "\r\n") != 0) __builtin_trap();
    if (line.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) __builtin_trap();
    for (const char* end : {"\r\n", "\n", "\r"}) {
        std::string other = Joined(text, end);
        if (ExtractSection(name, other) != section) __builtin_trap();
        if (ExtractSectionLine(name, other) != line) __builtin_trap();
    }
    return 0;
}
