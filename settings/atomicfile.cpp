#include "settings/atomicfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <filesystem>

#include <QFile>
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

namespace {

// Where the new contents wait for their rename: one fixed name beside the file, so that a
// write killed before its rename leaves at most that one file, which the next write replaces
// (a fresh random name each time would leave one more behind after every such death).
std::string PendingName(const std::string& fileName) { return fileName + ".quvo-saving"; }

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// The new contents under the pending name, on the disk; a file that replaces another keeps
// the other's permissions.
bool WritePending(const std::string& pending, std::string_view bytes, const struct stat* replaced) {
    ::unlink(pending.c_str());
    const int fd = ::open(pending.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        return false;
    }
    bool ok = WriteAll(fd, bytes) && (!replaced || ::fchmod(fd, replaced->st_mode & 07777) == 0) &&
              ::fdatasync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (!ok) {
        ::unlink(pending.c_str());
    }
    return ok;
}

// The rename itself reaches the disk only with its folder.
void SyncFolder(const std::string& fileName) {
    const std::filesystem::path parent = std::filesystem::path(fileName).parent_path();
    const int fd = ::open(parent.empty() ? "." : parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// A link is followed: the file it points to is the one replaced, and the link stays.
std::string LinkTarget(const std::string& fileName) {
    std::error_code error;
    if (!std::filesystem::is_symlink(fileName, error)) {
        return fileName;
    }
    const std::filesystem::path target = std::filesystem::weakly_canonical(fileName, error);
    return error ? fileName : target.string();
}

}  // namespace

bool ReplaceFileContents(const std::string& linkOrFile, std::string_view bytes) {
    const std::string fileName = LinkTarget(linkOrFile);
    struct stat existing {};
    const bool exists = ::stat(fileName.c_str(), &existing) == 0;
    if (exists && !S_ISREG(existing.st_mode)) {
        return false;  // a folder or a device in the file's place is never replaced
    }
    const std::string pending = PendingName(fileName);
    if (!WritePending(pending, bytes, exists ? &existing : nullptr)) {
        return false;
    }
    if (::rename(pending.c_str(), fileName.c_str()) != 0) {
        ::unlink(pending.c_str());
        return false;
    }
    SyncFolder(fileName);
    return true;
}

}  // namespace quvo
