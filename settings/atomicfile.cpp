#include "settings/atomicfile.h"

#include <algorithm>
#include <cstdint>

#include <QFile>
#include <QSaveFile>
#include <QString>

namespace quvo {

std::optional<std::string> ReadFileHead(const std::string& fileName, std::size_t maxBytes) {
    QFile file(QString::fromStdString(fileName));
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    // Ask for no more than the file holds: a read of maxBytes would reserve that much memory.
    const qint64 wanted = std::min(file.size(), static_cast<qint64>(std::min<std::size_t>(maxBytes, INT64_MAX)));
    const QByteArray bytes = file.read(wanted);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

bool ReplaceFileContents(const std::string& fileName, std::string_view bytes) {
    QSaveFile file(QString::fromStdString(fileName));
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    const auto size = static_cast<qint64>(bytes.size());
    if (file.write(bytes.data(), size) != size) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

}  // namespace quvo
