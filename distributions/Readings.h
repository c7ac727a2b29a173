#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "captions/Captions.h"
#include "captions/UserDialogs.h"
#include "distributions/ModelParameter.h"

// Experimental quantities: the table of repeated readings kept in
// ModelParameter::Lecturas, its reduction to a mean, a standard uncertainty
// and degrees of freedom, and the Apply rule of the Experimental page.
namespace corvanta {

// How each observation is obtained: read directly (X), or derived from
// readings X of the quantity and readings S of a reference standard.
enum class ReadingMode {
    Directa,        // X
    IndirectaSX,    // X - S
    IndirectaSXXS,  // ((Xa + Xb) / 2) - ((Sa + Sb) / 2)
    IndirectaXS,    // X / S
    IndirectaSXS,   // X - (Sa + Sb) / 2
};

inline constexpr int kReadingModeCount = 5;

// The keyword that heads a table of this mode: "Directa", "SX", "SXXS",
// "X/S" or "SXS".
const char* ReadingModeKeyword(ReadingMode mode);
// The mode whose keyword this is exactly, if any.
std::optional<ReadingMode> ReadingModeFromKeyword(std::string_view keyword);

// The hint of a mode button: the caption "Value" followed by the formula by
// which the observation is formed, so that what the user reads is what the
// reduction computes. "" for Directa, which has no hint.
std::string ReadingModeHint(ReadingMode mode, std::string_view valueCaption);

// What a value column of the observations grid holds.
enum class ReadingColumn {
    Standard,  // a reading of the reference standard (header "Patrón")
    Quantity,  // a reading of the quantity (header: the quantity's name)
};

// The value columns of the grid for a mode, left to right; the grid's
// column 0 holds the row number and is not listed.
const std::vector<ReadingColumn>& ReadingColumns(ReadingMode mode);

// The header text of the reference standard's columns.
inline constexpr const char* kStandardColumnHeader = "Patr\xF3n";

// One table: the keyword line and one row of cells per observation. An empty
// cell is held as "" and written as "&".
struct ReadingsTable {
    std::string Keyword;
    std::vector<std::vector<std::string>> Rows;
    bool operator==(const ReadingsTable&) const = default;
};

// Reads a table text. Rows end with CR LF (a lone LF is taken as well); a
// lone CR separates the cells of a row, and runs of blanks separate them
// too. Empty lines at the end are not rows: older model files appended one
// at every save. "" gives an empty keyword and no rows.
ReadingsTable ParseReadings(std::string_view text);

// The table text: the keyword and every row, each line ended by CR LF, cells
// joined by CR, empty cells as "&". A table with neither keyword nor rows
// gives "".
std::string ComposeReadings(const ReadingsTable& table);

// The text the observations dialog's Ok writes from its grid: the keyword of
// the mode, then the value cells of every row.
std::string ComposeReadings(ReadingMode mode, const std::vector<std::vector<std::string>>& cells);

// The value cells the observations dialog shows on opening with rowCount
// rows: the cells of the stored table when it holds at least two rows and
// was written in this mode, empty cells otherwise. Always rowCount rows of
// ReadingColumns(mode).size() cells.
std::vector<std::vector<std::string>> PrefillReadings(std::string_view text, ReadingMode mode,
                                                      int rowCount);

// The most observations a table holds (the count of the Experimental page).
inline constexpr int kMostReadings = 999;

// Whether a cell of the observations grid may hold this text: empty, or a
// number as the number text module reads it (point as the decimal mark).
bool ReadingCellAccepted(std::string_view text);

// The cells of text copied from a spreadsheet: rows at line ends (CR LF, LF
// or CR), cells at tabs when the text holds one, else at semicolons when it
// holds one, else at runs of blanks; blanks around a cell are dropped. A
// line end at the very end closes the last row.
std::vector<std::vector<std::string>> SplitPastedCells(std::string_view text);

// The value cells of the observations grid after pasting text with its top
// left cell at (row, column), both counted from 0 over the value cells:
// pasted cells replace those they fall on and rows of empty cells are added
// as needed. Every pasted cell must be accepted as a typed one. Otherwise
// nothing, after an error naming the first cell refused, with the table's row
// and value column counted from 1 ("Nothing was pasted: row 3, column 2: abc
// is not a Real number"), or saying that the paste is wider than the table
// from that cell or longer than kMostReadings rows. columnCount is the
// number of value columns of the grid.
std::optional<std::vector<std::vector<std::string>>> PasteReadings(
    const std::vector<std::vector<std::string>>& cells, int columnCount, int row, int column,
    std::string_view text, const MessageTexts& texts, UserDialogs& dialogs);

// The observation that one row yields, from its values in column order.
// Throws CalcError(DivisionByZero) for X / S with S = 0 and
// CalcError(Overflow) for a result beyond the double range.
double ObservationValue(ReadingMode mode, const std::vector<double>& row);

// The reduction of N >= 2 observations.
struct ReadingsReduction {
    double Mean = 0;  // arithmetic mean
    double S = 0;     // sample standard deviation, divisor N - 1
    double U = 0;     // standard uncertainty of the mean, S / sqrt(N)
    int Nu = 0;       // degrees of freedom, N - 1
};

// Throws CalcError(InvalidOperation) for fewer than two observations and
// CalcError(Overflow) when a result leaves the double range.
ReadingsReduction ReduceReadings(const std::vector<double>& observations);

// Two-sided critical value of Student's t distribution with nu degrees of
// freedom for the coverage p, given as a percentage (68.27, 90, 95, 95.45,
// 99, 99.73) or as the probability outside (0.3173, 0.1, 0.05, 0.0455, 0.01,
// 0.0027). Tabulated in single precision for nu = 1 … 50, 100, 1000 and
// 10000, linear in nu between rows and constant from 10000 on. Throws
// CalcError(InvalidOperation) for another p or for nu < 1.
long double StudentCritical(double p, int nu);

// What the Experimental page holds when Apply is pressed.
struct ExperimentalEntry {
    ReadingMode Mode = ReadingMode::Directa;  // the mode button selected
    std::string Table;                        // the hidden observation text
    bool Student = false;                     // "t (Student)" chosen for the simulation
};

// The Experimental Apply rule. Returns the record as it is to be stored, or
// nothing after telling the user why (through dialogs) when the table is
// empty, incomplete, not written in the selected mode, holds a cell that is
// not a number, has a single reading, or gives values beyond the double
// range. Fields the kind does not use keep their text.
std::optional<ModelParameter> ApplyExperimental(const ExperimentalEntry& entry,
                                                const ModelParameter& current,
                                                const MessageTexts& texts, UserDialogs& dialogs);

// The correlation coefficient of the means of two Experimental quantities
// whose readings were taken together: both entered directly with the same
// number n >= 2 of readings, every cell a number. It is the sample
// correlation of the paired readings, s(q, r) / (s(q) s(r)), which is also
// that of the two means. Nothing for any other pair, or when either set of
// readings has no spread.
std::optional<double> ReadingsCorrelation(const ModelParameter& first,
                                          const ModelParameter& second);

}  // namespace corvanta
