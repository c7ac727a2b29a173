#pragma once

#include <QPointer>
#include <QWidget>

#include "captions/UserDialogs.h"

namespace corvanta {

// The window's message boxes: the application title on a plain message,
// "Error", "Information" and "Confirm" on the others, each with its buttons.
class WindowDialogs : public UserDialogs {
  public:
    explicit WindowDialogs(QWidget* parent = nullptr) : Parent(parent) {}
    void SetParent(QWidget* parent) { Parent = parent; }

    void ShowMessage(const std::string& text) override;
    void ShowError(const std::string& text) override;
    void ShowInformation(const std::string& text) override;
    DialogAnswer ConfirmOkCancel(const std::string& text) override;
    DialogAnswer ConfirmYesNoCancel(const std::string& text) override;
    DialogAnswer ConfirmSaveDiscardCancel(const std::string& text) override;

  private:
    QPointer<QWidget> Parent;
};

// The application's title on plain message boxes and in the about box.
inline constexpr const char* kApplicationTitle = "Corvanta";

}  // namespace corvanta
