#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace corvanta {

// Captions of the Apply checks on values that define no distribution.
inline constexpr int kCapDeviationNotNegative = 107;
inline constexpr int kCapHalfWidthNotNegative = 108;
inline constexpr int kCapMeanNotNegative = 109;
inline constexpr int kCapBinomialRange = 110;

// The GUM page, the run's choices, the exports and the report's later
// sections: one block after the Apply checks. Code names these captions
// only through this list, so the block moves by changing its first key.
inline constexpr int kFirstGumCaption = kCapBinomialRange + 1;
namespace gumcap {
enum : int {
    Tab = kFirstGumCaption,
    Title,
    Estimate,
    Share,
    DegreesShort,
    Combined,
    SecondOrder,
    Effective,
    Infinite,
    CoverageFactor,
    Expanded,
    Interval,
    Validation,
    Digits,
    Tolerance,
    Validated,
    NotValidated,
    AgreeWords,
    DisagreeWords,
    NotApplicable,
    NoRunInterval,
    Curve,
    AdaptiveStable,
    Symmetric,
    Shortest,
    ExportPdf,
    ExportValues,
    Budget,
    Correlations,
    Settings,
    Batches,
    Trials,
    Ceiling,
    Seed,
    Program,
    Date,
    NoValues,
    End
};
}  // namespace gumcap

// The correlations dialog, after the GUM block.
namespace corrcap {
enum : int { FromReadings = gumcap::End, TwoInputs, NoPairedReadings, End };
}  // namespace corrcap

// Where the GUM framework gives a figure no footing: its words in place of
// the second-order figure and of the effective degrees of freedom.
inline constexpr int kFirstGumUnavailableCaption = corrcap::End;
namespace gumunavailcap {
enum : int { SecondOrder = kFirstGumUnavailableCaption, Degrees, End };
}  // namespace gumunavailcap

// The window's everyday commands: New, Open recent, the question before
// changes are lost, pasted readings and the Help menu. A block of its own
// after the GUM block, named only through this list.
inline constexpr int kFirstWindowCaption = gumunavailcap::End;
namespace windowcap {
enum : int {
    New = kFirstWindowCaption,
    OpenRecent,
    Help,
    UserGuide,
    About,
    SaveChanges,
    Untitled,
    NoLongerThere,
    PasteRefused,
    Row,
    Column,
    PasteDoesNotFit,
    GuideMissing,
    Version,
    Licence,
    Libraries,
    End
};
}  // namespace windowcap

// The distributions of the published examples: their list items, page
// labels and Apply messages.
inline constexpr int kFirstDistributionCaption = windowcap::End;
namespace distcap {
enum : int {
    UShaped = kFirstDistributionCaption,
    Trapezoidal,
    CurvilinearTrapezoid,
    AsymmetricTriangular,
    Midpoint,
    HalfWidth,
    Ratio,
    Inexactness,
    Mode,
    Lower,
    Upper,
    HalfWidthPositive,
    RatioRange,
    InexactnessRange,
    LimitsOrder,
    MustBeRealPositive,
    End
};
}  // namespace distcap

// The report's line under the histogram.
namespace reportcap {
enum : int { HistogramRange = distcap::End, End };
}  // namespace reportcap

inline constexpr int kCaptionCount = reportcap::End;

struct CaptionEntry {
    std::string Key;   // "cap0" … "cap" + (kCaptionCount - 1)
    std::string Text;  // Windows-1252 bytes
    bool operator==(const CaptionEntry&) const = default;
};

// The built-in English texts, in key order: entry k has key "cap" + k.
const std::vector<CaptionEntry>& DefaultCaptions();

// The interface texts in force: parallel keys and texts, looked up by key,
// first match wins.
class CaptionTable {
  public:
    std::vector<CaptionEntry> Entries;

    // The table holding DefaultCaptions in key order.
    static CaptionTable BuiltIn();

    // Text of the first entry with this key; the built-in text when the table
    // lacks the key, "" for a key that is not in the catalogue.
    const std::string& Lookup(std::string_view key) const;
    // Text of key "cap" + number.
    const std::string& Cap(int number) const;
};

// The texts of the GUM page, the run's choices, the exports and the
// report's later sections, as the table in force gives them.
struct GumTexts {
    std::string Tab, Title, Estimate, Share, DegreesShort, Combined, SecondOrder, Effective,
        Infinite, CoverageFactor, Expanded, Interval, Validation, Digits, Tolerance, Validated,
        NotValidated, AgreeWords, DisagreeWords, NotApplicable, NoRunInterval, Curve,
        AdaptiveStable, Symmetric, Shortest, ExportPdf, ExportValues, Budget, Correlations,
        Settings, Batches, Trials, Ceiling, Seed, Program, Date, NoValues;
    std::string SecondOrderUnavailable, DegreesUnavailable, HistogramRange;
};

// The texts of the window's everyday commands, as the table in force gives
// them.
struct WindowTexts {
    std::string New, OpenRecent, Help, UserGuide, About, SaveChanges, Untitled, NoLongerThere,
        PasteRefused, Row, Column, PasteDoesNotFit, GuideMissing, Version, Licence, Libraries;
};

// The message texts formed from the table at each load and read by the
// routines that show them.
struct MessageTexts {
    std::string NormalChoice;            // cap61: coverage choices
    std::string Indetermined;            // cap38
    std::string IncompatibleParameter;   // cap63
    std::string IncompleteInit;          // cap16
    std::string HeaderParameter;         // cap62: parameter table column 0
    std::string HeaderUnits;             // cap78: column 1
    std::string HeaderDescription;       // cap17: column 2
    std::string ConfidenceInterval;      // cap45
    std::string ModelUpdated;            // cap48
    std::string GumFormat;               // cap30
    std::string NotReal;                 // cap57
    std::string ABMustBeReal;            // cap5
    std::string DegreesMustBeInteger;    // cap33 + " " + cap34
    std::string NotInteger;              // cap56
    std::string ErrorNP;                 // cap22 + ". " + cap25
    std::string ErrorK;                  // cap22 + ". " + cap24
    std::string ErrorForm;               // cap22 + ". " + cap23
    std::string ErrorDeviation;          // cap22 + ". " + kCapDeviationNotNegative
    std::string ErrorHalfWidth;          // cap22 + ". " + kCapHalfWidthNotNegative
    std::string ErrorMean;               // cap22 + ". " + kCapMeanNotNegative
    std::string ErrorBinomial;           // cap22 + ". " + kCapBinomialRange
    std::string ValuesNotEntered;        // cap59
    std::string NormalityTest;           // cap75
    std::string Wait;                    // cap26 + "..."
    std::string TheFile;                 // cap21
    std::string AlreadyExistsOverwrite;  // cap1 + ". " + cap2
    std::string SaveModel;               // cap4
    std::string DoesNotFit;              // cap53
    std::string Fits;                    // cap14
    std::string AssignDistribution;      // cap104
    std::string UndefinedOutput;         // cap105
    std::string TooManyOutputs;          // cap106
    std::string ErrorHalfWidthPositive;  // cap22 + ". " + distcap::HalfWidthPositive
    std::string ErrorRatio;              // cap22 + ". " + distcap::RatioRange
    std::string ErrorInexactness;        // cap22 + ". " + distcap::InexactnessRange
    std::string ErrorLimits;             // cap22 + ". " + distcap::LimitsOrder
    std::string DegreesMustBeReal;       // cap33 + " " + distcap::MustBeRealPositive
    GumTexts Gum;
    std::string FromReadings;      // corrcap::FromReadings
    std::string TwoInputs;         // corrcap::TwoInputs
    std::string NoPairedReadings;  // corrcap::NoPairedReadings
    WindowTexts Window;
};

MessageTexts FormMessageTexts(const CaptionTable& table);

}  // namespace corvanta
