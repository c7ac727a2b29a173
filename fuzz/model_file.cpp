// Opening any text as a model file: it is refused with a message or opened,
// and what opens saves to a text that opens again to the same saved text.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "captions/Captions.h"
#include "captions/UserDialogs.h"
#include "document/ModelFile.h"

using namespace corvanta;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const MessageTexts messages = FormMessageTexts(CaptionTable::BuiltIn());
    // Long equations only make the model analysis slow, not the reader.
    if (size > 65536) return 0;
    std::string_view text(reinterpret_cast<const char*>(data), size);
    SilentDialogs dialogs;
    std::optional<OpenedModel> opened = ApplyModelText(text, "fuzz.cvm", messages, dialogs);
    if (!opened) return 0;
    std::string saved = ComposeModelText(opened->Document);
    std::optional<OpenedModel> again = ApplyModelText(saved, "fuzz.cvm", messages, dialogs);
    if (!again) __builtin_trap();
    if (ComposeModelText(again->Document) != saved) __builtin_trap();
    if (again->PostfixExpression != opened->PostfixExpression) __builtin_trap();
    if (again->ParametersReady != opened->ParametersReady) __builtin_trap();
    return 0;
}
