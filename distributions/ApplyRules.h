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

// The texts of a page's fields: Edit1 the first, Edit2 the second (unused on
// pages with one field or none).
struct PageFields {
    std::string Edit1;
    std::string Edit2;
};

// What a page's rule made of its fields.
struct PageOutcome {
    // The record as it is to be stored, or nothing: silently when a required
    // field is empty, after an error dialog when a check fails, and for any
    // other page.
    std::optional<ModelParameter> Stored;
    // The field a refusal is about (0 = Edit1, 1 = Edit2), so that the user
    // is taken to it; -1 when nothing was refused.
    int RefusedField = -1;
};

// The rule of pages 1 to 16. Texts are stored as typed; fields the page does
// not use keep their text.
PageOutcome ApplyDistributionPage(int page, const PageFields& fields, const ModelParameter& current,
                                  const MessageTexts& texts, UserDialogs& dialogs);

// Everything the panel holds when Apply is pressed.
struct ApplyRequest {
    int Page = 0;                    // index of the page shown (= DistributionKind)
    PageFields Fields;               // pages 1 to 16
    ExperimentalEntry Experimental;  // page 17
};

struct ApplyOutcome {
    bool Stored = false;           // the record was changed
    bool ParametersReady = false;  // CheckReady over the list afterwards
    // A check failed with a message: the user corrects the typed input in
    // place, so the selection stays on the entry.
    bool Refused = false;
    // On a refusal of pages 1 to 16, the field it is about (0 = Edit1,
    // 1 = Edit2); -1 otherwise.
    int RefusedField = -1;
    // The entry whose row is selected next: the same entry after a refusal,
    // otherwise the one after it (the first after the last); -1 for an empty
    // list.
    int NextIndex = -1;
};

// Apply on entry `index` of the list. Pages 1 to 17 run their rule; any
// other page, an index outside the list, and a computed quantity (which
// takes no distribution) store nothing.
ApplyOutcome ApplyDistribution(ParameterList& list, int index, const ApplyRequest& request,
                               const MessageTexts& texts, UserDialogs& dialogs);

}  // namespace corvanta
