#include <charconv>
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
#include "document/ModelFile.h"
#include "engine/Faults.h"
#include "engine/NumberText.h"
#include "simulation/ResultFormat.h"
#include "simulation/Run.h"

namespace corvanta::cli {

namespace {

const char* const kRunUsage =
    "usage: corvanta-cli run MODEL.cvm [--iterations N] [--probability P] [--seed S] [--json]\n"
    "\n"
    "Opens a model file, runs one simulation with the progress view off, then the\n"
    "uncertainty contributions, and prints the results.\n"
    "  --iterations N   1000 to 50000000 (default 200000)\n"
    "  --probability P  coverage probability in percent: 68.27, 90, 95, 95.45, 99\n"
    "                   or 99.73 (default 95)\n"
    "  --seed S         0 to 4294967295; the same seed gives the same output.\n"
    "                   Without it the source is seeded from the clock.\n"
    "  --json           one JSON object instead of text\n"
    "Exits 1 with a message on stderr when the model can't be read or run.\n";

constexpr std::int64_t kCliMinimumIterations = 1000;
constexpr std::int64_t kCliMaximumIterations = 50000000;

// A decimal number of digits only, within 0 … limit.
std::optional<std::uint64_t> ParseCount(std::string_view text, std::uint64_t limit) {
    if (text.empty() || text.size() > 20) return std::nullopt;
    std::uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
        if (value > limit) return std::nullopt;
    }
    return value;
}

std::optional<int> ParseProbability(std::string_view text) {
    long double value = 0;
    if (!TryParseFloat(text, value)) return std::nullopt;
    // "95", "95.0" and "9.5e1" all name the same choice.
    static const char* const accepted[kCoverageChoiceCount] = {"68.27", "90", "95",
                                                               "95.45", "99", "99.73"};
    for (int i = 0; i < kCoverageChoiceCount; ++i)
        if (value == ParseFloat(accepted[i])) return i;
    return std::nullopt;
}

// The shortest text that reads back as the same double, or null.
std::string JsonNumber(long double value) {
    const double d = static_cast<double>(value);
    if (!std::isfinite(d)) return "null";
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, d);
    return std::string(buffer, result.ptr);
}

std::string JsonString(const std::string& windows1252) {
    std::string text = "\"";
    for (char c : Utf8FromWindows1252(windows1252)) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            text += '\\';
            text += c;
        } else if (u < 0x20) {
            static const char hex[] = "0123456789abcdef";
            text += "\\u00";
            text += hex[u >> 4];
            text += hex[u & 15];
        } else {
            text += c;
        }
    }
    return text + "\"";
}

std::string StripTrailingBlank(std::string text) {
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

bool IsInput(const ModelParameter& p) {
    return p.Distrib < static_cast<std::int32_t>(DistributionKind::Intermedio);
}

void PrintText(std::ostream& out, const RunOutcome& outcome, const ParameterList& parameters,
               const SimulationSession& session, const CaptionTable& captions) {
    const auto titles = ResultsGridTitles(captions);
    for (int r = 0; r < kResultRows; ++r)
        out << Utf8FromWindows1252(StripTrailingBlank(titles[r]) + " = " + outcome.Grid[r]) << '\n';
    out << Utf8FromWindows1252(outcome.NormalityText) << '\n';
    out << Utf8FromWindows1252(captions.Cap(68) + " = " + outcome.ResultText) << '\n';
    out << Utf8FromWindows1252(outcome.IntervalText) << '\n';
    out << Utf8FromWindows1252(StripTrailingBlank(outcome.ClassicText)) << '\n';
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

void PrintJson(std::ostream& out, const RunOutcome& outcome, const ParameterList& parameters,
               int coverageIndex) {
    const SimulationResult& s = outcome.Last.Statistics;
    const bool shape = s.ShapeDetermined;
    const auto number = [](long double x) { return JsonNumber(x); };
    out << "{\"iterations\": " << outcome.Computed;
    out << ", \"mean\": " << number(s.M1);
    out << ", \"variance\": " << number(s.M2);
    out << ", \"standard_deviation\": " << number(s.M2 > 0 ? std::sqrt(s.M2) : 0);
    out << ", \"skewness\": " << (shape ? number(s.Skewness) : "null");
    out << ", \"excess_kurtosis\": " << (shape ? number(s.Kurtosis - 3) : "null");
    out << ", \"maximum\": " << number(s.OutputMax);
    out << ", \"minimum\": " << number(s.OutputMin);
    out << ", \"most_probable\": "
        << (outcome.MostProbable ? number(*outcome.MostProbable) : "null");
    out << ", \"range\": " << number(static_cast<long double>(s.OutputMax) - s.OutputMin);
    out << ", \"jarque_bera\": " << (outcome.JarqueBera ? number(*outcome.JarqueBera) : "null");
    out << ", \"normality_fits\": "
        << (outcome.JarqueBera ? (*outcome.JarqueBera <= kJarqueBeraLimit ? "true" : "false")
                               : "null");
    out << ", \"coverage_probability\": " << number(CoverageProbability(coverageIndex));
    if (outcome.Interval.Determined) {
        out << ", \"interval\": [" << number(outcome.Interval.Low) << ", "
            << number(outcome.Interval.High) << "]";
        const long double midpoint =
            (static_cast<long double>(outcome.Interval.High) + outcome.Interval.Low) / 2;
        const long double half =
            (static_cast<long double>(outcome.Interval.High) - outcome.Interval.Low) / 2;
        out << ", \"classic\": "
            << JsonString(FormatValueWithUncertainty(static_cast<double>(midpoint),
                                                     static_cast<double>(half)));
    } else {
        out << ", \"interval\": null, \"classic\": null";
    }
    out << ", \"failed_draws\": " << outcome.FailedDraws;
    out << ", \"contributions\": ";
    if (!outcome.ContributionsComputed) {
        out << "null";
    } else {
        out << '[';
        double sum = 0;
        for (const ModelParameter& p : parameters)
            if (IsInput(p)) sum += p.Sensib;
        for (std::size_t j = 0; j < parameters.size(); ++j) {
            const ModelParameter& p = parameters[j];
            if (j > 0) out << ", ";
            out << "{\"name\": " << JsonString(p.Nombre)
                << ", \"width\": " << (IsInput(p) ? number(p.Sensib) : "null")
                << ", \"relative\": " << number(sum != 0 ? p.Sensib * 100 / sum : 0) << '}';
        }
        out << ']';
    }
    out << ", \"seed\": " << outcome.Seed << "}\n";
}

}  // namespace

int RunCommand(int argc, char** argv, std::ostream& out, std::ostream& err) {
    std::optional<std::string> path;
    std::int64_t iterations = kDefaultIterations;
    int coverageIndex = kDefaultCoverageChoice;
    std::optional<std::uint32_t> seed;
    bool json = false;
    for (int i = 0; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            out << kRunUsage;
            return 0;
        }
        if (arg == "--json") {
            json = true;
            continue;
        }
        if (arg == "--iterations" || arg == "--probability" || arg == "--seed") {
            if (i + 1 == argc) {
                err << "corvanta-cli: " << arg << " needs a value\n" << kRunUsage;
                return 2;
            }
            const std::string_view value = argv[++i];
            if (arg == "--iterations") {
                const auto count = ParseCount(value, kCliMaximumIterations);
                if (!count || static_cast<std::int64_t>(*count) < kCliMinimumIterations) {
                    err << "corvanta-cli: the number of iterations must be a whole number from "
                           "1000 to 50000000, not '"
                        << Utf8FromWindows1252(value) << "'\n";
                    return 1;
                }
                iterations = static_cast<std::int64_t>(*count);
            } else if (arg == "--probability") {
                const auto index = ParseProbability(value);
                if (!index) {
                    err << "corvanta-cli: the coverage probability must be one of 68.27, 90, 95, "
                           "95.45, 99, 99.73, not '"
                        << Utf8FromWindows1252(value) << "'\n";
                    return 1;
                }
                coverageIndex = *index;
            } else {
                const auto number = ParseCount(value, 4294967295ULL);
                if (!number) {
                    err << "corvanta-cli: the seed must be a whole number from 0 to 4294967295, "
                           "not '"
                        << Utf8FromWindows1252(value) << "'\n";
                    return 1;
                }
                seed = static_cast<std::uint32_t>(*number);
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

    CliDialogs dialogs(err);
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

        RunSettings settings;
        settings.Iterations = iterations;
        settings.ProgressView = false;
        settings.CoverageIndex = coverageIndex;
        settings.Seed = seed;
        SimulationSession session;
        RunObserver quiet;
        const RunOutcome outcome = RunSimulation(opened->PostfixExpression, parameters, settings,
                                                 texts, dialogs, session, quiet);
        if (outcome.Status != RunStatus::Completed) return 1;
        if (json) {
            PrintJson(out, outcome, parameters, coverageIndex);
        } else {
            PrintText(out, outcome, parameters, session, captions);
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
