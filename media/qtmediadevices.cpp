#include "media/qtmediadevices.h"

#include <QFile>
#include <QFileInfo>

#include <optional>

#include "chardata/gbk.h"
#include "media/qtmediasound.h"

namespace quvo {

namespace {

// Paths may be written with Windows separators ("bihua\3.mp3"). They are replaced only in
// the decoded text: in GBK bytes, 0x5C can also be the second byte of a character.
QString ExistingFile(const QString& name) {
    QString path = name;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QFileInfo info(path);
    return info.isFile() ? info.absoluteFilePath() : QString();
}

}  // namespace

QtMediaDevices::QtMediaDevices() {
    if (!qEnvironmentVariableIsSet("QT_MEDIA_BACKEND")) {
        qputenv("QT_MEDIA_BACKEND", "gstreamer");
    }
    m_thread = std::make_shared<MediaThread>();
}

QtMediaDevices::~QtMediaDevices() = default;

QString QtMediaDevices::ResolveElement(const std::string& element) {
    if (const std::optional<std::string> utf8 = GbkToUtf8(element)) {
        const QString path = ExistingFile(QString::fromStdString(*utf8));
        if (!path.isEmpty()) {
            return path;
        }
    }
    return ExistingFile(QFile::decodeName(QByteArray::fromStdString(element)));
}

std::unique_ptr<MediaSound> QtMediaDevices::Load(const std::string& element, MciError& error) {
    const QString path = ResolveElement(element);
    if (path.isEmpty()) {
        error = mci::kErrFileNotFound;
        return nullptr;
    }
    return std::make_unique<QtMediaSound>(path, m_thread);
}

}  // namespace quvo
