#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

#include "captions/Captions.h"
#include "captions/UserDialogs.h"
#include "distributions/ModelParameter.h"

namespace corvanta {

// A model token that names no quantity: the message has been shown and the
// work that met it must stop (the model can't be evaluated at all).
class IncompatibleParameterError : public std::runtime_error {
  public:
    explicit IncompatibleParameterError(const std::string& message) : std::runtime_error(message) {}
};

// The index of the quantity a model token names. A token that names none
// shows "Incompatible parameter: tok" and throws IncompatibleParameterError.
std::size_t FindQuantity(const ParameterList& parameters, std::string_view token,
                         const MessageTexts& texts, UserDialogs& dialogs);

// True for the tokens the iteration leaves alone: an operator, a number or a
// function name (pi included).
bool IsFixedToken(std::string_view token);

// One iteration through text, the reference for the compiled model: every
// quantity of the model text (postfix, one token per line) is drawn once, at
// its first occurrence, written as 15-significant-digit text into every line
// that names it, and the text is evaluated. Evaluation faults and failed
// draws propagate as CalcError. A token that names no quantity shows
// "Incompatible parameter: tok" and throws IncompatibleParameterError.
double GetIteration(std::string_view modelText, const ParameterList& parameters,
                    const MessageTexts& texts, UserDialogs& dialogs);

// As GetIteration, but only the quantity at `index` of the list is drawn;
// every other one takes its fixed central value (FixedValue).
double GetIterationPar(std::size_t index, std::string_view modelText,
                       const ParameterList& parameters, const MessageTexts& texts,
                       UserDialogs& dialogs);

// The value a quantity is held at while another one varies. Kinds that are
// never sampled raise the same fault as a draw of them.
long double FixedValue(const ModelParameter& parameter);

}  // namespace corvanta
