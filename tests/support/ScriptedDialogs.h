#pragma once

#include <deque>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "captions/UserDialogs.h"

namespace corvanta::testing {

// The kind's name as written in the tests' logs.
inline const char* KindName(DialogKind kind) {
    static const char* const names[] = {"Message",
                                        "Error",
                                        "Information",
                                        "ConfirmOkCancel",
                                        "ConfirmYesNoCancel",
                                        "ConfirmSaveDiscardCancel"};
    return names[static_cast<int>(kind)];
}

// Records each dialog's kind and text; questions take scripted answers, an unscripted one throws.
class ScriptedDialogs : public UserDialogs {
  public:
    struct Shown {
        DialogKind Kind;
        std::string Text;
        bool operator==(const Shown&) const = default;
        friend void PrintTo(const Shown& s, std::ostream* out) {
            *out << KindName(s.Kind) << ": " << s.Text;
        }
    };

    std::vector<Shown> Log;
    std::deque<DialogAnswer> Answers;

    void ShowMessage(const std::string& text) override { Show(DialogKind::Message, text); }
    void ShowError(const std::string& text) override { Show(DialogKind::Error, text); }
    void ShowInformation(const std::string& text) override { Show(DialogKind::Information, text); }
    DialogAnswer ConfirmOkCancel(const std::string& text) override {
        return Ask(DialogKind::ConfirmOkCancel, text);
    }
    DialogAnswer ConfirmYesNoCancel(const std::string& text) override {
        return Ask(DialogKind::ConfirmYesNoCancel, text);
    }
    DialogAnswer ConfirmSaveDiscardCancel(const std::string& text) override {
        return Ask(DialogKind::ConfirmSaveDiscardCancel, text);
    }

    // The texts shown, in order, whatever their kind.
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const auto& shown : Log)
            texts.push_back(shown.Text);
        return texts;
    }

  private:
    void Show(DialogKind kind, const std::string& text) { Log.push_back({kind, text}); }
    DialogAnswer Ask(DialogKind kind, const std::string& text) {
        Show(kind, text);
        if (Answers.empty()) throw std::logic_error("unscripted question: " + text);
        const DialogAnswer answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
};

}  // namespace corvanta::testing
