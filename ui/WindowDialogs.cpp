#include "ui/WindowDialogs.h"

#include <QMessageBox>

#include "ui/TextBridge.h"

namespace corvanta {

namespace {

QMessageBox::StandardButton Ask(QWidget* parent, QMessageBox::Icon icon, const char* title,
                                const std::string& text, QMessageBox::StandardButtons buttons,
                                QMessageBox::StandardButton defaultButton) {
    QMessageBox box(icon, QString::fromLatin1(title), ToQt(text), buttons, parent);
    box.setDefaultButton(defaultButton);
    box.setTextFormat(Qt::PlainText);
    return QMessageBox::StandardButton(box.exec());
}

}  // namespace

void WindowDialogs::ShowMessage(const std::string& text) {
    Ask(Parent, QMessageBox::NoIcon, kApplicationTitle, text, QMessageBox::Ok, QMessageBox::Ok);
}

void WindowDialogs::ShowError(const std::string& text) {
    Ask(Parent, QMessageBox::Critical, "Error", text, QMessageBox::Ok, QMessageBox::Ok);
}

void WindowDialogs::ShowInformation(const std::string& text) {
    Ask(Parent, QMessageBox::Information, "Information", text, QMessageBox::Ok, QMessageBox::Ok);
}

DialogAnswer WindowDialogs::ConfirmOkCancel(const std::string& text) {
    auto pressed = Ask(Parent, QMessageBox::Question, "Confirm", text,
                       QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok);
    return pressed == QMessageBox::Ok ? DialogAnswer::Ok : DialogAnswer::Cancel;
}

DialogAnswer WindowDialogs::ConfirmYesNoCancel(const std::string& text) {
    auto pressed = Ask(Parent, QMessageBox::Question, "Confirm", text,
                       QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (pressed == QMessageBox::Yes) return DialogAnswer::Yes;
    if (pressed == QMessageBox::No) return DialogAnswer::No;
    return DialogAnswer::Cancel;
}

DialogAnswer WindowDialogs::ConfirmSaveDiscardCancel(const std::string& text) {
    auto pressed =
        Ask(Parent, QMessageBox::Question, "Confirm", text,
            QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (pressed == QMessageBox::Save) return DialogAnswer::Save;
    if (pressed == QMessageBox::Discard) return DialogAnswer::Discard;
    return DialogAnswer::Cancel;
}

}  // namespace corvanta
