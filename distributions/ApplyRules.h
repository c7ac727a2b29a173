#pragma once

#include <optional>
#include <string>

#include "captions/Captions.h"
#include "captions/UserDialogs.h"
#include "distributions/ModelParameter.h"
#include "distributions/Readings.h"

// The Apply command of the distribution panel: checks the fields of the page
// shown and stores them in the selected quantity's record.
namespace corvanta {

// The texts of a page's fields: Edit1 the first, Edit2 the second, Edit3 the
// third (unused on pages with fewer fields), Degrees the optional degrees of
// freedom of the pages that take them.
struct PageFields {
    std::string Edit1;
    std::string Edit2;
    std::string Edit3 = {};
    std::string Degrees = {};
};

// The fields of PageFields by number, as RefusedField names them.
inline constexpr int kEdit1Field = 0, kEdit2Field = 1, kEdit3Field = 2, kDegreesField = 3;

// The pages whose fields PageFields carries: 1 to 16 and 20 to 23.
constexpr bool IsFieldPage(int page) {
    return (page >= 1 && page <= 16) || (page >= 20 && page <= 23);
}

// What a page's rule made of its fields.
struct PageOutcome {
    // The record as it is to be stored, or nothing: silently when a required
    // field is empty, after an error dialog when a check fails, and for any
    // other page.
    std::optional<ModelParameter> Stored;
    // The field a refusal is about (kEdit1Field ... kDegreesField), so that
    // the user is taken to it; -1 when nothing was refused.
    int RefusedField = -1;
};

// The rule of the field pages. Texts are stored as typed; fields the page
// does not use keep their text. The pages with optional degrees of freedom
// store Grados as typed, empty for none.
PageOutcome ApplyDistributionPage(int page, const PageFields& fields, const ModelParameter& current,
                                  const MessageTexts& texts, UserDialogs& dialogs);

// Everything the panel holds when Apply is pressed.
struct ApplyRequest {
    int Page = 0;                    // index of the page shown (= DistributionKind)
    PageFields Fields;               // the field pages
    ExperimentalEntry Experimental;  // page 17
};

struct ApplyOutcome {
    bool Stored = false;           // the record was changed
    bool ParametersReady = false;  // CheckReady over the list afterwards
    // A check failed with a message: the user corrects the typed input in
    // place, so the selection stays on the entry.
    bool Refused = false;
    // On a refusal of a field page, the field it is about (kEdit1Field ...
    // kDegreesField); -1 otherwise.
    int RefusedField = -1;
    // The entry whose row is selected next: the same entry after a refusal,
    // otherwise the one after it (the first after the last); -1 for an empty
    // list.
    int NextIndex = -1;
};

// Apply on entry `index` of the list. Pages 1 to 17 and 20 to 23 run their rule; any
// other page, an index outside the list, and a computed quantity (which
// takes no distribution) store nothing.
ApplyOutcome ApplyDistribution(ParameterList& list, int index, const ApplyRequest& request,
                               const MessageTexts& texts, UserDialogs& dialogs);

}  // namespace corvanta
