#include "captions/Captions.h"

namespace corvanta {

const std::vector<CaptionEntry>& DefaultCaptions() {
    static const std::vector<CaptionEntry> captions = {
        {"cap0", "Integer"},
        {"cap1", "already exists"},
        {"cap2", "Do you want to overwrite with updated model?"},
        {"cap3", "Stop"},
        {"cap4", "Save model?"},
        {"cap5", "a and b must be real numbers"},
        {"cap6", "Real number"},
        {"cap7", "Update parameters"},
        {"cap8", "Apply"},
        {"cap9", "Component"},
        {"cap10", "Constant"},
        {"cap11", "Continue"},
        {"cap12", "Relative contribution"},
        {"cap13", "Uncertainty Contributors"},
        {"cap14", "fit"},
        {"cap15", "Technical description"},
        {"cap16", "Cannot run the simulation. Incomplete initialization of parameters"},
        {"cap17", "Description"},
        {"cap18", "Standard Deviation"},
        {"cap19", "Direct"},
        {"cap20", "Distribution of simulation"},
        {"cap21", "The file"},
        {"cap22", "Error of parameters."},
        {"cap23", "Form must be real > 0"},
        {"cap24", "k must be real and take values between 0 and 10"},
        {"cap25", "n must be real > 0 and p must take values between 0 and 1"},
        {"cap26", "wait"},
        {"cap27", "Experimental"},
        {"cap28", "Exponential"},
        {"cap29", "Form"},
        {"cap30", "GUM format"},
        {"cap31", "General"},
        {"cap32", "Deg. of freedom"},
        {"cap33", "Degrees of freedom"},
        {"cap34", "must be integer > 0"},
        {"cap35", "Histogram"},
        {"cap36", "Uncert."},
        {"cap37", "Uncertainties"},
        {"cap38", "Indetermined"},
        {"cap39", "Indirect"},
        {"cap40", "Input mathematical model of the trial or the set of equations to simulate."},
        {"cap41", "Start Simulation"},
        {"cap42", "Start"},
        {"cap43", "Insert function"},
        {"cap44", "Interim"},
        {"cap45", "Confidence interval"},
        {"cap46", "Iterations"},
        {"cap47", "Real number"},
        {"cap48", "Model has been updated. Want to update parameters?"},
        {"cap49", "Then, click on \"Update parameters\"."},
        {"cap50", "Mean"},
        {"cap51", "optional"},
        {"cap52", "Model"},
        {"cap53", "doesn't fit"},
        {"cap54", "Iteration number"},
        {"cap55", "Number of readings"},
        {"cap56", "is not an Integer"},
        {"cap57", "is not a Real number"},
        {"cap58", "Not available in this version"},
        {"cap59",
         "Values have not been entered therefore probability distribution will no be assigned"},
        {"cap60", "Parameters are not required"},
        {"cap61", "Normal"},
        {"cap62", "Parameter"},
        {"cap63", "Incompatible parameter"},
        {"cap64", "Probability"},
        {"cap65", "Range"},
        {"cap66", "Rectangular"},
        {"cap67", "Restrictions"},
        {"cap68", "Result"},
        {"cap69", "Interim result"},
        {"cap70", "Results"},
        {"cap71", "half-width of the interval"},
        {"cap72", "Equations group"},
        {"cap73", "Simulation"},
        {"cap74", "Unassigned probability distribution"},
        {"cap75", "Normality test"},
        {"cap76", "Title"},
        {"cap77", "Triangular"},
        {"cap78", "Units"},
        {"cap79", "Value"},
        {"cap80", "Most probable number"},
        {"cap81", "Maximum value"},
        {"cap82", "Minimum value"},
        {"cap83", "Values"},
        {"cap84", "Variance"},
        {"cap85", "Type the title of simulation project"},
        {"cap86", "Enter project description and notes here"},
        {"cap87", "Language"},
        {"cap88", "Install language plugin"},
        {"cap89", "Default language info"},
        {"cap90", "Close"},
        {"cap91", "File"},
        {"cap92", "Open"},
        {"cap93", "Import"},
        {"cap94", "Save model"},
        {"cap95", "Save model as"},
        {"cap96", "Print results"},
        {"cap97", "Info"},
        {"cap98", "Stop"},
        {"cap99", "Observations"},
        {"cap100", "Ok"},
        {"cap101", "Cancel"},
        {"cap102", "View progress"},
        {"cap103", "Uncheck for fastest simulation"},
        {"cap104", "Want to assign this distribution?"},
        {"cap105", "Error. Undefined output parameter."},
        {"cap106", "Error. Too many output parameter."},
        // kCapDeviationNotNegative onward
        {"cap107", "Standard deviation must be real >= 0"},
        {"cap108", "Half-width must be real >= 0"},
        {"cap109", "Mean must be real >= 0"},
        {"cap110", "n must be integer >= 0 and p must take values between 0 and 1"},
        // gumcap::Tab onward
        {"cap111", "GUM"},
        {"cap112", "GUM uncertainty framework"},
        {"cap113", "Estimate"},
        {"cap114", "Share"},
        {"cap115", "dof"},
        {"cap116", "Combined standard uncertainty"},
        {"cap117", "With second-order terms"},
        {"cap118", "Effective degrees of freedom"},
        {"cap119", "infinite"},
        {"cap120", "Coverage factor"},
        {"cap121", "Expanded uncertainty"},
        {"cap122", "GUM interval"},
        {"cap123", "Validation against Monte Carlo"},
        {"cap124", "significant digits"},
        {"cap125", "tolerance"},
        {"cap126", "validated"},
        {"cap127", "not validated"},
        {"cap128", "the GUM interval agrees with the Monte Carlo interval within the tolerance"},
        {"cap129",
         "the GUM interval differs from the Monte Carlo interval by more than the tolerance"},
        {"cap130", "not applicable"},
        {"cap131", "the run gave no coverage interval"},
        {"cap132", "Show the GUM curve over the histogram"},
        {"cap133", "Adaptive: stable to"},
        {"cap134", "Symmetric interval"},
        {"cap135", "Shortest interval"},
        {"cap136", "Export report as PDF"},
        {"cap137", "Export values"},
        {"cap138", "Uncertainty budget"},
        {"cap139", "Correlations"},
        {"cap140", "Run settings"},
        {"cap141", "batches of"},
        {"cap142", "trials"},
        {"cap143", "stopped at the ceiling before the results were stable"},
        {"cap144", "Seed"},
        {"cap145", "Program"},
        {"cap146", "Date"},
        {"cap147", "There are no output values to export: run the simulation first."},
        // corrcap::FromReadings onward
        {"cap148", "From readings"},
        {"cap149", "A correlation needs at least two input quantities."},
        {"cap150",
         "A coefficient from readings needs two Experimental quantities entered "
         "directly with the same number of readings: select the cell of such a pair."},
        // gumunavailcap::SecondOrder onward
        {"cap151", "not available: correlated inputs"},
        {"cap152", "not available: correlated inputs"},
        // windowcap::New onward
        {"cap153", "New"},
        {"cap154", "Open recent"},
        {"cap155", "Help"},
        {"cap156", "User guide"},
        {"cap157", "About Corvanta"},
        {"cap158", "Save changes to"},
        {"cap159", "Untitled"},
        {"cap160", "is no longer there and leaves the list of recent models."},
        {"cap161", "Nothing was pasted"},
        {"cap162", "row"},
        {"cap163", "column"},
        {"cap164",
         "the readings have more columns than the table from this cell, or more than 999 rows"},
        {"cap165", "The user guide is not installed."},
        {"cap166", "Version"},
        {"cap167", "Licence"},
        {"cap168", "Libraries used"},
        // distcap::UShaped onward
        {"cap169", "U-shaped (arcsine)"},
        {"cap170", "Trapezoidal"},
        {"cap171", "Curvilinear trapezoid"},
        {"cap172", "Asymmetric triangular"},
        {"cap173", "Midpoint"},
        {"cap174", "Half-width"},
        {"cap175", "Top to base ratio (beta)"},
        {"cap176", "Inexactness of the limits (d)"},
        {"cap177", "Mode"},
        {"cap178", "Lower limit"},
        {"cap179", "Upper limit"},
        {"cap180", "Half-width must be real > 0"},
        {"cap181", "beta must take values from 0 to 1"},
        {"cap182", "d must be real >= 0 and below the half-width"},
        {"cap183", "The limits must satisfy lower <= mode <= upper and lower < upper"},
        {"cap184", "must be real > 0"},
        // reportcap::HistogramRange onward
        {"cap185", "Range of the histogram (150 equal classes)"},
    };
    return captions;
}

CaptionTable CaptionTable::BuiltIn() {
    return CaptionTable{DefaultCaptions()};
}

const std::string& CaptionTable::Lookup(std::string_view key) const {
    for (const auto& entry : Entries)
        if (entry.Key == key) return entry.Text;
    // A language file with gaps: the built-in text stands in for the missing key.
    for (const auto& entry : DefaultCaptions())
        if (entry.Key == key) return entry.Text;
    static const std::string empty;
    return empty;
}

const std::string& CaptionTable::Cap(int number) const {
    return Lookup("cap" + std::to_string(number));
}

namespace {

GumTexts FormGumTexts(const CaptionTable& t) {
    GumTexts g;
    g.Tab = t.Cap(gumcap::Tab);
    g.Title = t.Cap(gumcap::Title);
    g.Estimate = t.Cap(gumcap::Estimate);
    g.Share = t.Cap(gumcap::Share);
    g.DegreesShort = t.Cap(gumcap::DegreesShort);
    g.Combined = t.Cap(gumcap::Combined);
    g.SecondOrder = t.Cap(gumcap::SecondOrder);
    g.Effective = t.Cap(gumcap::Effective);
    g.Infinite = t.Cap(gumcap::Infinite);
    g.CoverageFactor = t.Cap(gumcap::CoverageFactor);
    g.Expanded = t.Cap(gumcap::Expanded);
    g.Interval = t.Cap(gumcap::Interval);
    g.Validation = t.Cap(gumcap::Validation);
    g.Digits = t.Cap(gumcap::Digits);
    g.Tolerance = t.Cap(gumcap::Tolerance);
    g.Validated = t.Cap(gumcap::Validated);
    g.NotValidated = t.Cap(gumcap::NotValidated);
    g.AgreeWords = t.Cap(gumcap::AgreeWords);
    g.DisagreeWords = t.Cap(gumcap::DisagreeWords);
    g.NotApplicable = t.Cap(gumcap::NotApplicable);
    g.NoRunInterval = t.Cap(gumcap::NoRunInterval);
    g.Curve = t.Cap(gumcap::Curve);
    g.AdaptiveStable = t.Cap(gumcap::AdaptiveStable);
    g.Symmetric = t.Cap(gumcap::Symmetric);
    g.Shortest = t.Cap(gumcap::Shortest);
    g.ExportPdf = t.Cap(gumcap::ExportPdf);
    g.ExportValues = t.Cap(gumcap::ExportValues);
    g.Budget = t.Cap(gumcap::Budget);
    g.Correlations = t.Cap(gumcap::Correlations);
    g.Settings = t.Cap(gumcap::Settings);
    g.Batches = t.Cap(gumcap::Batches);
    g.Trials = t.Cap(gumcap::Trials);
    g.Ceiling = t.Cap(gumcap::Ceiling);
    g.Seed = t.Cap(gumcap::Seed);
    g.Program = t.Cap(gumcap::Program);
    g.Date = t.Cap(gumcap::Date);
    g.NoValues = t.Cap(gumcap::NoValues);
    g.SecondOrderUnavailable = t.Cap(gumunavailcap::SecondOrder);
    g.DegreesUnavailable = t.Cap(gumunavailcap::Degrees);
    g.HistogramRange = t.Cap(reportcap::HistogramRange);
    return g;
}

}  // namespace

MessageTexts FormMessageTexts(const CaptionTable& t) {
    MessageTexts m;
    m.NormalChoice = t.Cap(61);
    m.Indetermined = t.Cap(38);
    m.IncompatibleParameter = t.Cap(63);
    m.IncompleteInit = t.Cap(16);
    m.HeaderParameter = t.Cap(62);
    m.HeaderUnits = t.Cap(78);
    m.HeaderDescription = t.Cap(17);
    m.ConfidenceInterval = t.Cap(45);
    m.ModelUpdated = t.Cap(48);
    m.GumFormat = t.Cap(30);
    m.NotReal = t.Cap(57);
    m.ABMustBeReal = t.Cap(5);
    m.DegreesMustBeInteger = t.Cap(33) + " " + t.Cap(34);
    m.NotInteger = t.Cap(56);
    m.ErrorNP = t.Cap(22) + ". " + t.Cap(25);
    m.ErrorK = t.Cap(22) + ". " + t.Cap(24);
    m.ErrorForm = t.Cap(22) + ". " + t.Cap(23);
    m.ErrorDeviation = t.Cap(22) + ". " + t.Cap(kCapDeviationNotNegative);
    m.ErrorHalfWidth = t.Cap(22) + ". " + t.Cap(kCapHalfWidthNotNegative);
    m.ErrorMean = t.Cap(22) + ". " + t.Cap(kCapMeanNotNegative);
    m.ErrorBinomial = t.Cap(22) + ". " + t.Cap(kCapBinomialRange);
    m.ValuesNotEntered = t.Cap(59);
    m.NormalityTest = t.Cap(75);
    m.Wait = t.Cap(26) + "...";
    m.TheFile = t.Cap(21);
    m.AlreadyExistsOverwrite = t.Cap(1) + ". " + t.Cap(2);
    m.SaveModel = t.Cap(4);
    m.DoesNotFit = t.Cap(53);
    m.Fits = t.Cap(14);
    m.AssignDistribution = t.Cap(104);
    m.UndefinedOutput = t.Cap(105);
    m.TooManyOutputs = t.Cap(106);
    m.ErrorHalfWidthPositive = t.Cap(22) + ". " + t.Cap(distcap::HalfWidthPositive);
    m.ErrorRatio = t.Cap(22) + ". " + t.Cap(distcap::RatioRange);
    m.ErrorInexactness = t.Cap(22) + ". " + t.Cap(distcap::InexactnessRange);
    m.ErrorLimits = t.Cap(22) + ". " + t.Cap(distcap::LimitsOrder);
    m.DegreesMustBeReal = t.Cap(33) + " " + t.Cap(distcap::MustBeRealPositive);
    m.Gum = FormGumTexts(t);
    m.FromReadings = t.Cap(corrcap::FromReadings);
    m.TwoInputs = t.Cap(corrcap::TwoInputs);
    m.NoPairedReadings = t.Cap(corrcap::NoPairedReadings);
    WindowTexts& w = m.Window;
    w.New = t.Cap(windowcap::New);
    w.OpenRecent = t.Cap(windowcap::OpenRecent);
    w.Help = t.Cap(windowcap::Help);
    w.UserGuide = t.Cap(windowcap::UserGuide);
    w.About = t.Cap(windowcap::About);
    w.SaveChanges = t.Cap(windowcap::SaveChanges);
    w.Untitled = t.Cap(windowcap::Untitled);
    w.NoLongerThere = t.Cap(windowcap::NoLongerThere);
    w.PasteRefused = t.Cap(windowcap::PasteRefused);
    w.Row = t.Cap(windowcap::Row);
    w.Column = t.Cap(windowcap::Column);
    w.PasteDoesNotFit = t.Cap(windowcap::PasteDoesNotFit);
    w.GuideMissing = t.Cap(windowcap::GuideMissing);
    w.Version = t.Cap(windowcap::Version);
    w.Licence = t.Cap(windowcap::Licence);
    w.Libraries = t.Cap(windowcap::Libraries);
    return m;
}

}  // namespace corvanta
