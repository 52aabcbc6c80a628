#include "ui/QtText.h"

#include <QFile>

#include "present/TextCodec.h"

namespace obrenta::ui {

QString ToQString(std::string_view cp932) {
    // Pure ASCII is by far the common case in the lists (numbers); skip the codec for it.
    bool ascii = true;
    for (unsigned char c : cp932) {
        if (c >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii) return QString::fromLatin1(cp932.data(), static_cast<qsizetype>(cp932.size()));
    const std::string utf8 = present::Cp932ToUtf8(cp932);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::optional<std::string> ToCp932(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return present::Utf8ToCp932(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

std::string ToLocalPath(const QString& path) {
#ifdef Q_OS_WIN
    // The libraries take Windows paths as code page 932, whatever the system's ANSI code page.
    return ToCp932(path).value_or(std::string());
#else
    const QByteArray bytes = QFile::encodeName(path);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
#endif
}

QString FromLocalPath(const std::string& path) {
#ifdef Q_OS_WIN
    return ToQString(path);
#else
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
#endif
}

}  // namespace obrenta::ui
