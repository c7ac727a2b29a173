#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "captions/Captions.h"

namespace corvanta {

// The two windows whose controls take captions.
inline constexpr const char* kMainWindowName = "Graf";
inline constexpr const char* kObservationsWindowName = "FormValores";

enum class CaptionTarget {
    Text,     // caption of a label, button, page, panel, menu item, edit or window
    Hint,     // tool tip
    GridRow,  // column 0 of the results grid StringGrid2, row Row
};

// One text to push into one control at each caption load.
struct ControlCaption {
    std::string Window;   // kMainWindowName or kObservationsWindowName
    std::string Control;  // the control's name; the window's own name for its title
    CaptionTarget Target = CaptionTarget::Text;
    int Row = 0;
    std::string Text;
    bool operator==(const ControlCaption&) const = default;
};

struct ComposedCaptionTexts {
    // Every control the load sets, each target once: the catalogue texts and
    // the composed and fixed texts that replace them for some controls.
    std::vector<ControlCaption> Controls;
    // The texts the title field Edit1 and the description field TransMemo1
    // receive; the window reads the fields back and remembers the results as
    // the placeholders the report compares against.
    std::string TitlePlaceholder;
    std::string DescriptionPlaceholder;
};

ComposedCaptionTexts ComposedCaptions(const CaptionTable& table);

// Text for one control target, or nullptr when the load does not set it.
const std::string* FindControlCaption(const ComposedCaptionTexts& texts, std::string_view window,
                                      std::string_view control,
                                      CaptionTarget target = CaptionTarget::Text, int row = 0);

// Headers of columns 0, 1 and 2 of the parameter table, set once when the
// main window is first shown: each text after one blank.
std::array<std::string, 3> ParameterTableHeaders(const MessageTexts& messages);

}  // namespace corvanta
