#pragma once

#include <atomic>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace quvo {

// The update check's network side, on libcurl: the question to the program's server and the
// download of the updater by FTP. Every transfer has a connect timeout and a low-speed limit,
// and ends within a tenth of a second once its `stop` flag is set.

// POST /update.asp to host (host or host:port) with the program's form body; the reply cut as
// the program reads it. nullopt on any failure, or when `stop` was set.
std::optional<std::string> RequestUpdateReply(const std::string& host, const std::atomic<bool>& stop);

// Progress of the download: a stage code and a text (UTF-8) for the user; while the file
// arrives, also its kilobytes so far and in all.
inline constexpr int kStageFailed = -1;
inline constexpr int kStageOpened = 4;
inline constexpr int kStageLoggedIn = 6;
inline constexpr int kStageDownloading = 20;
inline constexpr int kStageTransferred = 40;
struct DownloadProgress {
    int stage = 0;
    std::string text;
    long long kilobytes = 0;
    long long totalKilobytes = 0;
};
using DownloadReport = std::function<void(const DownloadProgress& progress)>;

struct DownloadRequest {
    std::string server;      // FTP server, host or host:port
    std::string user;
    std::string password;
    std::string remoteFile;  // absolute path on the server
    std::string sha256;      // expected SHA-256 in hex; empty: not checked
    std::filesystem::path folder;  // the program folder, where the updater is put
};

// The name of the updater in the program folder, and of the file it is downloaded to first.
inline constexpr char kUpdaterName[] = "update";
inline constexpr char kDownloadName[] = "updatetmp.tmp";

// Downloads the updater into the folder's download file and, only when it is whole (its size is
// the size the server announced) and its SHA-256 is the expected one, puts it in place of the
// folder's updater, executable. Any failure or a stop leaves the old updater as it was and no
// download file behind. Reports each stage; true on success.
bool DownloadUpdate(const DownloadRequest& request, const DownloadReport& report, const std::atomic<bool>& stop);

// SHA-256 of a file in lower-case hex; empty when it cannot be read.
std::string FileSha256(const std::filesystem::path& file);

}  // namespace quvo
