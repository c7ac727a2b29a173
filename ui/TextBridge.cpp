#include "ui/TextBridge.h"

#include <QByteArray>
#include <QStringDecoder>
#include <QStringEncoder>

namespace corvanta {

QString ToQt(std::string_view windows1252) {
    QStringDecoder decoder("windows-1252");
    return decoder.decode(QByteArrayView(windows1252.data(), qsizetype(windows1252.size())));
}

std::string FromQt(const QString& text) {
    QStringEncoder encoder("windows-1252");
    QByteArray bytes = encoder.encode(text);
    return std::string(bytes.constData(), std::size_t(bytes.size()));
}

}  // namespace corvanta
