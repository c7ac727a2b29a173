// The samples are files the program writes: saved again they give their bytes back, their
// experimental quantities hold what Apply computes, and they run alike on any thread count.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "ModelFixtures.h"
#include "distributions/Readings.h"
#include "distributions/Sampling.h"
#include "simulation/Run.h"

namespace corvanta {
namespace {

class ShippedSample : public ::testing::TestWithParam<std::string> {
  protected:
    const std::string path = std::string(CORVANTA_SOURCE_DIR "/samples/") + GetParam();
};

TEST_P(ShippedSample, IsWhatTheProgramWrites) {
    testing::ScriptedDialogs dialogs;
    const auto text = ReadModelFile(path, dialogs);
    ASSERT_TRUE(text);
    const auto opened = testing::Open(*text, dialogs, path);
    ASSERT_TRUE(opened);
    EXPECT_EQ(ComposeModelText(opened->Document), *text);

    int experimental = 0;
    for (const ModelParameter& record : opened->Document.Parameters) {
        if (record.Kind() != DistributionKind::Experimental) continue;
        ++experimental;
        ExperimentalEntry entry;
        const auto mode = ReadingModeFromKeyword(ParseReadings(record.Lecturas).Keyword);
        ASSERT_TRUE(mode) << record.Nombre;
        entry.Mode = *mode;
        entry.Table = record.Lecturas;
        entry.Student = record.b == "Student";
        const auto applied = ApplyExperimental(entry, record, testing::BuiltInTexts(), dialogs);
        ASSERT_TRUE(applied) << record.Nombre;
        EXPECT_EQ(std::tie(applied->Valor, applied->a, applied->b, applied->Grados),
                  std::tie(record.Valor, record.a, record.b, record.Grados))
            << record.Nombre;
    }
    EXPECT_TRUE(dialogs.Log.empty());
    EXPECT_TRUE(GetParam() != "roundtrip-all-kinds.cvm" || experimental == 5);
}

// Every value, result and contribution of a run, and the state it leaves.
struct RunRecord {
    std::vector<double> Values;
    RunOutcome Outcome;
    std::vector<double> Widths;
    std::uint32_t SeedAfter = 0;
};

RunRecord RunOnThreads(const std::string& path, int threads, int stopAtUpdate) {
    struct Keeper : RunObserver {
        RunRecord* Record = nullptr;
        SimulationSession* Session = nullptr;
        int StopAt = -1, Updates = 0;
        void ProgressUpdated(const RunProgress&) override {
            if (++Updates == StopAt) Session->StopRequested = true;
        }
        void ValuesComputed(double* values, std::int64_t count) override {
            Record->Values.assign(values, values + count);
        }
    };
    testing::ScriptedDialogs dialogs;
    auto opened = testing::Open(*ReadModelFile(path, dialogs), dialogs, path);
    // A sample may leave a quantity to the user: it is held at 1 here.
    for (ModelParameter& p : opened->Document.Parameters) {
        if (p.Init) continue;
        p.Distrib = static_cast<std::int32_t>(DistributionKind::Constante);
        p.Valor = "1";
        p.Init = true;
    }
    RunRecord record;
    SimulationSession session;
    Keeper keeper;
    keeper.Record = &record;
    keeper.Session = &session;
    keeper.StopAt = stopAtUpdate;
    const RunSettings settings{.Iterations = 30011, .Seed = 7, .Threads = threads};
    record.Outcome = RunSimulation(opened->PostfixExpression, opened->Document.Parameters, settings,
                                   testing::BuiltInTexts(), dialogs, session, keeper);
    record.SeedAfter = UniformSeed;
    for (const ModelParameter& p : opened->Document.Parameters)
        record.Widths.push_back(p.Sensib);
    return record;
}

// However many threads compute it and wherever it is stopped, a run gives the same values.
TEST_P(ShippedSample, RunsTheSameOnEveryThreadCount) {
    for (int stopAt : {-1, 40}) {
        const RunRecord one = RunOnThreads(path, 1, stopAt);
        ASSERT_EQ(one.Outcome.Status, stopAt < 0 ? RunStatus::Completed : RunStatus::Interrupted);
        for (int threads : {2, 3}) {
            const RunRecord many = RunOnThreads(path, threads, stopAt);
            const auto results = [](const RunRecord& r) {
                const RunOutcome& o = r.Outcome;
                return std::tie(r.Values, r.Widths, r.SeedAfter, o.Status, o.Computed,
                                o.FailedDraws, o.Last.Histogram.Counts, o.Grid, o.IntervalText,
                                o.ClassicText, o.NormalityText, o.MeanText, o.VarianceText);
            };
            EXPECT_EQ(results(many), results(one)) << threads << " threads, stop " << stopAt;
        }
    }
}

std::vector<std::string> Samples() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(CORVANTA_SOURCE_DIR "/samples"))
        if (entry.path().extension() == ".cvm") names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

INSTANTIATE_TEST_SUITE_P(Samples, ShippedSample, ::testing::ValuesIn(Samples()),
                         [](const auto& info) {
                             std::string name = info.param.substr(0, info.param.size() - 4);
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

}  // namespace
}  // namespace corvanta
