#include "engine/Equations.h"

#include <string>
#include <unordered_map>
#include <unordered_set>

#include "engine/Faults.h"
#include "engine/LineViews.h"
#include "engine/NumberText.h"

namespace corvanta {

namespace {

constexpr const char* kMustBeEquationText = "expression must be type: \" var = ...[expression]\"";
constexpr const char* kWrongExpressionText = "Wrong expression";
constexpr const char* kNumberAfterCloseText = "Cannot be a number after a \")\"";
constexpr const char* kPiFollowedByOpenText =
    "ERROR: function \"PI\" cannot be followed by a \"(\"";
constexpr const char* kInvalidExpressionText = "Invalid expression";
constexpr const char* kDuplicatedOperatorText = "ERROR: duplicated operator";

std::string IllegalCharacterText(char c) {
    return std::string("Illegal character ") + c + " in expression";
}
std::string VariableNeedsOperandText(std::string_view name) {
    return "ERROR: variable [" + std::string(name) + "] must be followed by an operand";
}
std::string FunctionNeedsOpenText(std::string_view name) {
    return "ERROR: function " + std::string(name) + " must be followed by \"(\"";
}
std::string ForbiddenOperandText(char c) {
    return std::string("ERROR: Forbidden operand \"") + c + "\" after a \"(\"";
}

bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool IsDigitOrPoint(char c) {
    return (c >= '0' && c <= '9') || c == '.';
}
bool IsOperatorChar(char c) {
    return c == '+' || c == '-' || c == '*' || c == '/' || c == '^';
}

// The alphabet of an equation as typed; anything else rejects it silently.
bool IsEquationCharacter(char c) {
    if (IsLetter(c) || IsDigitOrPoint(c) || IsOperatorChar(c)) return true;
    switch (c) {
        case ' ':
        case '(':
        case ')':
        case ',':
        case '=':
        case '[':
        case ']':
        case '{':
        case '}':
            return true;
        default:
            return false;
    }
}

bool IsPi(std::string_view name) {
    return name.size() == 2 && (name[0] == 'p' || name[0] == 'P') &&
           (name[1] == 'i' || name[1] == 'I');
}

// A function name that takes an argument: every function name but pi.
bool IsCallableFunction(std::string_view name) {
    return IsFunctionName(name) && !IsPi(name);
}

bool IsOperatorToken(std::string_view token) {
    return token.size() == 1 && IsOperatorChar(token[0]);
}

std::string JoinViews(const std::vector<std::string_view>& lines) {
    std::string text;
    for (auto line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

std::vector<std::string> Distinct(const std::vector<std::string>& names) {
    std::vector<std::string> distinct;
    std::unordered_set<std::string> seen;
    for (const auto& name : names)
        if (seen.insert(name).second) distinct.push_back(name);
    return distinct;
}

enum class ScanState { Start, InName, InNumber, AfterOperator, AfterOpen, AfterClose };

}  // namespace

std::string CircularDefinitionText(std::string_view name) {
    return "Error. The quantity " + std::string(name) + " is defined in terms of itself.";
}

std::string SubstitutionTooLongText() {
    return "Error. The output equation grows beyond " + IntegerText(kMaxSubstitutedLength) +
           " characters when the intermediate quantities are substituted into it.";
}

bool IsFunctionName(std::string_view name) {
    static const std::unordered_set<std::string_view> names = {
        "abs",           "exp",       "ln",          "log",         "pi",         "sqr",
        "sqrt",          "arccos",    "arccosh",     "arccot",      "arccoth",    "arccsc",
        "arccsch",       "arcsec",    "arcsech",     "arcsin",      "arcsinh",    "arctan",
        "arctanh",       "cosecant",  "cos",         "cosh",        "cot",        "coth",
        "csc",           "csch",      "cycletodeg",  "cycletograd", "cycletorad", "degtocycle",
        "degtograd",     "degtorad",  "gradtocycle", "gradtodeg",   "gradtorad",  "radtocycle",
        "radtodeg",      "radtograd", "mean",        "poly",        "power",      "sec",
        "sech",          "sin",       "sinh",        "stddev",      "tan",        "tanh",
        "totalvariance", "variance"};
    constexpr std::size_t kLongest = 13;  // "totalvariance"
    if (name.empty() || name.size() > kLongest) return false;
    char lower[kLongest];
    for (std::size_t i = 0; i < name.size(); ++i) {
        char c = name[i];
        lower[i] = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return names.count(std::string_view(lower, name.size())) != 0;
}

bool IsNumber(std::string_view text) {
    long double value = 0;
    return TryParseFloat(text, value);
}

std::string StripMarks(std::string_view text) {
    std::string stripped;
    stripped.reserve(text.size());
    for (char c : text)
        if (c != '[' && c != ']' && c != '{' && c != '}') stripped += c;
    return stripped;
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    for (auto line : SplitLineViews(text))
        lines.emplace_back(line);
    return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

int OperatorPriority(std::string_view token) {
    if (token == "+" || token == "-") return 1;
    if (token == "*" || token == "/") return 2;
    if (token == "^") return 3;
    return 0;
}

std::string SplitTokens(std::string_view rightSide, UserDialogs& dialogs) {
    enum class Kind { None, Number, Name, Parenthesis, Operator };
    std::vector<std::string> tokens;
    Kind kind = Kind::None;
    for (char c : rightSide) {
        if (IsDigitOrPoint(c)) {
            if (kind == Kind::Number || kind == Kind::Name) {
                tokens.back() += c;
            } else {
                tokens.emplace_back(1, c);
                kind = Kind::Number;
            }
        } else if (IsLetter(c)) {
            if (kind == Kind::Name) {
                tokens.back() += c;
            } else if (kind == Kind::Number) {
                std::string& number = tokens.back();
                bool exponentLetter = c == 'e' || c == 'E';
                if (exponentLetter && number.find_first_of("eE") == std::string::npos)
                    number += c;
                else
                    dialogs.ShowMessage(kSyntaxErrorText);
            } else {
                tokens.emplace_back(1, c);
                kind = Kind::Name;
            }
        } else if (c == '(' || c == ')') {
            tokens.emplace_back(1, c);
            kind = Kind::Parenthesis;
        } else if (IsOperatorChar(c)) {
            tokens.emplace_back(1, c);
            kind = Kind::Operator;
        }
        // "=" and anything else the cleaning let through produce no token.
    }
    return JoinLines(tokens);
}

std::string ToPostfix(std::string_view tokenText) {
    const std::vector<std::string_view> tokens = SplitLineViews(tokenText);
    std::vector<std::string_view> output;
    std::vector<std::string_view> stack;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const std::string_view t = tokens[i];
        const bool isOperator = IsOperatorToken(t);
        const bool isParenthesis = t == "(" || t == ")";
        const bool isFunction = IsCallableFunction(t);
        if (!isOperator && !isParenthesis && !isFunction) {
            output.push_back(t);
        } else if (isOperator) {
            if ((t == "+" || t == "-") && (i == 0 || tokens[i - 1] == "(")) output.push_back("0");
            while (!stack.empty() && OperatorPriority(stack.back()) >= OperatorPriority(t)) {
                output.push_back(stack.back());
                stack.pop_back();
            }
            stack.push_back(t);
        } else if (t == "(" || isFunction) {
            stack.push_back(t);
        } else {
            // A closing parenthesis with nothing open and nothing pending reads
            // the top of an empty list.
            if (stack.empty()) throw CalcError(FaultKind::ListIndex, ListIndexText(-1));
            while (!stack.empty() && stack.back() != "(") {
                output.push_back(stack.back());
                stack.pop_back();
            }
            if (!stack.empty() && stack.back() == "(") stack.pop_back();
            if (!stack.empty() && IsCallableFunction(stack.back())) {
                output.push_back(stack.back());
                stack.pop_back();
            }
        }
    }
    while (!stack.empty()) {
        if (stack.back() != "(" && stack.back() != ")") output.push_back(stack.back());
        stack.pop_back();
    }
    return JoinViews(output);
}

void ParseEquation(std::string_view text, EquationInfo& info, UserDialogs& dialogs) {
    info.NameList.clear();
    info.UniqueNames.clear();
    info.CleanText.clear();
    info.MarkedText.clear();
    info.PostfixText.clear();
    info.ErrorFlag = true;  // until the whole check has passed

    for (char c : text) {
        if (!IsEquationCharacter(c)) {
            info.ErrorCode = kIllegalCharacterCode;
            return;
        }
    }

    std::string& clean = info.CleanText;
    clean.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case ' ':
                break;
            case ',':
                clean += '.';
                break;
            case '[':
            case '{':
                clean += '(';
                break;
            case ']':
            case '}':
                clean += ')';
                break;
            default:
                clean += c;
        }
    }

    const std::size_t equals = clean.find('=');
    if (equals == std::string::npos) {
        dialogs.ShowMessage(kMustBeEquationText);
        return;
    }
    const std::string_view left = std::string_view(clean).substr(0, equals);
    const std::string_view right = std::string_view(clean).substr(equals + 1);

    for (char c : left) {
        if (c == '(' || c == ')' || IsOperatorChar(c)) {
            dialogs.ShowMessage(IllegalCharacterText(c));
            return;
        }
    }
    if (left.empty() || !IsLetter(left[0])) {
        dialogs.ShowMessage(kWrongExpressionText);
        return;
    }

    std::vector<std::string> names{std::string(left)};
    std::string& marked = info.MarkedText;
    marked.reserve(right.size() * 2 + left.size() + 3);
    marked = "[" + std::string(left) + "]=";
    std::string name;
    ScanState state = ScanState::Start;
    bool deferredError = false;

    // Writes the name that has just ended, followed by suffix; false when the
    // name is a function that was not called.
    auto closeName = [&](std::string_view suffix) {
        if (IsPi(name)) {
            marked += "{" + name + "}";
        } else if (IsFunctionName(name)) {
            dialogs.ShowMessage(FunctionNeedsOpenText(name));
            return false;
        } else {
            marked += "[" + name + "]";
            names.push_back(name);
        }
        marked += suffix;
        name.clear();
        return true;
    };

    for (char c : right) {
        if (IsLetter(c)) {
            if (state == ScanState::AfterClose) {
                deferredError = true;
            } else if (state == ScanState::InNumber) {
                return;
            } else {
                name += c;
                state = ScanState::InName;
            }
        } else if (IsDigitOrPoint(c)) {
            if (state == ScanState::InName) {
                name += c;
            } else if (state == ScanState::AfterClose) {
                dialogs.ShowMessage(kNumberAfterCloseText);
                return;
            } else {
                marked += c;
                state = ScanState::InNumber;
            }
        } else if (c == '(') {
            switch (state) {
                case ScanState::Start:
                case ScanState::AfterOperator:
                case ScanState::AfterOpen:
                    marked += '(';
                    state = ScanState::AfterOpen;
                    break;
                case ScanState::InName:
                    if (IsPi(name)) {
                        dialogs.ShowMessage(kPiFollowedByOpenText);
                        return;
                    }
                    if (IsFunctionName(name)) {
                        marked += "{" + name + "}(";
                        name.clear();
                        state = ScanState::AfterOpen;
                        break;
                    }
                    dialogs.ShowMessage(VariableNeedsOperandText(name));
                    return;
                case ScanState::InNumber:
                case ScanState::AfterClose:
                    dialogs.ShowMessage(VariableNeedsOperandText(name));
                    return;
            }
        } else if (c == ')') {
            switch (state) {
                case ScanState::InName:
                    if (!closeName(")")) return;
                    state = ScanState::AfterClose;
                    break;
                case ScanState::Start:
                case ScanState::AfterOperator:
                case ScanState::AfterOpen:
                    dialogs.ShowMessage(kInvalidExpressionText);
                    return;
                case ScanState::InNumber:
                case ScanState::AfterClose:
                    marked += ')';
                    state = ScanState::AfterClose;
                    break;
            }
        } else if (IsOperatorChar(c)) {
            switch (state) {
                case ScanState::InName:
                    if (!closeName(std::string_view(&c, 1))) return;
                    state = ScanState::AfterOperator;
                    break;
                case ScanState::AfterOperator:
                    marked += c;
                    dialogs.ShowMessage(kDuplicatedOperatorText);
                    deferredError = true;
                    break;
                case ScanState::Start:
                case ScanState::AfterOpen:
                    marked += c;
                    if (c != '+' && c != '-') {
                        dialogs.ShowMessage(ForbiddenOperandText(c));
                        return;
                    }
                    state = ScanState::AfterOperator;
                    break;
                case ScanState::InNumber:
                case ScanState::AfterClose:
                    marked += c;
                    state = ScanState::AfterOperator;
                    break;
            }
        }
        // "=" inside the right side is ignored: the current name goes on.
    }
    if (state == ScanState::InName && !closeName("")) return;

    info.NameList = JoinLines(names);
    info.UniqueNames = JoinLines(Distinct(names));
    info.ErrorFlag = deferredError;
    info.PostfixText = ToPostfix(SplitTokens(right, dialogs));
}

void ParseModelSet(std::string_view modelText, EquationInfo& set, const MessageTexts& messages,
                   UserDialogs& dialogs) {
    set = EquationInfo{};

    struct Equation {
        std::string Left;
        std::string Body;  // the marked right side
    };
    std::vector<Equation> equations;
    std::vector<std::string> allNames;
    std::unordered_set<std::string> seenNames;
    std::unordered_set<std::string> usedOnRight;

    for (auto line : SplitLineViews(modelText)) {
        EquationInfo info;
        ParseEquation(line, info, dialogs);
        if (info.ErrorFlag) {
            set.ErrorFlag = true;
            set.ErrorCode = info.ErrorCode;
            return;
        }
        std::vector<std::string> names = SplitLines(info.NameList);
        const std::size_t equals = info.MarkedText.find('=');
        equations.push_back({names.front(), info.MarkedText.substr(equals + 1)});
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (i > 0) usedOnRight.insert(names[i]);
            if (seenNames.insert(names[i]).second) allNames.push_back(std::move(names[i]));
        }
    }

    // The output is the one left-hand name that no right side uses.
    std::size_t candidates = 0, output = 0;
    for (std::size_t k = 0; k < equations.size(); ++k) {
        if (usedOnRight.count(equations[k].Left) == 0) {
            ++candidates;
            output = k;
        }
    }
    if (candidates != 1) {
        dialogs.ShowError(candidates == 0 ? messages.UndefinedOutput : messages.TooManyOutputs);
        set.ErrorFlag = true;
        return;
    }

    // Substitute every defined name, recursively, by the parenthesised right
    // side of its first definition. The expansion keeps its own stack (a
    // chain of definitions may be as long as the model) and refuses a name
    // that is already being expanded, which would grow without end.
    std::unordered_map<std::string_view, std::size_t> firstDefinition;
    for (std::size_t k = 0; k < equations.size(); ++k)
        firstDefinition.emplace(equations[k].Left, k);

    std::string substituted = "[" + equations[output].Left + "]=";
    struct Frame {
        std::size_t Equation;
        std::size_t Position;
    };
    std::vector<Frame> frames{{output, 0}};
    std::vector<bool> expanding(equations.size(), false);
    expanding[output] = true;
    bool grown = false;  // an output equation typed that long is the user's own
    while (!frames.empty()) {
        Frame& frame = frames.back();
        const std::string& body = equations[frame.Equation].Body;
        const std::size_t open = body.find('[', frame.Position);
        if (open == std::string::npos) {
            substituted.append(body, frame.Position);
            if (frames.size() > 1) substituted += ')';
            expanding[frame.Equation] = false;
            frames.pop_back();
        } else {
            const std::size_t close = body.find(']', open);
            substituted.append(body, frame.Position, open - frame.Position);
            const std::string_view name = std::string_view(body).substr(open + 1, close - open - 1);
            frame.Position = close + 1;
            auto definition = firstDefinition.find(name);
            if (definition == firstDefinition.end()) {
                substituted.append(body, open, close + 1 - open);
            } else {
                if (expanding[definition->second]) {
                    dialogs.ShowError(CircularDefinitionText(name));
                    set.ErrorFlag = true;
                    return;
                }
                substituted += '(';
                expanding[definition->second] = true;
                frames.push_back({definition->second, 0});
                grown = true;
            }
        }
        if (grown && substituted.size() > kMaxSubstitutedLength) {
            dialogs.ShowError(SubstitutionTooLongText());
            set.ErrorFlag = true;
            return;
        }
    }

    ParseEquation(StripMarks(substituted), set, dialogs);
    if (set.ErrorFlag) return;
    set.NameList = JoinLines(allNames);
    std::vector<std::string> leftNames;
    for (const auto& equation : equations)
        leftNames.push_back(equation.Left);
    set.UniqueNames = JoinLines(Distinct(leftNames));
}

}  // namespace corvanta
