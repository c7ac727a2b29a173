#include "distributions/ModelUpdate.h"

#include <unordered_map>
#include <unordered_set>

#include "engine/Equations.h"
#include "engine/Faults.h"

namespace corvanta {

std::string RemoveEmptyLines(std::string_view modelText) {
    std::string text;
    for (const auto& line : SplitLines(modelText)) {
        // A line of blanks would otherwise be rejected as an equation
        // without "=" (or, holding a tab, silently).
        if (line.find_first_not_of(" \t") == std::string::npos) continue;
        if (!text.empty()) text += "\r\n";
        text += line;
    }
    return text;
}

ModelUpdate UpdateParameters(std::string_view modelText, const ParameterList& previous,
                             const MessageTexts& messages, UserDialogs& dialogs) {
    ModelUpdate update;
    update.Parameters = previous;
    update.ParametersReady = CheckReady(previous);
    if (modelText.empty()) {
        update.ModelText = std::string(modelText);
        return update;
    }
    update.ModelText = RemoveEmptyLines(modelText);

    // Only a list that is shown (its first row names a quantity) is kept
    // aside for restoring.
    const bool keepPrevious = !previous.empty() && !previous.front().Nombre.empty();
    std::unordered_map<std::string_view, std::size_t> savedByName;
    if (keepPrevious)
        for (std::size_t i = 0; i < previous.size(); ++i)
            savedByName.emplace(previous[i].Nombre, i);  // the first record of a name wins

    EquationSet set;
    try {
        ParseModelSet(update.ModelText, set, messages, dialogs);
    } catch (const CalcError& error) {
        dialogs.ShowMessage(error.what());
        return update;
    }
    if (set.ErrorFlag) return update;

    EquationInfo outputEquation;
    try {
        ParseEquation(set.CleanText, outputEquation, dialogs);
    } catch (const CalcError& error) {
        dialogs.ShowMessage(error.what());
        return update;
    }
    if (outputEquation.ErrorFlag) return update;
    const std::vector<std::string> outputNames = SplitLines(outputEquation.UniqueNames);
    const std::unordered_set<std::string> outputNameSet(outputNames.begin(), outputNames.end());

    ParameterList parameters;
    for (const auto& name : SplitLines(set.NameList)) {
        ModelParameter record;
        record.Nombre = name;
        if (auto saved = savedByName.find(name); saved != savedByName.end())
            record = previous[saved->second];
        // A restored record keeps everything the user entered, but its role
        // follows the model as it is now: a former output or intermediate
        // quantity that became an input must not pass for ready without a
        // distribution, and a former input that is now computed must not be
        // taken for something to sample.
        if (name == outputNames.front()) {
            record.Distrib = static_cast<std::int32_t>(DistributionKind::Resultado);
            record.Init = true;
        } else if (outputNameSet.count(name) == 0) {
            record.Distrib = static_cast<std::int32_t>(DistributionKind::Intermedio);
            record.Init = true;
        } else if (record.Kind() == DistributionKind::Intermedio ||
                   record.Kind() == DistributionKind::Resultado) {
            record.Distrib = static_cast<std::int32_t>(DistributionKind::Noname);
            record.Init = false;
        }
        parameters.push_back(std::move(record));
    }

    update.Accepted = true;
    update.PostfixExpression = set.PostfixText;
    update.ParametersReady = CheckReady(parameters);
    update.Parameters = std::move(parameters);
    return update;
}

}  // namespace corvanta
