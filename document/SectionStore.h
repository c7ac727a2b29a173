#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Reads of a text of tagged sections: a section `name` is opened by a line
// that is exactly "%name%" and closed by a line that is exactly "%/name%".
// Nothing is kept between calls.
namespace corvanta {

// The lines of a text. CR LF, a lone CR and a lone LF each end a line; a last
// line without a line end still counts, a final line end adds no empty line,
// and an empty text has no lines. A NUL ends the text: nothing after it is
// seen. The views point into `text`.
std::vector<std::string_view> SplitTextLines(std::string_view text);

// The text of these lines, each followed by CR LF.
std::string JoinLines(const std::vector<std::string_view>& lines, std::size_t first,
                      std::size_t last);

// The same text with every line end written as CR LF (and nothing after a
// NUL).
std::string NormalizeLineEnds(std::string_view text);

// "%" + name + "%" and "%/" + name + "%".
std::string OpeningTag(std::string_view name);
std::string ClosingTag(std::string_view name);

// Index of the first line in [from, to) equal to `line`, or `to`.
std::size_t FindLine(const std::vector<std::string_view>& lines, std::string_view line,
                     std::size_t from, std::size_t to);

// The lines strictly between the first opening tag of `name` and the first
// closing tag after it (or the end of the text when it has none), each
// followed by CR LF. "" when no line lies between, and also when the text
// has no opening tag of `name`.
std::string ExtractSection(std::string_view name, std::string_view text);

// The line after the first opening tag of `name`, without its line end,
// whatever it holds (the closing tag is not consulted). "" when the text has
// no opening tag of `name` or that tag is its last line.
std::string ExtractSectionLine(std::string_view name, std::string_view text);

}  // namespace corvanta
