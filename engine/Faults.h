#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace corvanta {

// The kinds of failure that a computation reports with the system's own
// texts. Arithmetic faults are detected by explicit checks of operands and
// results, never by hardware traps.
enum class FaultKind {
    InvalidOperation,  // "Invalid floating point operation"
    DivisionByZero,    // "Floating point division by zero"
    Overflow,          // "Floating point overflow"
    Conversion,        // "'%s' is not a valid floating point value" / integer value
    ListIndex,         // "List index out of bounds (%d)"
};

class CalcError : public std::runtime_error {
  public:
    CalcError(FaultKind kind, const std::string& message)
        : std::runtime_error(message), kind_(kind) {}
    FaultKind Kind() const { return kind_; }

  private:
    FaultKind kind_;
};

inline constexpr const char* kInvalidOperationText = "Invalid floating point operation";
inline constexpr const char* kDivisionByZeroText = "Floating point division by zero";
inline constexpr const char* kOverflowText = "Floating point overflow";

[[noreturn]] inline void ThrowInvalidOperation() {
    throw CalcError(FaultKind::InvalidOperation, kInvalidOperationText);
}
[[noreturn]] inline void ThrowDivisionByZero() {
    throw CalcError(FaultKind::DivisionByZero, kDivisionByZeroText);
}
[[noreturn]] inline void ThrowOverflow() {
    throw CalcError(FaultKind::Overflow, kOverflowText);
}

// "'%s' is not a valid floating point value" with the text in place of %s.
std::string InvalidFloatText(std::string_view text);
// "'%s' is not a valid integer value" with the text in place of %s.
std::string InvalidIntegerText(std::string_view text);
// "List index out of bounds (%d)".
std::string ListIndexText(long index);

}  // namespace corvanta
