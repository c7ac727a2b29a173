#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "captions/Captions.h"
#include "captions/UserDialogs.h"
#include "distributions/Correlations.h"
#include "distributions/ModelParameter.h"
#include "distributions/Sampling.h"

namespace corvanta {

// The model text of a run compiled once into a flat program over doubles:
// the quantities are drawn in the order of their first token with samplers
// whose texts were parsed once, and every draw and stack value is rounded to
// 15 significant digits with RoundToGeneralFast. Evaluate() gives bit for bit
// the value, the uniform draws and the fault of GetIteration (with a varied
// quantity, those of GetIterationPar). A model text whose shape the program
// can't hold (a stack that runs short or keeps more than one value, tokens
// that only look like operators) is evaluated through text instead, so the
// results stay the same.
//
// Iterations are evaluated in batches: the draws of consecutive iterations
// are made one iteration after the other, exactly as single calls would make
// them, and the program then runs over the whole batch. Evaluation draws
// nothing, so the values, faults and uniform states of each iteration are
// those of single calls; the batch lets the processor overlap the
// iterations, and lets one batch be computed on another thread while the
// next is drawn.
class CompiledModel {
  public:
    static constexpr std::size_t kBatch = 1024;

    // All quantities drawn (varied empty), or only the one at `varied` with
    // every other quantity at its fixed value. A token that names no quantity
    // shows "Incompatible parameter: tok" and throws
    // IncompatibleParameterError, as the first iteration would. With every
    // quantity drawn, the inputs of the model that have a coefficient in
    // `correlations` are drawn together (JointSampler) when the first of
    // them is met; CorrelationRefused when they can't be.
    CompiledModel(std::string_view modelText, const ParameterList& parameters,
                  const MessageTexts& texts, UserDialogs& dialogs,
                  std::optional<std::size_t> varied = std::nullopt,
                  const CorrelationList& correlations = {});

    // One iteration; faults propagate as CalcError.
    double Evaluate();

    // The work area of one batch of iterations.
    struct Batch {
        std::size_t Count = 0;
        std::vector<double> Work;        // the columns of draws and computed values
        std::vector<long double> Draws;  // the draws before rounding
        std::vector<double> Values;
        std::vector<std::exception_ptr> Faults;
        std::vector<std::uint32_t> SeedAfter;

        bool Failed(std::size_t t) const { return Faults[t] != nullptr; }
    };
    Batch MakeBatch() const;
    // Draws the next `count` iterations (at most kBatch; a single one, fully
    // evaluated, when the model is evaluated through text), one after the
    // other through the uniform source, recording its state after each.
    void Draw(Batch& batch, std::size_t count);
    // Rounds the draws and runs the program over the batch. Touches nothing
    // but the batch: it may run on another thread while the next batch is
    // drawn.
    void Compute(Batch& batch) const;

    // Draw and Compute on the model's own batch, for callers that want no
    // more: Value(t) or Fault(t) of each iteration and the state after it.
    std::size_t EvaluateBatch(std::size_t count);
    bool Failed(std::size_t t) const { return own_.Failed(t); }
    double Value(std::size_t t) const { return own_.Values[t]; }
    const std::exception_ptr& Fault(std::size_t t) const { return own_.Faults[t]; }
    std::uint32_t SeedAfter(std::size_t t) const { return own_.SeedAfter[t]; }

    // True when the model is evaluated through text.
    bool UsesText() const { return usesText_; }

  private:
    enum class SlotKind { Sampled, Failing, Joint };
    struct Slot {
        SlotKind Kind = SlotKind::Sampled;
        std::optional<PreparedSampler> Sampler;
        std::exception_ptr Failure;
        std::size_t Parameter = 0;
    };
    // An operand: a column of the work area, or one value for every iteration.
    struct Operand {
        bool IsColumn = false;
        std::uint32_t Column = 0;
        double Constant = 0;
    };
    enum class Code : std::uint8_t { Operator, Function };
    struct Instruction {
        Code Kind = Code::Operator;
        char Operator = 0;
        std::string FunctionName;
        Operand A, B;  // B only for operators; A is the deeper operand
        std::uint32_t Result = 0;
    };

    static double* Column(Batch& batch, std::uint32_t c) {
        return batch.Work.data() + static_cast<std::size_t>(c) * kBatch;
    }

    std::string modelText_;
    ParameterList parameters_;
    const MessageTexts* texts_;
    UserDialogs* dialogs_;
    std::optional<std::size_t> varied_;
    bool usesText_ = false;
    std::vector<Slot> slots_;  // column s holds the draws of slot s
    // The correlated inputs: their sampler and their slots in member order;
    // the draw is made at the first of them.
    std::optional<JointSampler> joint_;
    std::vector<std::size_t> jointSlots_;
    std::vector<Instruction> program_;
    Operand result_;
    std::size_t columns_ = 0;
    Batch own_;
};

// The double that a number text of the evaluation stack stands for, given
// the value the text denotes. Texts that can't be read back as a double
// (INF, -INF, NAN, and values beyond the double range) are kept as marked
// not-a-number values; OperandOf raises their fault when they are used.
double StackValueOfText(long double denoted);
// The stack value of a computed or drawn value: its 15-significant-digit text
// read back.
double StackValueOf(long double value);
double StackValueOf(double value);
// The operand that the evaluation reads from a stack value.
double OperandOf(double stackValue);

}  // namespace corvanta
