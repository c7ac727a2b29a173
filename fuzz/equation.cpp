// Feeds arbitrary bytes to the model analysis as a set of equations, then
// evaluates the compiled output equation as it stands and with every quantity
// replaced by a number, and checks what an accepted set promises.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <unordered_set>

#include "captions/Captions.h"
#include "engine/Equations.h"
#include "engine/Faults.h"

// Compiled into this unit rather than taken from the library, so that the
// fuzzer's coverage instrumentation reaches the engine itself.
#include "engine/Equations.cpp"
#include "engine/Evaluation.cpp"

namespace {

using namespace corvanta;

void Check(bool condition) {
    if (!condition) std::abort();
}

void Evaluate(const std::string& tokens) {
    SilentDialogs dialogs;
    try {
        EvaluatePostfix(tokens, dialogs);
    } catch (const CalcError& error) {
        Check(error.Kind() != FaultKind::ListIndex);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const MessageTexts messages = FormMessageTexts(CaptionTable::BuiltIn());
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    SilentDialogs dialogs;
    EquationSet set;
    try {
        ParseModelSet(text, set, messages, dialogs);
    } catch (const CalcError& error) {
        Check(error.Kind() == FaultKind::ListIndex);
        return 0;
    }
    if (set.ErrorFlag) return 0;

    Check(set.MarkedText.size() <= kMaxSubstitutedLength);
    const auto names = SplitLines(set.NameList);
    Check(std::unordered_set<std::string>(names.begin(), names.end()).size() == names.size());

    std::string substituted;
    const char* values[] = {"0.5", "-2", "0", "1E300", "3"};
    std::size_t next = 0;
    for (const auto& token : SplitLines(set.PostfixText)) {
        Check(token != "(" && token != ")" && !token.empty());
        const bool isName = (token[0] >= 'A' && token[0] <= 'Z') ||
                            (token[0] >= 'a' && token[0] <= 'z') || token[0] == '_';
        substituted += (isName && !IsFunctionName(token)) ? values[next++ % 5] : token;
        substituted += "\r\n";
    }
    Evaluate(set.PostfixText);
    Evaluate(substituted);
    return 0;
}
