#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numeric>
#include <stdexcept>
#include <string>
#include <vector>

#include "captions/Captions.h"
#include "distributions/ModelUpdate.h"
#include "distributions/Sampling.h"
#include "engine/Faults.h"
#include "simulation/AdaptiveRun.h"
#include "simulation/CompiledModel.h"
#include "simulation/GumFramework.h"
#include "simulation/Run.h"
#include "support/Records.h"
#include "support/ScriptedDialogs.h"

namespace corvanta::testing {

using K = DistributionKind;
using Shown = ScriptedDialogs::Shown;
const auto R = [](auto... a) { return Record(a...); };

inline const MessageTexts& Texts() {
    static const MessageTexts texts = FormMessageTexts(CaptionTable::BuiltIn());
    return texts;
}

// The distribution of one input quantity, as the Apply command stores it.
struct Input {
    std::string Name;
    DistributionKind Kind;
    std::string Valor, A = "", B = "", Grados = "";
};

struct Model {
    std::string PostfixExpression;
    ParameterList Parameters;
};

inline std::size_t IndexOf(const Model& model, const std::string& name) {
    for (std::size_t j = 0; j < model.Parameters.size(); ++j)
        if (model.Parameters[j].Nombre == name) return j;
    throw std::logic_error("no quantity " + name);
}

// Compiles the equations as "Update parameters" does and assigns the inputs.
inline Model MakeModel(const std::string& equations, const std::vector<Input>& inputs) {
    SilentDialogs dialogs;
    ModelUpdate update = UpdateParameters(equations, {}, Texts(), dialogs);
    if (!update.Accepted) throw std::logic_error("model rejected: " + equations);
    Model model{update.PostfixExpression, update.Parameters};
    for (const Input& in : inputs) {
        ModelParameter& p = model.Parameters[IndexOf(model, in.Name)];
        p.Distrib = static_cast<std::int32_t>(in.Kind);
        p.Valor = in.Valor, p.a = in.A, p.b = in.B, p.Grados = in.Grados, p.Init = true;
    }
    return model;
}

inline GumResult Gum(const Model& m, const CorrelationList& correlations = {}) {
    SilentDialogs dialogs;
    return EvaluateGum(m.PostfixExpression, m.Parameters, 0.95L, Texts(), dialogs, correlations);
}

inline bool SameBits(long double a, long double b) {
    return std::memcmp(&a, &b, 10) == 0;
}

// EXPECT_NEAR of each {got, want, tolerance}, reported by position.
struct Near {
    long double Got;
    double Want, Tolerance;
};
inline void ExpectNear(std::initializer_list<Near> checks) {
    int at = 0;
    for (const Near& c : checks)
        EXPECT_NEAR(static_cast<double>(c.Got), c.Want, c.Tolerance) << "check " << at++;
}

// Mean and central moments (divisor n), in two passes.
struct Moments {
    long double Mean = 0, M2 = 0, M3 = 0, M4 = 0;
    double Sd() const { return std::sqrt(static_cast<double>(M2)); }
};
inline Moments MomentsOf(const std::vector<double>& v) {
    Moments m;
    m.Mean = std::accumulate(v.begin(), v.end(), 0.0L) / v.size();
    for (double x : v) {
        const long double e = x - m.Mean;
        m.M2 += e * e, m.M3 += e * e * e, m.M4 += e * e * e * e;
    }
    m.M2 /= v.size(), m.M3 /= v.size(), m.M4 /= v.size();
    return m;
}

// Records what the window would show, and asks to stop at a chosen update.
struct RecordingObserver : RunObserver {
    SimulationSession* Session = nullptr;
    int StopAtUpdate = -1;
    std::vector<std::int64_t> Updates;  // 1-based iteration numbers
    std::vector<int> BarWidths;
    std::vector<std::int64_t> Iterations;
    std::vector<bool> Marks;
    std::vector<std::string> ResultsShown;  // the grid handed over, with the run already over

    void ProgressUpdated(const RunProgress& progress) override {
        Updates.push_back(progress.Iteration);
        Marks.push_back(progress.Update->Marks);
        if (static_cast<int>(Updates.size()) == StopAtUpdate) Session->StopRequested = true;
    }
    void BarStepped(int width) override { BarWidths.push_back(width); }
    void IterationReached(std::int64_t iteration) override { Iterations.push_back(iteration); }
    void ResultsReady(const RunOutcome& outcome) override {
        EXPECT_FALSE(Session->SimulationRunning);
        ResultsShown.assign(outcome.Grid.begin(), outcome.Grid.end());
    }
};

// One run with its session, observer and dialogs kept for inspection.
struct Ran {
    SimulationSession Session;
    RecordingObserver Observer;
    ScriptedDialogs Dialogs;
    RunOutcome Out;
    std::uint32_t SeedAfter = 0;
    Ran(Model& m, std::int64_t n, bool view, std::uint32_t seed, int stopAt = -1, int threads = 0,
        const CorrelationList& correlations = {}) {
        Observer.Session = &Session, Observer.StopAtUpdate = stopAt;
        const RunSettings s{.Iterations = n,
                            .ProgressView = view,
                            .Seed = seed,
                            .Threads = threads,
                            .Correlations = correlations};
        Out = RunSimulation(m.PostfixExpression, m.Parameters, s, Texts(), Dialogs, Session,
                            Observer);
        SeedAfter = UniformSeed;
    }
};

}  // namespace corvanta::testing
