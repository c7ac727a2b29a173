#include <algorithm>
#include <cmath>
#include <cstdint>
#include <exception>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "captions/Captions.h"
#include "cli/CliDialogs.h"
#include "cli/Commands.h"
#include "distributions/Sampling.h"
#include "document/ModelFile.h"
#include "engine/Faults.h"
#include "engine/NumberText.h"
#include "simulation/AdaptiveRun.h"
#include "simulation/CoverageIntervals.h"
#include "simulation/GumFramework.h"
#include "simulation/ResultFormat.h"
#include "simulation/Run.h"
#include "simulation/RunArguments.h"
#include "simulation/Validation.h"

#include <nlohmann/json.hpp>

namespace corvanta::cli {

namespace {

const char* const kRunUsage =
    "usage: corvanta-cli run MODEL.cvm [--iterations N] [--probability P] [--seed S] [--json]\n"
    "                    [--gum] [--adaptive] [--digits D] [--interval symmetric|shortest]\n"
    "                    [--threads N]\n"
    "\n"
    "Opens a model file, runs one simulation with the progress view off, then the\n"
    "uncertainty contributions, and prints the results.\n"
    "  --iterations N   1000 to 50000000 (default 200000); with --adaptive the\n"
    "                   ceiling on the number of trials (default 50000000)\n"
    "  --probability P  coverage probability in percent: 68.27, 90, 95, 95.45, 99\n"
    "                   or 99.73 (default 95)\n"
    "  --seed S         0 to 4294967295; the same seed gives the same output.\n"
    "                   Without it the source is seeded from the clock.\n"
    "  --json           one JSON object instead of text\n"
    "  --gum            also the GUM uncertainty framework at the inputs'\n"
    "                   expectations (law of propagation of uncertainty, budget,\n"
    "                   Welch-Satterthwaite degrees of freedom, coverage factor from\n"
    "                   Student's t) and its validation against the Monte Carlo\n"
    "                   interval\n"
    "  --adaptive       choose the number of trials adaptively: batches of\n"
    "                   M = max(100/(1-p), 10000) trials until the batch results are\n"
    "                   stable to --digits, judged from the 10th batch on (twice the\n"
    "                   standard deviation of the batch averages of y, u(y) and both\n"
    "                   interval ends within the tolerance); the run then has that\n"
    "                   many trials. Keeps one batch while choosing; the run keeps\n"
    "                   8 bytes a trial (400 MB at the default ceiling)\n"
    "  --digits D       significant digits of u(y) regarded as meaningful, 1 to 5\n"
    "                   (default 2): the tolerance of validation and of --adaptive\n"
    "  --interval shortest  also the shortest coverage interval of the run's values\n"
    "                   (the symmetric interval stays the run's result)\n"
    "  --threads N      threads computing the iterations, 1 to 64 (default: one a\n"
    "                   processor); the results are the same for every N\n"
    "\n"
    "JSON: the keys of the run (iterations, mean, variance, standard_deviation,\n"
    "skewness, excess_kurtosis, maximum, minimum, most_probable, range,\n"
    "jarque_bera, normality_fits, coverage_probability, interval, classic,\n"
    "failed_draws, contributions, seed, correlations [first, second,\n"
    "coefficient: the pairs of the model's correlations section drawn jointly]),\n"
    "contributions_error when a fault stopped the contributions, and when asked for:\n"
    "  gum: applicable, reason (when not), estimate, combined_uncertainty,\n"
    "    second_order_terms, second_order_uncertainty, second_order_available\n"
    "    (false with correlated inputs), effective_degrees_of_freedom (null:\n"
    "    infinite), degrees_of_freedom_available (false when a correlated input\n"
    "    has finite degrees of freedom; k is then the normal one), coverage_factor,\n"
    "    expanded_uncertainty, interval, budget [name, estimate, uncertainty,\n"
    "    sensitivity, contribution, share (percent of u_c^2), degrees_of_freedom],\n"
    "    correlations (the pairs whose covariance terms entered u_c)\n"
    "  validation: digits, tolerance, d_low, d_high, validated, verdict\n"
    "  adaptive: digits, batch_size, batches, trials, tolerance, ceiling,\n"
    "    ceiling_reached\n"
    "  shortest_interval: low, high, length\n"
    "Exits 1 with a message on stderr when the model can't be read or run.\n";

constexpr std::int64_t kCliMinimumIterations = 1000;
constexpr std::int64_t kCliMaximumIterations = 50000000;
constexpr std::uint64_t kMaximumThreads = 64;

std::string StripTrailingBlank(std::string text) {
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

bool IsInput(const ModelParameter& p) {
    return !IsComputedKind(p.Distrib);
}

void PrintText(std::ostream& out, const RunOutcome& outcome, const ParameterList& parameters,
               const CorrelationList& correlations, const SimulationSession& session,
               const CaptionTable& captions) {
    const auto titles = ResultsGridTitles(captions);
    for (int r = 0; r < kResultRows; ++r)
        out << Utf8FromWindows1252(StripTrailingBlank(titles[r]) + " = " + outcome.Grid[r]) << '\n';
    out << Utf8FromWindows1252(outcome.NormalityText) << '\n';
    out << Utf8FromWindows1252(captions.Cap(68) + " = " + outcome.ResultText) << '\n';
    out << Utf8FromWindows1252(outcome.IntervalText) << '\n';
    out << Utf8FromWindows1252(StripTrailingBlank(outcome.ClassicText)) << '\n';
    for (const Correlation& c : correlations)
        out << Utf8FromWindows1252("Correlation of " + c.First + " and " + c.Second + " = " +
                                   FormatGeneral(c.Coefficient))
            << '\n';
    if (!outcome.ContributionsComputed) return;
    for (std::size_t j = 0; j < parameters.size(); ++j) {
        const ModelParameter& p = parameters[j];
        std::string line = p.Nombre + ": ";
        if (IsInput(p)) {
            line += session.Contributions[j].Width + StripTrailingBlank(session.OutputUnitSuffix) +
                    "  " + session.Contributions[j].Relative + " %";
        } else {
            line += "----";
        }
        out << Utf8FromWindows1252(StripTrailingBlank(line)) << '\n';
    }
}

using Json = nlohmann::ordered_json;

// A number as JSON: null when not finite, whole numbers without a fraction
// ("95", not "95.0"), others as nlohmann-json writes a double (digits that
// read back as the same double).
Json Number(long double value) {
    const double d = static_cast<double>(value);
    if (!std::isfinite(d)) return nullptr;
    if (d == std::trunc(d) && std::fabs(d) < 9007199254740992.0)
        return static_cast<std::int64_t>(d);
    return d;
}

Json Text(const std::string& windows1252) {
    return Utf8FromWindows1252(windows1252);
}

// What a run printed beyond its own results, when asked for.
struct Additions {
    std::optional<GumResult> Gum;
    std::optional<Validation> Checked;
    std::optional<AdaptiveOutcome> Adaptive;
    int Digits = 2;
    std::int64_t Ceiling = 0;
    std::optional<ValueInterval> Shortest;
};

Json CorrelationsJson(const CorrelationList& list) {
    Json pairs = Json::array();
    for (const Correlation& c : list)
        pairs.push_back({{"first", Text(c.First)},
                         {"second", Text(c.Second)},
                         {"coefficient", Number(c.Coefficient)}});
    return pairs;
}

Json GumJson(const GumResult& gum) {
    Json j;
    j["applicable"] = gum.Applicable;
    if (!gum.Applicable) {
        j["reason"] = Text(gum.Reason);
        return j;
    }
    j["estimate"] = Number(gum.Estimate);
    j["combined_uncertainty"] = Number(gum.CombinedUncertainty);
    j["second_order_terms"] = Number(gum.SecondOrderTerms);
    j["second_order_uncertainty"] =
        gum.SecondOrderUncertainty ? Number(*gum.SecondOrderUncertainty) : Json(nullptr);
    j["second_order_available"] = gum.SecondOrderAvailable;
    j["effective_degrees_of_freedom"] = Number(gum.EffectiveDegreesOfFreedom);
    j["degrees_of_freedom_available"] = gum.DegreesAvailable;
    j["coverage_factor"] = Number(gum.CoverageFactor);
    j["expanded_uncertainty"] = Number(gum.ExpandedUncertainty);
    j["interval"] = Json::array({Number(gum.Low), Number(gum.High)});
    Json budget = Json::array();
    for (const BudgetRow& row : gum.Budget) {
        budget.push_back({{"name", Text(row.Name)},
                          {"estimate", Number(row.Estimate)},
                          {"uncertainty", Number(row.Uncertainty)},
                          {"sensitivity", Number(row.Sensitivity)},
                          {"contribution", Number(row.Contribution)},
                          {"share", Number(row.Share)},
                          {"degrees_of_freedom", Number(row.DegreesOfFreedom)}});
    }
    j["budget"] = budget;
    j["correlations"] = CorrelationsJson(gum.Correlations);
    return j;
}

void PrintJson(std::ostream& out, const RunOutcome& outcome, const ParameterList& parameters,
               const CorrelationList& correlations, int coverageIndex, const Additions& more) {
    const SimulationResult& s = outcome.Last.Statistics;
    const bool shape = s.ShapeDetermined;
    Json j;
    j["iterations"] = outcome.Computed;
    j["mean"] = Number(s.M1);
    j["variance"] = Number(s.M2);
    j["standard_deviation"] = Number(s.M2 > 0 ? std::sqrt(s.M2) : 0);
    j["skewness"] = shape ? Number(s.Skewness) : Json(nullptr);
    j["excess_kurtosis"] = shape ? Number(s.Kurtosis - 3) : Json(nullptr);
    j["maximum"] = Number(s.OutputMax);
    j["minimum"] = Number(s.OutputMin);
    j["most_probable"] = outcome.MostProbable ? Number(*outcome.MostProbable) : Json(nullptr);
    j["range"] = Number(static_cast<long double>(s.OutputMax) - s.OutputMin);
    j["jarque_bera"] = outcome.JarqueBera ? Number(*outcome.JarqueBera) : Json(nullptr);
    j["normality_fits"] =
        outcome.JarqueBera ? Json(*outcome.JarqueBera <= kJarqueBeraLimit) : Json(nullptr);
    j["coverage_probability"] = Number(CoverageProbability(coverageIndex));
    if (outcome.Interval.Determined) {
        j["interval"] = Json::array({Number(outcome.Interval.Low), Number(outcome.Interval.High)});
        const long double midpoint =
            (static_cast<long double>(outcome.Interval.High) + outcome.Interval.Low) / 2;
        const long double half =
            (static_cast<long double>(outcome.Interval.High) - outcome.Interval.Low) / 2;
        j["classic"] = Text(
            FormatValueWithUncertainty(static_cast<double>(midpoint), static_cast<double>(half)));
    } else {
        j["interval"] = nullptr;
        j["classic"] = nullptr;
    }
    j["failed_draws"] = outcome.FailedDraws;
    if (!outcome.ContributionsComputed) {
        j["contributions"] = nullptr;
    } else {
        Json rows = Json::array();
        double sum = 0;
        for (const ModelParameter& p : parameters)
            if (IsInput(p)) sum += p.Sensib;
        for (const ModelParameter& p : parameters) {
            rows.push_back({{"name", Text(p.Nombre)},
                            {"width", IsInput(p) ? Number(p.Sensib) : Json(nullptr)},
                            {"relative", Number(sum != 0 ? p.Sensib * 100 / sum : 0)}});
        }
        j["contributions"] = rows;
    }
    j["seed"] = outcome.Seed;
    j["correlations"] = CorrelationsJson(correlations);
    if (!outcome.ContributionsError.empty())
        j["contributions_error"] = Text(outcome.ContributionsError);
    if (more.Gum) j["gum"] = GumJson(*more.Gum);
    if (more.Checked) {
        j["validation"] = {{"digits", more.Checked->Digits},
                           {"tolerance", Number(more.Checked->Tolerance)},
                           {"d_low", Number(more.Checked->LowDifference)},
                           {"d_high", Number(more.Checked->HighDifference)},
                           {"validated", more.Checked->Validated},
                           {"verdict", more.Checked->Validated ? "validated" : "not validated"}};
    }
    if (more.Adaptive) {
        j["adaptive"] = {{"digits", more.Digits},
                         {"batch_size", more.Adaptive->BatchSize},
                         {"batches", more.Adaptive->Batches},
                         {"trials", more.Adaptive->Trials},
                         {"tolerance", Number(more.Adaptive->Tolerance)},
                         {"ceiling", more.Ceiling},
                         {"ceiling_reached", more.Adaptive->CeilingReached}};
    }
    if (more.Shortest) {
        j["shortest_interval"] = {
            {"low", Number(more.Shortest->Low)},
            {"high", Number(more.Shortest->High)},
            {"length", Number(static_cast<long double>(more.Shortest->High) - more.Shortest->Low)}};
    }
    out << j.dump() << '\n';
}

std::string Figure(long double value) {
    if (std::isnan(value)) return "undetermined";
    if (!std::isfinite(static_cast<double>(value))) return "infinite";
    return FormatGeneral(value, 6);
}

// The block after the run's own lines.
void PrintAdditions(std::ostream& out, const Additions& more, int coverageIndex) {
    const std::string p = "p = " + FormatGeneral(CoverageProbability(coverageIndex), 6) + "%";
    if (more.Adaptive) {
        const AdaptiveOutcome& a = *more.Adaptive;
        out << "Adaptive: " << a.Batches << " batches of " << a.BatchSize
            << " trials = " << a.Trials << " trials, "
            << (a.CeilingReached ? "stopped by the ceiling of " + IntegerText(more.Ceiling) +
                                       " trials before the results were stable"
                                 : "stable")
            << " to " << more.Digits << " significant digits (tolerance " << Figure(a.Tolerance)
            << ")\n";
    }
    if (more.Shortest) {
        out << "Shortest coverage interval (" << p << "): [ "
            << Utf8FromWindows1252(IntervalValueText(more.Shortest->Low)) << " , "
            << Utf8FromWindows1252(IntervalValueText(more.Shortest->High)) << " ]\n";
    }
    if (!more.Gum) return;
    const GumResult& gum = *more.Gum;
    out << "GUM uncertainty framework (law of propagation of uncertainty)\n";
    if (!gum.Applicable) {
        out << Utf8FromWindows1252(gum.Reason) << '\n';
        return;
    }
    out << "  quantity: estimate, u(x), sensitivity c, |c| u(x), share of u_c^2, degrees of "
           "freedom\n";
    for (const BudgetRow& row : gum.Budget) {
        out << "  " << Utf8FromWindows1252(row.Name) << ": " << Figure(row.Estimate) << ", "
            << Figure(row.Uncertainty) << ", " << Figure(row.Sensitivity) << ", "
            << Figure(row.Contribution) << ", " << FormatGeneral(row.Share, 4) << " %, "
            << Figure(row.DegreesOfFreedom) << '\n';
    }
    out << "Estimate y = " << Figure(gum.Estimate)
        << ", combined standard uncertainty u_c = " << Figure(gum.CombinedUncertainty) << '\n';
    for (const Correlation& c : gum.Correlations)
        out << "  r(" << Utf8FromWindows1252(c.First) << ", " << Utf8FromWindows1252(c.Second)
            << ") = " << FormatGeneral(c.Coefficient) << '\n';
    if (gum.SecondOrderAvailable) {
        out << "With second-order terms: u_c = "
            << (gum.SecondOrderUncertainty ? Figure(*gum.SecondOrderUncertainty) : "undetermined")
            << " (terms " << Figure(gum.SecondOrderTerms) << ")\n";
    } else {
        out << "With second-order terms: not available for correlated inputs\n";
    }
    out << "Effective degrees of freedom "
        << (gum.DegreesAvailable ? Figure(gum.EffectiveDegreesOfFreedom)
                                 : std::string("not available for correlated inputs with finite "
                                               "degrees of freedom (normal coverage factor)"))
        << ", coverage factor k = " << Figure(gum.CoverageFactor) << " (" << p << ")\n";
    out << "Expanded uncertainty U = " << Figure(gum.ExpandedUncertainty) << ", interval [ "
        << Figure(gum.Low) << " , " << Figure(gum.High) << " ]\n";
    if (more.Checked) {
        const Validation& v = *more.Checked;
        out << "Validation against Monte Carlo (" << v.Digits << " significant digits, tolerance "
            << Figure(v.Tolerance) << "): d_low = " << Figure(v.LowDifference)
            << ", d_high = " << Figure(v.HighDifference) << ": "
            << (v.Validated ? "validated" : "not validated") << '\n';
    }
}

// Sorts the values of the run and takes their shortest interval.
class ShortestObserver : public RunObserver {
  public:
    explicit ShortestObserver(long double probability) : probability_(probability) {}
    std::optional<ValueInterval> Interval;
    void ValuesComputed(double* values, std::int64_t count) override {
        if (count < 2) return;
        std::sort(values, values + count);
        Interval = ShortestInterval(values, count, probability_);
    }

  private:
    long double probability_;
};

}  // namespace

int RunCommand(int argc, char** argv, std::ostream& out, std::ostream& err) {
    std::optional<std::string> path;
    RunArguments given;
    bool json = false, gum = false, adaptive = false, shortest = false;
    int digits = 2;
    int threads = 0;
    for (int i = 0; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            out << kRunUsage;
            return 0;
        }
        if (arg == "--json" || arg == "--gum" || arg == "--adaptive") {
            (arg == "--json" ? json : arg == "--gum" ? gum : adaptive) = true;
            continue;
        }
        if (arg == "--digits" || arg == "--interval" || arg == "--threads") {
            if (i + 1 == argc) {
                err << "corvanta-cli: " << arg << " needs a value\n" << kRunUsage;
                return 2;
            }
            const std::string_view value = argv[++i];
            if (arg == "--interval") {
                if (value != "symmetric" && value != "shortest") {
                    err << "corvanta-cli: the interval must be symmetric or shortest, not '"
                        << Utf8FromWindows1252(value) << "'\n";
                    return 1;
                }
                shortest = value == "shortest";
            } else if (arg == "--threads") {
                const auto count = ParseCount(value, kMaximumThreads);
                if (!count || *count < 1) {
                    err << "corvanta-cli: the number of threads must be a whole number from 1 "
                           "to 64, not '"
                        << Utf8FromWindows1252(value) << "'\n";
                    return 1;
                }
                threads = static_cast<int>(*count);
            } else {
                const auto count = ParseCount(value, 5);
                if (!count || *count < 1) {
                    err << "corvanta-cli: the number of digits must be a whole number from 1 "
                           "to 5, not '"
                        << Utf8FromWindows1252(value) << "'\n";
                    return 1;
                }
                digits = static_cast<int>(*count);
            }
            continue;
        }
        if (IsRunArgument(arg)) {
            if (i + 1 == argc) {
                err << "corvanta-cli: " << arg << " needs a value\n" << kRunUsage;
                return 2;
            }
            if (const auto refusal = ReadRunArgument(arg, argv[++i], kCliMinimumIterations,
                                                     kCliMaximumIterations, given)) {
                err << "corvanta-cli: " << Utf8FromWindows1252(*refusal) << '\n';
                return 1;
            }
            continue;
        }
        if (arg.size() > 1 && arg[0] == '-') {
            err << "corvanta-cli: unknown option '" << Utf8FromWindows1252(arg) << "'\n"
                << kRunUsage;
            return 2;
        }
        if (path) {
            err << "corvanta-cli: only one model file can be run\n" << kRunUsage;
            return 2;
        }
        path = std::string(arg);
    }
    if (!path) {
        err << kRunUsage;
        return 2;
    }
    std::int64_t iterations = given.Iterations;
    const int coverageIndex = given.CoverageIndex;
    std::optional<std::uint32_t> seed = given.Seed;

    StreamDialogs dialogs(err);
    const CaptionTable captions = CaptionTable::BuiltIn();
    const MessageTexts texts = FormMessageTexts(captions);
    try {
        const std::optional<std::string> fileText = ReadModelFile(*path, dialogs);
        if (!fileText) return 1;
        std::optional<OpenedModel> opened = ApplyModelText(*fileText, *path, texts, dialogs);
        if (!opened) return 1;
        if (opened->PostfixExpression.empty()) {
            err << "corvanta-cli: the model file holds no equations\n";
            return 1;
        }
        ParameterList& parameters = opened->Document.Parameters;
        const CorrelationList& correlations = opened->Document.Correlations;

        const long double probability = CoverageProbability(coverageIndex) / 100.0L;
        Additions more;
        more.Digits = digits;
        if (adaptive) {
            if (!CheckReady(parameters)) {
                dialogs.ShowMessage(texts.IncompleteInit);
                return 1;
            }
            if (std::optional<std::string> refusal = CheckCorrelations(parameters, correlations)) {
                dialogs.ShowError(*refusal);
                return 1;
            }
            // The adaptive choice and the run draw from the same seed, so the
            // run's values are the trials the choice was made on.
            if (!seed) {
                ReseedUniform();
                seed = UniformSeed;
            }
            more.Ceiling = given.IterationsGiven ? iterations : kDefaultAdaptiveCeiling;
            more.Adaptive = RunAdaptive(opened->PostfixExpression, parameters, probability, digits,
                                        more.Ceiling, *seed, texts, dialogs, threads, correlations);
            if (more.Adaptive->Trials == 0) {
                if (more.Adaptive->CeilingReached)
                    err << "corvanta-cli: the ceiling of " << more.Ceiling
                        << " trials is below one adaptive batch of " << more.Adaptive->BatchSize
                        << " trials\n";
                return 1;
            }
            if (more.Adaptive->CeilingReached)
                err << "corvanta-cli: the adaptive run reached its ceiling of " << more.Ceiling
                    << " trials before its results were stable to " << digits
                    << " significant digits; the results are those of " << more.Adaptive->Trials
                    << " trials\n";
            iterations = more.Adaptive->Trials;
        }

        RunSettings settings;
        settings.Iterations = iterations;
        settings.ProgressView = false;
        settings.CoverageIndex = coverageIndex;
        settings.Seed = seed;
        settings.Threads = threads;
        settings.Correlations = correlations;
        SimulationSession session;
        ShortestObserver observer(probability);
        RunObserver quiet;
        const RunOutcome outcome =
            RunSimulation(opened->PostfixExpression, parameters, settings, texts, dialogs, session,
                          shortest ? static_cast<RunObserver&>(observer) : quiet);
        if (outcome.Status != RunStatus::Completed) return 1;
        more.Shortest = observer.Interval;
        if (gum) {
            more.Gum = EvaluateGum(opened->PostfixExpression, parameters, probability, texts,
                                   dialogs, correlations);
            if (more.Gum->Applicable && outcome.Interval.Determined)
                more.Checked =
                    ValidateGum(*more.Gum, outcome.Interval.Low, outcome.Interval.High, digits);
        }
        if (json) {
            PrintJson(out, outcome, parameters, correlations, coverageIndex, more);
        } else {
            PrintText(out, outcome, parameters, correlations, session, captions);
            PrintAdditions(out, more, coverageIndex);
        }
        return 0;
    } catch (const CalcError& error) {
        err << Utf8FromWindows1252(error.what()) << '\n';
    } catch (const std::bad_alloc&) {
        err << "corvanta-cli: not enough memory for " << iterations << " iterations\n";
    } catch (const std::exception& error) {
        err << "corvanta-cli: " << error.what() << '\n';
    }
    return 1;
}

}  // namespace corvanta::cli
