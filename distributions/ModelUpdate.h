#pragma once

#include <string>
#include <string_view>

#include "captions/Captions.h"
#include "captions/UserDialogs.h"
#include "distributions/ModelParameter.h"

namespace corvanta {

// The outcome of "Update parameters" on a model text.
struct ModelUpdate {
    bool Accepted = false;          // false: rejected or the model text was empty
    std::string ModelText;          // the model text with empty lines removed (always filled)
    std::string PostfixExpression;  // the compiled, substituted output equation
    ParameterList Parameters;       // rebuilt; records of surviving names restored
    bool ParametersReady = false;   // CheckReady of Parameters
};

// Analyses the model text and rebuilds the quantity list: the output gets
// Distrib 19 and the intermediate quantities 18 (both ready), every input a
// fresh record. A record of `previous` whose name survives replaces the fresh
// one whole, except that the role codes 18 and 19 always follow the new
// model: a name that is now an input and comes back with one of them returns
// to Distrib 0, not ready; a name that is now computed gets its role code.
// Lines that are empty or hold only blanks are removed first and the rest are
// joined with CR LF. An empty model text does nothing. On rejection the
// messages have been shown, Parameters is a copy of `previous`,
// PostfixExpression is empty and the caller keeps its own state.
ModelUpdate UpdateParameters(std::string_view modelText, const ParameterList& previous,
                             const MessageTexts& messages, UserDialogs& dialogs);

// The model text without its empty (or blank) lines, joined with CR LF and
// without a line end after the last line.
std::string RemoveEmptyLines(std::string_view modelText);

}  // namespace corvanta
