#include "settings/atomicfile.h"

#include <QFile>
#include <QSaveFile>
#include <QString>

namespace quvo {

std::optional<std::string> ReadFileHead(const std::string& fileName, std::size_t maxBytes) {
    QFile file(QString::fromStdString(fileName));
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    const QByteArray bytes = file.read(static_cast<qint64>(maxBytes));
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
