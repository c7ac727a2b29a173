#include "simulation/CompiledModel.h"

#include <bit>
#include <cmath>

#include "engine/Equations.h"
#include "engine/Faults.h"
#include "engine/NumberText.h"
#include "simulation/FastRounding.h"
#include "simulation/Iteration.h"

namespace corvanta {

namespace {

// Marked not-a-number values: the payload says which text the stack holds.
enum class Marked : std::uint64_t {
    PlusInfinity = 1,
    MinusInfinity = 2,
    NotANumber = 3,
    Beyond = 4
};

constexpr std::uint64_t kQuietNan = 0x7FF8000000000000ULL;

double Mark(Marked what) {
    return std::bit_cast<double>(kQuietNan | static_cast<std::uint64_t>(what));
}

[[noreturn]] void RaiseMarked(double stackValue) {
    switch (static_cast<Marked>(std::bit_cast<std::uint64_t>(stackValue) & 0xFF)) {
        case Marked::PlusInfinity:
            throw CalcError(FaultKind::Conversion, InvalidFloatText("INF"));
        case Marked::MinusInfinity:
            throw CalcError(FaultKind::Conversion, InvalidFloatText("-INF"));
        case Marked::Beyond:
            ThrowOverflow();
        default:
            throw CalcError(FaultKind::Conversion, InvalidFloatText("NAN"));
    }
}

bool IsOperatorToken(std::string_view token) {
    return token.size() == 1 && (token[0] == '+' || token[0] == '-' || token[0] == '*' ||
                                 token[0] == '/' || token[0] == '^');
}

bool IsPiToken(std::string_view token) {
    return token.size() == 2 && (token[0] == 'p' || token[0] == 'P') &&
           (token[1] == 'i' || token[1] == 'I');
}

}  // namespace

double StackValueOfText(long double denoted) {
    const double operand = static_cast<double>(denoted);
    return std::isinf(operand) ? Mark(Marked::Beyond) : operand;
}

double StackValueOf(long double value) {
    if (std::isnan(value)) return Mark(Marked::NotANumber);
    if (std::isinf(value)) return Mark(value > 0 ? Marked::PlusInfinity : Marked::MinusInfinity);
    return StackValueOfText(RoundToGeneralFast(value));
}

double OperandOf(double stackValue) {
    if (std::isnan(stackValue)) RaiseMarked(stackValue);
    return stackValue;
}

CompiledModel::CompiledModel(std::string_view modelText, const ParameterList& parameters,
                             const MessageTexts& texts, UserDialogs& dialogs,
                             std::optional<std::size_t> varied)
    : modelText_(modelText),
      parameters_(parameters),
      texts_(&texts),
      dialogs_(&dialogs),
      varied_(varied) {
    const std::vector<std::string> tokens = SplitLines(modelText);
    std::vector<std::size_t> slotOfParameter(parameters.size(), SIZE_MAX);
    std::size_t depth = 0, deepest = 0;
    bool regular = true;
    for (const std::string& token : tokens) {
        Instruction instruction;
        instruction.Kind = Code::PushConstant;
        if (IsFixedToken(token)) {
            if (IsOperatorToken(token)) {
                instruction.Kind = Code::Operator;
                instruction.Operator = token[0];
                if (depth < 2) regular = false;
                --depth;
            } else if (IsFunctionName(token)) {
                if (IsPiToken(token)) {
                    instruction.Constant = StackValueOfText(ParseFloat(kPiText));
                    ++depth;
                } else {
                    instruction.Kind = Code::Function;
                    instruction.FunctionName = token;
                    if (depth < 1) regular = false;
                }
            } else if (IsNumber(token)) {
                long double denoted = 0;
                if (!TryParseFloat(token, denoted)) regular = false;
                instruction.Constant = StackValueOfText(denoted);
                ++depth;
            } else {
                regular = false;  // looks like an operator to the iteration only
            }
        } else {
            std::size_t found = 0;
            while (found < parameters.size() && parameters[found].Nombre != token)
                ++found;
            if (found == parameters.size()) {
                const std::string message = IncompatibleParameterText(texts, token);
                dialogs.ShowMessage(message);
                throw IncompatibleParameterError(message);
            }
            if (slotOfParameter[found] == SIZE_MAX) {
                slotOfParameter[found] = slots_.size();
                Slot slot;
                const ModelParameter& p = parameters[found];
                const bool drawn = !varied || *varied == found;
                try {
                    if (!drawn) {
                        slot.Value = StackValueOf(FixedValue(p));
                    } else if (p.Kind() == DistributionKind::Constante) {
                        // Draws no uniform: its one value serves every iteration.
                        slot.Value = StackValueOf(SampleParameter(p));
                    } else {
                        slot.Kind = SlotKind::Sampled;
                        slot.Sampler.emplace(p);
                    }
                } catch (...) {
                    slot.Kind = SlotKind::Failing;
                    slot.Failure = std::current_exception();
                }
                slots_.push_back(std::move(slot));
            }
            instruction.Kind = Code::PushSlot;
            instruction.Slot = static_cast<std::uint32_t>(slotOfParameter[found]);
            ++depth;
        }
        if (!regular) break;
        deepest = std::max(deepest, depth);
        program_.push_back(std::move(instruction));
    }
    if (depth != 1) regular = false;
    usesText_ = !regular;
    slotValues_.assign(slots_.size(), 0);
    stack_.assign(deepest + 1, 0);
}

double CompiledModel::Evaluate() {
    if (usesText_) {
        return varied_ ? GetIterationPar(*varied_, modelText_, parameters_, *texts_, *dialogs_)
                       : GetIteration(modelText_, parameters_, *texts_, *dialogs_);
    }
    for (std::size_t s = 0; s < slots_.size(); ++s) {
        Slot& slot = slots_[s];
        switch (slot.Kind) {
            case SlotKind::Sampled:
                slotValues_[s] = StackValueOf(slot.Sampler->Draw());
                break;
            case SlotKind::Fixed:
                slotValues_[s] = slot.Value;
                break;
            case SlotKind::Failing:
                std::rethrow_exception(slot.Failure);
        }
    }
    double* top = stack_.data();  // one past the top value
    for (const Instruction& instruction : program_) {
        switch (instruction.Kind) {
            case Code::PushConstant:
                *top++ = instruction.Constant;
                break;
            case Code::PushSlot:
                *top++ = slotValues_[instruction.Slot];
                break;
            case Code::Operator: {
                const double b = OperandOf(*--top);
                const double a = OperandOf(*--top);
                *top++ = StackValueOf(ApplyOperator(instruction.Operator, a, b));
                break;
            }
            case Code::Function: {
                const double x = OperandOf(*--top);
                *top++ = StackValueOf(ApplyFunction(instruction.FunctionName, x));
                break;
            }
        }
    }
    return OperandOf(stack_[0]);
}

}  // namespace corvanta
