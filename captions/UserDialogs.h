#pragma once

#include <string>

namespace corvanta {

// The six dialog kinds through which the core reports to the user. The core
// never shows anything itself: the window implements this with message
// boxes, the batch tool prints to stderr, and the tests record every call.
enum class DialogKind {
    Message,                   // plain message box: OK, application title as caption
    Error,                     // title "Error", OK
    Information,               // title "Information", OK
    ConfirmOkCancel,           // title "Confirm", OK and Cancel
    ConfirmYesNoCancel,        // title "Confirm", Yes, No and Cancel
    ConfirmSaveDiscardCancel,  // title "Confirm", Save, Discard and Cancel
};

enum class DialogAnswer { Ok, Cancel, Yes, No, Save, Discard };

class UserDialogs {
  public:
    virtual ~UserDialogs() = default;

    virtual void ShowMessage(const std::string& text) = 0;
    virtual void ShowError(const std::string& text) = 0;
    virtual void ShowInformation(const std::string& text) = 0;
    // Returns Ok or Cancel.
    virtual DialogAnswer ConfirmOkCancel(const std::string& text) = 0;
    // Returns Yes, No or Cancel.
    virtual DialogAnswer ConfirmYesNoCancel(const std::string& text) = 0;
    // Returns Save, Discard or Cancel. Where no such buttons can be shown,
    // the Yes/No/Cancel question stands in: Yes saves, No discards.
    virtual DialogAnswer ConfirmSaveDiscardCancel(const std::string& text) {
        switch (ConfirmYesNoCancel(text)) {
            case DialogAnswer::Yes:
                return DialogAnswer::Save;
            case DialogAnswer::No:
                return DialogAnswer::Discard;
            default:
                return DialogAnswer::Cancel;
        }
    }
};

// Shows nothing and answers every question with Cancel: for callers that
// must not be interrupted and have nobody to ask.
class SilentDialogs : public UserDialogs {
  public:
    void ShowMessage(const std::string&) override {}
    void ShowError(const std::string&) override {}
    void ShowInformation(const std::string&) override {}
    DialogAnswer ConfirmOkCancel(const std::string&) override { return DialogAnswer::Cancel; }
    DialogAnswer ConfirmYesNoCancel(const std::string&) override { return DialogAnswer::Cancel; }
    DialogAnswer ConfirmSaveDiscardCancel(const std::string&) override {
        return DialogAnswer::Cancel;
    }
};

}  // namespace corvanta
