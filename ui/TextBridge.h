#pragma once

#include <QString>
#include <string>
#include <string_view>

// The one crossing between the core's Windows-1252 bytes and Qt's text.
namespace corvanta {

QString ToQt(std::string_view windows1252);
// Characters that code page cannot hold become "?".
std::string FromQt(const QString& text);

}  // namespace corvanta
