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
#include "distributions/ModelParameter.h"
#include "distributions/Sampling.h"

namespace corvanta {

// The model text of a run compiled once into a flat program over doubles:
// the quantities are drawn in the order of their first token with samplers
// whose texts were parsed once, and every draw and stack value is rounded to
// 15 significant digits with RoundToGeneralFast. Evaluate() gives bit for bit
// the value, the uniform draws and the fault of GetIteration (EvaluateVarying
// those of GetIterationPar). A model text whose shape the program can't hold
// (a stack that runs short or keeps more than one value, tokens that only
// look like operators) is evaluated through text instead, so the results
// stay the same.
class CompiledModel {
  public:
    // All quantities drawn (varied empty), or only the one at `varied` with
    // every other quantity at its fixed value. A token that names no quantity
    // shows "Incompatible parameter: tok" and throws
    // IncompatibleParameterError, as the first iteration would.
    CompiledModel(std::string_view modelText, const ParameterList& parameters,
                  const MessageTexts& texts, UserDialogs& dialogs,
                  std::optional<std::size_t> varied = std::nullopt);

    // One iteration; faults propagate as CalcError.
    double Evaluate();

    // True when the model is evaluated through text.
    bool UsesText() const { return usesText_; }

  private:
    enum class SlotKind { Sampled, Fixed, Failing };
    struct Slot {
        SlotKind Kind = SlotKind::Fixed;
        std::optional<PreparedSampler> Sampler;
        double Value = 0;  // stack value of a fixed quantity
        std::exception_ptr Failure;
    };
    enum class Code : std::uint8_t { PushConstant, PushSlot, Operator, Function };
    struct Instruction {
        Code Kind = Code::PushConstant;
        char Operator = 0;
        std::uint32_t Slot = 0;
        double Constant = 0;
        std::string FunctionName;
    };

    std::string modelText_;
    ParameterList parameters_;
    const MessageTexts* texts_;
    UserDialogs* dialogs_;
    std::optional<std::size_t> varied_;
    bool usesText_ = false;
    std::vector<Slot> slots_;
    std::vector<double> slotValues_;
    std::vector<Instruction> program_;
    std::vector<double> stack_;
};

// The double that a number text of the evaluation stack stands for, given
// the value the text denotes. Texts that can't be read back as a double
// (INF, -INF, NAN, and values beyond the double range) are kept as marked
// not-a-number values; OperandOf raises their fault when they are used.
double StackValueOfText(long double denoted);
// The stack value of a computed or drawn value: its 15-significant-digit text
// read back.
double StackValueOf(long double value);
// The operand that the evaluation reads from a stack value.
double OperandOf(double stackValue);

}  // namespace corvanta
