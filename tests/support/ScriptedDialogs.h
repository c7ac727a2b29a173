#pragma once

#include <deque>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "captions/UserDialogs.h"

namespace corvanta::testing {

// Records the kind and exact text of every dialog, and answers questions
// from a script given in advance. A question with no scripted answer left
// fails the test through an exception, so unexpected questions never pass
// silently.
class ScriptedDialogs : public UserDialogs {
  public:
    struct Shown {
        DialogKind Kind;
        std::string Text;
        bool operator==(const Shown&) const = default;
    };

    std::vector<Shown> Log;
    std::deque<DialogAnswer> Answers;

    void ShowMessage(const std::string& text) override {
        Log.push_back({DialogKind::Message, text});
    }
    void ShowError(const std::string& text) override { Log.push_back({DialogKind::Error, text}); }
    void ShowInformation(const std::string& text) override {
        Log.push_back({DialogKind::Information, text});
    }
    DialogAnswer ConfirmOkCancel(const std::string& text) override {
        Log.push_back({DialogKind::ConfirmOkCancel, text});
        return NextAnswer();
    }
    DialogAnswer ConfirmYesNoCancel(const std::string& text) override {
        Log.push_back({DialogKind::ConfirmYesNoCancel, text});
        return NextAnswer();
    }
    DialogAnswer ConfirmSaveDiscardCancel(const std::string& text) override {
        Log.push_back({DialogKind::ConfirmSaveDiscardCancel, text});
        return NextAnswer();
    }

    // The texts shown, in order, whatever their kind.
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const auto& shown : Log)
            texts.push_back(shown.Text);
        return texts;
    }

  private:
    DialogAnswer NextAnswer() {
        if (Answers.empty()) throw std::logic_error("unscripted question: " + Log.back().Text);
        DialogAnswer answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
};

}  // namespace corvanta::testing

namespace corvanta {
inline std::ostream& operator<<(std::ostream& out, DialogKind kind) {
    static const char* const names[] = {"Message",
                                        "Error",
                                        "Information",
                                        "ConfirmOkCancel",
                                        "ConfirmYesNoCancel",
                                        "ConfirmSaveDiscardCancel"};
    return out << names[static_cast<int>(kind)];
}
}  // namespace corvanta
