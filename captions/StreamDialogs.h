#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>

#include "captions/UserDialogs.h"

namespace corvanta {

// UTF-8 for the terminal from the core's Windows-1252 text. The five bytes
// that code page leaves undefined keep their C1 code points.
inline std::string Utf8FromWindows1252(std::string_view text) {
    static const char16_t high[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    std::string utf8;
    utf8.reserve(text.size());
    for (unsigned char c : text) {
        char32_t code = c;
        if (c >= 0x80 && c < 0xA0) code = high[c - 0x80];
        if (code < 0x80) {
            utf8 += static_cast<char>(code);
        } else if (code < 0x800) {
            utf8 += static_cast<char>(0xC0 | (code >> 6));
            utf8 += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            utf8 += static_cast<char>(0xE0 | (code >> 12));
            utf8 += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return utf8;
}

// The dialogs of a program without a window (the batch tool, the report
// written without one): every message on its own line of the error stream;
// questions are shown the same way and answered Cancel, since nobody is there
// to answer them.
class StreamDialogs : public UserDialogs {
  public:
    explicit StreamDialogs(std::ostream& err) : err_(err) {}

    void ShowMessage(const std::string& text) override { Print(text); }
    void ShowError(const std::string& text) override { Print(text); }
    void ShowInformation(const std::string& text) override { Print(text); }
    DialogAnswer ConfirmOkCancel(const std::string& text) override {
        Print(text);
        return DialogAnswer::Cancel;
    }
    DialogAnswer ConfirmYesNoCancel(const std::string& text) override {
        Print(text);
        return DialogAnswer::Cancel;
    }

    // How many messages have been printed so far.
    std::size_t Shown() const { return shown_; }

  private:
    void Print(const std::string& text) {
        err_ << Utf8FromWindows1252(text) << '\n';
        ++shown_;
    }

    std::ostream& err_;
    std::size_t shown_ = 0;
};

}  // namespace corvanta
