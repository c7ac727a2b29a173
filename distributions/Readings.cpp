#include "distributions/Readings.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/Faults.h"
#include "engine/NumberText.h"

namespace corvanta {

namespace {

constexpr const char* kKeywords[kReadingModeCount] = {"Directa", "SX", "SXXS", "X/S", "SXS"};

// The names of the mode buttons, for messages that have no caption.
constexpr const char* kModeNames[kReadingModeCount] = {"Direct", "Indirect SX", "Indirect SXXS",
                                                       "Indirect X/S", "Indirect SXS"};

constexpr const char* kEmptyCellMark = "&";

int ModeIndex(ReadingMode mode) {
    return static_cast<int>(mode);
}

// Splits a text into lines at CR LF and at a lone LF. A lone CR stays inside
// its line: it separates cells.
std::vector<std::string_view> SplitTableLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            std::size_t end = i > start && text[i - 1] == '\r' ? i - 1 : i;
            lines.push_back(text.substr(start, end - start));
            start = i + 1;
        }
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

// The cells of one row: pieces between CRs, each split again at runs of
// blanks. A piece with nothing but blanks is one empty cell, so that a
// missing value keeps its place.
std::vector<std::string> SplitRowCells(std::string_view line) {
    std::vector<std::string> cells;
    std::size_t pieceStart = 0;
    while (true) {
        std::size_t pieceEnd = line.find('\r', pieceStart);
        std::string_view piece =
            line.substr(pieceStart, pieceEnd == std::string_view::npos ? std::string_view::npos
                                                                       : pieceEnd - pieceStart);
        bool any = false;
        std::size_t i = 0;
        while (i < piece.size()) {
            if (piece[i] == ' ') {
                ++i;
                continue;
            }
            std::size_t j = piece.find(' ', i);
            if (j == std::string_view::npos) j = piece.size();
            std::string_view field = piece.substr(i, j - i);
            cells.emplace_back(field == kEmptyCellMark ? std::string_view() : field);
            any = true;
            i = j;
        }
        if (!any) cells.emplace_back();
        if (pieceEnd == std::string_view::npos) break;
        pieceStart = pieceEnd + 1;
    }
    return cells;
}

std::string RowLine(const std::vector<std::string>& cells) {
    std::string line;
    for (std::size_t c = 0; c < cells.size(); ++c) {
        if (c > 0) line += '\r';
        line += cells[c].empty() ? std::string(kEmptyCellMark) : cells[c];
    }
    return line + "\r\n";
}

double CheckedDouble(long double value) {
    if (!std::isfinite(value) || std::fabs(value) > std::numeric_limits<double>::max())
        ThrowOverflow();
    return static_cast<double>(value);
}

// A refusal: nothing is stored, and the user learns why.
std::optional<ModelParameter> RefuseWithError(UserDialogs& dialogs, const std::string& text) {
    dialogs.ShowError(text);
    return std::nullopt;
}

}  // namespace

const char* ReadingModeKeyword(ReadingMode mode) {
    return kKeywords[ModeIndex(mode)];
}

std::optional<ReadingMode> ReadingModeFromKeyword(std::string_view keyword) {
    for (int m = 0; m < kReadingModeCount; ++m)
        if (keyword == kKeywords[m]) return static_cast<ReadingMode>(m);
    return std::nullopt;
}

std::string ReadingModeHint(ReadingMode mode, std::string_view valueCaption) {
    static const char* const formulas[kReadingModeCount] = {
        nullptr, " = X - S", " = ( ( Xa + Xb ) / 2 ) - ( ( Sa + Sb ) / 2 )", " = X / S",
        " = valor = X - ( ( Sa + Sb ) / 2 )"};
    const char* formula = formulas[ModeIndex(mode)];
    return formula ? std::string(valueCaption) + formula : std::string();
}

const std::vector<ReadingColumn>& ReadingColumns(ReadingMode mode) {
    using enum ReadingColumn;
    static const std::vector<ReadingColumn> columns[kReadingModeCount] = {
        {Quantity},
        {Standard, Quantity},
        {Standard, Quantity, Quantity, Standard},
        {Standard, Quantity},
        {Standard, Quantity, Standard},
    };
    return columns[ModeIndex(mode)];
}

ReadingsTable ParseReadings(std::string_view text) {
    ReadingsTable table;
    std::vector<std::string_view> lines = SplitTableLines(text);
    while (lines.size() > 1 && lines.back().empty())
        lines.pop_back();
    if (lines.empty()) return table;
    table.Keyword = std::string(lines[0]);
    for (std::size_t r = 1; r < lines.size(); ++r)
        table.Rows.push_back(SplitRowCells(lines[r]));
    return table;
}

std::string ComposeReadings(const ReadingsTable& table) {
    if (table.Keyword.empty() && table.Rows.empty()) return "";
    std::string text = table.Keyword + "\r\n";
    for (const auto& row : table.Rows)
        text += RowLine(row);
    return text;
}

std::string ComposeReadings(ReadingMode mode, const std::vector<std::vector<std::string>>& cells) {
    return ComposeReadings(ReadingsTable{ReadingModeKeyword(mode), cells});
}

std::vector<std::vector<std::string>> PrefillReadings(std::string_view text, ReadingMode mode,
                                                      int rowCount) {
    const std::size_t columns = ReadingColumns(mode).size();
    std::vector<std::vector<std::string>> cells(rowCount > 0 ? rowCount : 0,
                                                std::vector<std::string>(columns));
    ReadingsTable table = ParseReadings(text);
    // A table written in another mode would put standard readings under the
    // quantity's header: the grid starts empty instead.
    if (table.Rows.size() < 2 || table.Keyword != ReadingModeKeyword(mode)) return cells;
    for (std::size_t r = 0; r < cells.size() && r < table.Rows.size(); ++r)
        for (std::size_t c = 0; c < columns && c < table.Rows[r].size(); ++c)
            cells[r][c] = table.Rows[r][c];
    return cells;
}

double ObservationValue(ReadingMode mode, const std::vector<double>& row) {
    const auto v = [&row](std::size_t i) { return static_cast<long double>(row.at(i)); };
    long double value = 0;
    switch (mode) {
        case ReadingMode::Directa:
            value = v(0);
            break;
        case ReadingMode::IndirectaSX:
            value = v(1) - v(0);
            break;
        case ReadingMode::IndirectaSXXS:
            // The difference of the two averages, as the mode's hint tells
            // the user: the quantity's readings Xa, Xb against the standard's
            // readings Sa before and Sb after them.
            value = (v(1) + v(2)) / 2 - (v(0) + v(3)) / 2;
            break;
        case ReadingMode::IndirectaXS:
            if (v(0) == 0) ThrowDivisionByZero();
            value = v(1) / v(0);
            break;
        case ReadingMode::IndirectaSXS:
            value = v(1) - (v(0) + v(2)) / 2;
            break;
    }
    return CheckedDouble(value);
}

ReadingsReduction ReduceReadings(const std::vector<double>& observations) {
    const std::size_t n = observations.size();
    if (n < 2) ThrowInvalidOperation();
    long double sum = 0;
    for (double x : observations)
        sum += x;
    ReadingsReduction r;
    r.Mean = CheckedDouble(sum / n);
    long double squares = 0;
    for (double x : observations) {
        long double d = x - static_cast<long double>(r.Mean);
        squares += d * d;
    }
    r.S = CheckedDouble(std::sqrt(squares / (n - 1)));
    r.U = CheckedDouble(r.S / std::sqrt(static_cast<long double>(n)));
    r.Nu = static_cast<int>(n - 1);
    return r;
}

std::optional<ModelParameter> ApplyExperimental(const ExperimentalEntry& entry,
                                                const ModelParameter& current,
                                                const MessageTexts& texts, UserDialogs& dialogs) {
    const ReadingsTable table = ParseReadings(entry.Table);
    if (table.Rows.empty()) {
        dialogs.ShowInformation(texts.ValuesNotEntered);
        return std::nullopt;
    }

    const char* selectedName = kModeNames[ModeIndex(entry.Mode)];
    if (table.Keyword != ReadingModeKeyword(entry.Mode)) {
        std::optional<ReadingMode> written = ReadingModeFromKeyword(table.Keyword);
        if (!written)
            return RefuseWithError(dialogs,
                                   "The readings table is not valid: its first line names no "
                                   "mode of entry. Enter the readings again.");
        return RefuseWithError(dialogs, std::string("The readings were entered in the mode ") +
                                            kModeNames[ModeIndex(*written)] +
                                            ", not in the mode selected (" + selectedName +
                                            "). Select that mode, or enter the readings again.");
    }

    const std::size_t columns = ReadingColumns(entry.Mode).size();
    for (std::size_t r = 0; r < table.Rows.size(); ++r) {
        if (table.Rows[r].size() != columns)
            return RefuseWithError(dialogs,
                                   "Row " + IntegerText(static_cast<long long>(r + 1)) +
                                       " of the readings table holds " +
                                       IntegerText(static_cast<long long>(table.Rows[r].size())) +
                                       " values where the mode " + selectedName + " needs " +
                                       IntegerText(static_cast<long long>(columns)) +
                                       ". Enter the readings again.");
    }
    for (std::size_t r = 0; r < table.Rows.size(); ++r) {
        for (const std::string& cell : table.Rows[r]) {
            if (cell.empty()) {
                dialogs.ShowInformation("The readings table is incomplete: row " +
                                        IntegerText(static_cast<long long>(r + 1)) +
                                        " has an empty cell. The distribution has not been "
                                        "assigned; complete the table and apply it again.");
                return std::nullopt;
            }
        }
    }

    std::vector<double> observations;
    try {
        for (const auto& row : table.Rows) {
            std::vector<double> values;
            for (const std::string& cell : row) {
                long double value = 0;
                if (!TryParseFloat(cell, value))
                    return RefuseWithError(dialogs, cell + " " + texts.NotReal);
                values.push_back(CheckedDouble(value));
            }
            observations.push_back(ObservationValue(entry.Mode, values));
        }
        if (observations.size() < 2)
            return RefuseWithError(dialogs,
                                   "A single reading gives no estimate of the spread: enter at "
                                   "least two readings. The distribution has not been assigned.");

        const ReadingsReduction reduction = ReduceReadings(observations);
        ModelParameter stored = current;
        stored.Distrib = static_cast<std::int32_t>(DistributionKind::Experimental);
        stored.Init = true;
        stored.Lecturas = entry.Table;
        stored.Grados = IntegerText(reduction.Nu);
        stored.Valor = FormatGeneral(reduction.Mean);
        if (entry.Student) {
            stored.b = "Student";
            stored.a = FormatGeneral(reduction.U);
        } else {
            // A normal distribution with the same 95 % half-width as Student's
            // t with nu degrees of freedom.
            stored.b = "Normal";
            stored.a = FormatGeneral(
                CheckedDouble(StudentCritical(0.05, reduction.Nu) * reduction.U / 1.96L));
        }
        return stored;
    } catch (const CalcError& fault) {
        return RefuseWithError(dialogs, fault.what());
    }
}

namespace {

// The directly read values of an Experimental record, or nothing.
std::optional<std::vector<long double>> DirectReadings(const ModelParameter& p) {
    if (p.Kind() != DistributionKind::Experimental || !p.Init) return std::nullopt;
    const ReadingsTable table = ParseReadings(p.Lecturas);
    if (table.Keyword != ReadingModeKeyword(ReadingMode::Directa)) return std::nullopt;
    std::vector<long double> values;
    for (const auto& row : table.Rows) {
        long double value = 0;
        if (row.size() != 1 || !TryParseFloat(row[0], value) || !std::isfinite(value))
            return std::nullopt;
        values.push_back(value);
    }
    return values;
}

}  // namespace

std::optional<double> ReadingsCorrelation(const ModelParameter& first,
                                          const ModelParameter& second) {
    const auto q = DirectReadings(first);
    const auto r = DirectReadings(second);
    if (!q || !r || q->size() != r->size() || q->size() < 2) return std::nullopt;
    const long double n = static_cast<long double>(q->size());
    long double meanQ = 0, meanR = 0;
    for (std::size_t k = 0; k < q->size(); ++k) {
        meanQ += (*q)[k];
        meanR += (*r)[k];
    }
    meanQ /= n;
    meanR /= n;
    long double sqq = 0, srr = 0, sqr = 0;
    for (std::size_t k = 0; k < q->size(); ++k) {
        const long double dq = (*q)[k] - meanQ, dr = (*r)[k] - meanR;
        sqq += dq * dq;
        srr += dr * dr;
        sqr += dq * dr;
    }
    if (!(sqq > 0 && srr > 0) || !std::isfinite(sqq * srr)) return std::nullopt;
    // Rounding can carry a perfectly linear pair a hair beyond 1.
    return static_cast<double>(std::clamp<long double>(sqr / std::sqrt(sqq * srr), -1, 1));
}

bool ReadingCellAccepted(std::string_view text) {
    long double value = 0;
    return text.empty() || TryParseFloat(text, value);
}

namespace {

std::string_view TrimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

std::vector<std::vector<std::string>> SplitPastedCells(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    // Blank lines after the selection are no readings.
    while (!lines.empty() && TrimBlanks(lines.back()).empty())
        lines.pop_back();

    const char separator = text.find('\t') != std::string_view::npos  ? '\t'
                           : text.find(';') != std::string_view::npos ? ';'
                                                                      : ' ';
    std::vector<std::vector<std::string>> rows;
    for (std::string_view line : lines) {
        std::vector<std::string> cells;
        if (separator == ' ') {
            // Runs of blanks are one separator: columns aligned by hand.
            std::size_t at = 0;
            while ((at = line.find_first_not_of(' ', at)) != std::string_view::npos) {
                const std::size_t end = std::min(line.find(' ', at), line.size());
                cells.emplace_back(line.substr(at, end - at));
                at = end;
            }
        } else {
            // Each separator counts: an empty spreadsheet cell stays a cell.
            std::size_t at = 0;
            for (;;) {
                const std::size_t end = line.find(separator, at);
                cells.emplace_back(TrimBlanks(line.substr(at, end - at)));
                if (end == std::string_view::npos) break;
                at = end + 1;
            }
        }
        rows.push_back(std::move(cells));
    }
    return rows;
}

std::optional<std::vector<std::vector<std::string>>> PasteReadings(
    const std::vector<std::vector<std::string>>& cells, int columnCount, int row, int column,
    std::string_view text, const MessageTexts& texts, UserDialogs& dialogs) {
    const auto pasted = SplitPastedCells(text);
    const std::string refused = texts.Window.PasteRefused + ": ";
    std::size_t widest = 0;
    for (const auto& line : pasted)
        widest = std::max(widest, line.size());
    if (row < 0 || column < 0 || column + int(widest) > columnCount ||
        row + int(pasted.size()) > kMostReadings) {
        dialogs.ShowError(refused + texts.Window.PasteDoesNotFit);
        return std::nullopt;
    }
    for (std::size_t r = 0; r < pasted.size(); ++r) {
        for (std::size_t c = 0; c < pasted[r].size(); ++c) {
            if (ReadingCellAccepted(pasted[r][c])) continue;
            dialogs.ShowError(refused + texts.Window.Row + " " + std::to_string(row + int(r) + 1) +
                              ", " + texts.Window.Column + " " +
                              std::to_string(column + int(c) + 1) + ": " + pasted[r][c] + " " +
                              texts.NotReal);
            return std::nullopt;
        }
    }
    std::vector<std::vector<std::string>> result = cells;
    const std::size_t rowsNeeded = std::size_t(row) + pasted.size();
    if (result.size() < rowsNeeded)
        result.resize(rowsNeeded, std::vector<std::string>(std::size_t(columnCount)));
    for (std::size_t r = 0; r < pasted.size(); ++r)
        for (std::size_t c = 0; c < pasted[r].size(); ++c)
            result[std::size_t(row) + r][std::size_t(column) + c] = pasted[r][c];
    return result;
}

}  // namespace corvanta
