#include "simulation/CompiledModel.h"

#include <bit>
#include <cmath>
#include <limits>
#include <type_traits>

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

namespace {

// The stack value of a computed or drawn value, inline in the loops over a
// batch so that the processor can work on several iterations at once.
template <typename Real>
[[gnu::always_inline]] inline double ToStack(const Real& value) {
    if (std::isnan(value)) return Mark(Marked::NotANumber);
    if (std::isinf(value)) return Mark(value > 0 ? Marked::PlusInfinity : Marked::MinusInfinity);
    double operand;
    if constexpr (std::is_same_v<Real, long double>) {
        operand = static_cast<double>(RoundStoredToGeneralFast(value));
    } else {
        operand = static_cast<double>(RoundToGeneralFast(value));
    }
    return std::isinf(operand) ? Mark(Marked::Beyond) : operand;
}

// The same for a stored operator result, which is always finite; its
// 15-digit value only leaves the double range beyond 1E308.
[[gnu::always_inline]] inline double FiniteToStack(double value) {
    const double operand = static_cast<double>(RoundToGeneralFast(value));
    return std::fabs(operand) <= std::numeric_limits<double>::max() ? operand
                                                                    : Mark(Marked::Beyond);
}

[[gnu::always_inline]] inline double ToOperand(double stackValue) {
    if (std::isnan(stackValue)) [[unlikely]]
        RaiseMarked(stackValue);
    return stackValue;
}

}  // namespace

double StackValueOfText(long double denoted) {
    const double operand = static_cast<double>(denoted);
    return std::isinf(operand) ? Mark(Marked::Beyond) : operand;
}

double StackValueOf(long double value) {
    return ToStack(value);
}
double StackValueOf(double value) {
    return ToStack(value);
}
double OperandOf(double stackValue) {
    return ToOperand(stackValue);
}

CompiledModel::CompiledModel(std::string_view modelText, const ParameterList& parameters,
                             const MessageTexts& texts, UserDialogs& dialogs,
                             std::optional<std::size_t> varied, const CorrelationList& correlations)
    : modelText_(modelText),
      parameters_(parameters),
      texts_(&texts),
      dialogs_(&dialogs),
      varied_(varied) {
    const std::vector<std::string> tokens = SplitLines(modelText);
    std::vector<std::optional<Operand>> operandOfParameter(parameters.size());
    std::vector<Operand> stack;
    std::uint32_t columns = 0;
    bool regular = true;
    // The result of the instruction just added, counted down from the top of
    // the column numbers until the columns are laid out.
    const auto pending = [&] {
        return Operand{true, UINT32_MAX - static_cast<std::uint32_t>(program_.size() - 1), 0};
    };
    const auto constant = [](double value) {
        Operand o;
        o.Constant = value;
        return o;
    };
    for (const std::string& token : tokens) {
        if (IsFixedToken(token)) {
            if (IsOperatorToken(token)) {
                if (stack.size() < 2) {
                    regular = false;
                    break;
                }
                Instruction instruction;
                instruction.Kind = Code::Operator;
                instruction.Operator = token[0];
                instruction.B = stack.back();
                stack.pop_back();
                instruction.A = stack.back();
                stack.pop_back();
                program_.push_back(std::move(instruction));
                stack.push_back(pending());
            } else if (IsFunctionName(token)) {
                if (IsPiToken(token)) {
                    stack.push_back(constant(StackValueOfText(ParseFloat(kPiText))));
                } else {
                    if (stack.empty()) {
                        regular = false;
                        break;
                    }
                    Instruction instruction;
                    instruction.Kind = Code::Function;
                    instruction.FunctionName = token;
                    instruction.A = stack.back();
                    stack.pop_back();
                    program_.push_back(std::move(instruction));
                    stack.push_back(pending());
                }
            } else if (IsNumber(token)) {
                long double denoted = 0;
                if (!TryParseFloat(token, denoted)) {
                    regular = false;
                    break;
                }
                stack.push_back(constant(StackValueOfText(denoted)));
            } else {
                regular = false;  // looks like an operator to the iteration only
                break;
            }
            continue;
        }
        const std::size_t found = FindQuantity(parameters, token, texts, dialogs);
        if (!operandOfParameter[found]) {
            const ModelParameter& p = parameters[found];
            const bool drawn = !varied || *varied == found;
            Operand operand;
            try {
                if (!drawn) {
                    operand = constant(StackValueOf(FixedValue(p)));
                } else if (p.Kind() == DistributionKind::Constante) {
                    // Draws no uniform: its one value serves every iteration.
                    operand = constant(StackValueOf(SampleParameter(p)));
                } else {
                    Slot slot;
                    slot.Sampler.emplace(p);
                    slot.Parameter = found;
                    operand = Operand{true, static_cast<std::uint32_t>(slots_.size()), 0};
                    slots_.push_back(std::move(slot));
                }
            } catch (const CalcError&) {
                Slot slot;
                slot.Kind = SlotKind::Failing;
                slot.Failure = std::current_exception();
                slot.Parameter = found;
                operand = Operand{true, static_cast<std::uint32_t>(slots_.size()), 0};
                slots_.push_back(std::move(slot));
            }
            operandOfParameter[found] = operand;
        }
        stack.push_back(*operandOfParameter[found]);
    }
    if (stack.size() != 1) regular = false;
    usesText_ = !regular;
    if (!varied && !correlations.empty()) {
        // The drawn inputs with a coefficient between them, in slot order.
        std::vector<std::size_t> members;
        for (std::size_t s = 0; s < slots_.size(); ++s) {
            const std::string& name = parameters[slots_[s].Parameter].Nombre;
            for (std::size_t t = 0; t < slots_.size(); ++t) {
                if (t != s && CorrelationOf(correlations, name,
                                            parameters[slots_[t].Parameter].Nombre) != 0) {
                    jointSlots_.push_back(s);
                    members.push_back(slots_[s].Parameter);
                    break;
                }
            }
        }
        if (!members.empty()) {
            joint_.emplace(parameters, members, correlations);
            for (std::size_t s : jointSlots_)
                slots_[s].Kind = SlotKind::Joint;
            // The textual evaluation draws every input on its own; a model it
            // must evaluate can't honour the coefficients.
            if (usesText_)
                throw CorrelationRefused(
                    "The correlated inputs of this model can't be drawn together.");
        }
    }
    if (usesText_) {
        program_.clear();
        slots_.clear();
    } else {
        // The draws take the first columns; computed values follow them.
        columns = static_cast<std::uint32_t>(slots_.size());
        const auto resolve = [&](Operand& o) {
            if (o.IsColumn && o.Column > UINT32_MAX - program_.size())
                o.Column = program_[UINT32_MAX - o.Column].Result;
        };
        for (Instruction& instruction : program_) {
            resolve(instruction.A);
            resolve(instruction.B);
            instruction.Result = columns++;
        }
        result_ = stack.back();
        resolve(result_);
    }
    columns_ = columns;
    own_ = MakeBatch();
}

CompiledModel::Batch CompiledModel::MakeBatch() const {
    Batch batch;
    batch.Work.assign(columns_ * kBatch, 0);
    batch.Draws.assign(slots_.size() * kBatch, 0);
    batch.Values.assign(kBatch, 0);
    batch.Faults.assign(kBatch, nullptr);
    batch.SeedAfter.assign(kBatch, 0);
    return batch;
}

void CompiledModel::Draw(Batch& batch, std::size_t count) {
    if (usesText_) {
        // Through text a batch is one iteration, evaluated here: an
        // evaluation may show a message, which must not come ahead of its
        // iteration.
        batch.Count = 1;
        batch.Faults[0] = nullptr;
        try {
            batch.Values[0] =
                varied_ ? GetIterationPar(*varied_, modelText_, parameters_, *texts_, *dialogs_)
                        : GetIteration(modelText_, parameters_, *texts_, *dialogs_);
        } catch (const CalcError&) {
            batch.Faults[0] = std::current_exception();
        }
        batch.SeedAfter[0] = UniformSeed;
        return;
    }
    batch.Count = std::min(count, kBatch);
    for (std::size_t t = 0; t < batch.Count; ++t) {
        batch.Faults[t] = nullptr;
        try {
            for (std::size_t s = 0; s < slots_.size(); ++s) {
                const Slot& slot = slots_[s];
                if (slot.Kind == SlotKind::Failing) std::rethrow_exception(slot.Failure);
                if (slot.Kind == SlotKind::Joint) {
                    if (s == jointSlots_.front()) {
                        long double values[64];
                        std::vector<long double> more;
                        long double* out = values;
                        if (jointSlots_.size() > 64) {
                            more.resize(jointSlots_.size());
                            out = more.data();
                        }
                        joint_->Draw(out);
                        for (std::size_t k = 0; k < jointSlots_.size(); ++k)
                            batch.Draws[jointSlots_[k] * kBatch + t] = out[k];
                    }
                    continue;
                }
                batch.Draws[s * kBatch + t] = slot.Sampler->Draw();
            }
        } catch (const CalcError&) {
            batch.Faults[t] = std::current_exception();
        }
        batch.SeedAfter[t] = UniformSeed;
    }
}

namespace {

// The arithmetic of the four plain operators exactly as the evaluation does
// it: in extended precision, then stored as a double with its checks. The
// power goes through the engine itself.
[[gnu::always_inline]] inline double Arithmetic(char op, double a, double b) {
    const long double x = a, y = b;
    long double r;
    switch (op) {
        case '+':
            r = x + y;
            break;
        case '-':
            r = x - y;
            break;
        case '*':
            r = x * y;
            break;
        case '/':
            if (y == 0) {
                if (x == 0 || std::isnan(x)) ThrowInvalidOperation();
                ThrowDivisionByZero();
            }
            r = x / y;
            break;
        default:
            return ApplyOperator(op, a, b);
    }
    if (std::isnan(r)) ThrowInvalidOperation();
    const double stored = static_cast<double>(r);
    if (std::isinf(stored)) ThrowOverflow();
    return stored;
}

}  // namespace

void CompiledModel::Compute(Batch& batch) const {
    if (usesText_) return;
    const std::size_t count = batch.Count;
    std::vector<std::exception_ptr>& faults = batch.Faults;
    // The draws follow one another through the uniform source; their
    // rounding does not, and runs as a loop of its own.
    for (std::size_t s = 0; s < slots_.size(); ++s) {
        const long double* drawn = batch.Draws.data() + s * kBatch;
        double* column = Column(batch, static_cast<std::uint32_t>(s));
        for (std::size_t t = 0; t < count; ++t)
            if (!faults[t]) column[t] = ToStack(drawn[t]);
    }
    for (const Instruction& instruction : program_) {
        double* out = Column(batch, instruction.Result);
        const double* a = instruction.A.IsColumn ? Column(batch, instruction.A.Column) : nullptr;
        const double* b = instruction.B.IsColumn ? Column(batch, instruction.B.Column) : nullptr;
        const double aConstant = instruction.A.Constant, bConstant = instruction.B.Constant;
        for (std::size_t t = 0; t < count; ++t) {
            if (faults[t]) continue;
            try {
                if (instruction.Kind == Code::Operator) {
                    // The top of the stack is read first.
                    const double y = ToOperand(b ? b[t] : bConstant);
                    const double x = ToOperand(a ? a[t] : aConstant);
                    out[t] = FiniteToStack(Arithmetic(instruction.Operator, x, y));
                } else {
                    const double x = ToOperand(a ? a[t] : aConstant);
                    out[t] = ToStack(ApplyFunction(instruction.FunctionName, x));
                }
            } catch (const CalcError&) {
                faults[t] = std::current_exception();
            }
        }
    }
    const double* result = result_.IsColumn ? Column(batch, result_.Column) : nullptr;
    for (std::size_t t = 0; t < count; ++t) {
        if (faults[t]) continue;
        try {
            batch.Values[t] = ToOperand(result ? result[t] : result_.Constant);
        } catch (const CalcError&) {
            faults[t] = std::current_exception();
        }
    }
}

std::size_t CompiledModel::EvaluateBatch(std::size_t count) {
    Draw(own_, count);
    Compute(own_);
    return own_.Count;
}

double CompiledModel::Evaluate() {
    EvaluateBatch(1);
    if (own_.Faults[0]) std::rethrow_exception(own_.Faults[0]);
    return own_.Values[0];
}

}  // namespace corvanta
