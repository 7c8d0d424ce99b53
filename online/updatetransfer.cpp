#include "online/updatetransfer.h"

#include <curl/curl.h>
#include <fcntl.h>
#include <openssl/evp.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <memory>
#include <system_error>
#include <vector>

#include "online/updateinfo.h"

namespace quvo {

namespace {

constexpr long kConnectTimeoutS = 15;
constexpr long kLowSpeedBytesPerS = 1;
constexpr long kLowSpeedTimeS = 30;
constexpr long kRequestTimeoutS = 60;
constexpr int kStopPollMs = 100;

using Easy = std::unique_ptr<CURL, decltype(&curl_easy_cleanup)>;
using HeaderList = std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)>;

Easy NewEasy() {
    Easy easy(curl_easy_init(), &curl_easy_cleanup);
    if (easy) {
        curl_easy_setopt(easy.get(), CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(easy.get(), CURLOPT_USERAGENT, "user");
        curl_easy_setopt(easy.get(), CURLOPT_CONNECTTIMEOUT, kConnectTimeoutS);
        curl_easy_setopt(easy.get(), CURLOPT_LOW_SPEED_LIMIT, kLowSpeedBytesPerS);
        curl_easy_setopt(easy.get(), CURLOPT_LOW_SPEED_TIME, kLowSpeedTimeS);
    }
    return easy;
}

// Runs the transfer on a multi handle, so that a set stop flag ends it at the next poll.
CURLcode Perform(CURL* easy, const std::atomic<bool>& stop) {
    CURLM* multi = curl_multi_init();
    if (multi == nullptr) {
        return CURLE_OUT_OF_MEMORY;
    }
    curl_multi_add_handle(multi, easy);
    CURLcode result = CURLE_ABORTED_BY_CALLBACK;
    int running = 1;
    while (running != 0 && !stop.load()) {
        if (curl_multi_perform(multi, &running) != CURLM_OK) {
            result = CURLE_RECV_ERROR;
            break;
        }
        int left = 0;
        while (CURLMsg* msg = curl_multi_info_read(multi, &left)) {
            if (msg->msg == CURLMSG_DONE) {
                result = msg->data.result;
            }
        }
        if (running != 0) {
            curl_multi_poll(multi, nullptr, 0, kStopPollMs, nullptr);
        }
    }
    curl_multi_remove_handle(multi, easy);
    curl_multi_cleanup(multi);
    return stop.load() ? CURLE_ABORTED_BY_CALLBACK : result;
}

// What a reply read collects: the bytes, up to the limit the program reads.
std::size_t CollectReply(char* data, std::size_t size, std::size_t count, void* user) {
    auto& reply = *static_cast<std::string*>(user);
    const std::size_t bytes = size * count;
    reply.append(data, bytes);
    return reply.size() >= kReplyLimit ? 0 : bytes;  // enough read: the rest is not wanted
}

// Every byte of a path that is not unreserved or '/' as %XX.
std::string EncodedPath(const std::string& path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : path) {
        if (std::isalnum(c) != 0 || c == '-' || c == '.' || c == '_' || c == '~' || c == '/') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

std::string Kilobytes(curl_off_t done, curl_off_t total) {
    char text[96];
    std::snprintf(text, sizeof text, "已传输%lu K,共%lu K", static_cast<unsigned long>(done / 1024),
                  static_cast<unsigned long>(total / 1024));
    return text;
}

// The download file while it is written: its bytes, a running count and the report.
struct DownloadSink {
    std::FILE* file = nullptr;
    curl_off_t bytes = 0;
    curl_off_t size = 0;
    const DownloadReport* report = nullptr;
};

std::size_t WriteDownload(char* data, std::size_t size, std::size_t count, void* user) {
    auto& sink = *static_cast<DownloadSink*>(user);
    const std::size_t bytes = size * count;
    if (std::fwrite(data, 1, bytes, sink.file) != bytes) {
        return 0;
    }
    sink.bytes += static_cast<curl_off_t>(bytes);
    (*sink.report)({kStageTransferred, Kilobytes(sink.bytes, sink.size), sink.bytes / 1024, sink.size / 1024});
    return bytes;
}

// Writes the file's buffers out and to the disk; false when anything of it failed.
bool CloseSynced(std::FILE* file) {
    bool ok = std::fflush(file) == 0 && ::fsync(::fileno(file)) == 0;
    return std::fclose(file) == 0 && ok;
}

std::string LowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

bool Fail(const DownloadReport& report, const std::string& text) {
    report({kStageFailed, text});
    return false;
}

// The FTP side of a download: one handle, one connection for the login, the size and the file.
class FtpSession {
public:
    FtpSession(const DownloadRequest& request, const std::atomic<bool>& stop) : m_request(request), m_stop(stop) {}

    bool Open() {
        if (!m_easy) {
            return false;
        }
        curl_easy_setopt(m_easy.get(), CURLOPT_USERNAME, m_request.user.c_str());
        curl_easy_setopt(m_easy.get(), CURLOPT_PASSWORD, m_request.password.c_str());
        curl_easy_setopt(m_easy.get(), CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_NOCWD));
        curl_easy_setopt(m_easy.get(), CURLOPT_SERVER_RESPONSE_TIMEOUT, kLowSpeedTimeS);
        return true;
    }

    bool LogIn() { return Query(Url("/")) == CURLE_OK; }

    // The file's size as the server announces it; nullopt when the file cannot be opened.
    std::optional<curl_off_t> FileSize() {
        curl_off_t size = -1;
        if (Query(Url(m_request.remoteFile)) != CURLE_OK ||
            curl_easy_getinfo(m_easy.get(), CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &size) != CURLE_OK || size < 0) {
            return std::nullopt;
        }
        return size;
    }

    bool Fetch(DownloadSink& sink) {
        curl_easy_setopt(m_easy.get(), CURLOPT_NOBODY, 0L);
        curl_easy_setopt(m_easy.get(), CURLOPT_URL, Url(m_request.remoteFile).c_str());
        curl_easy_setopt(m_easy.get(), CURLOPT_WRITEFUNCTION, &WriteDownload);
        curl_easy_setopt(m_easy.get(), CURLOPT_WRITEDATA, &sink);
        return Perform(m_easy.get(), m_stop) == CURLE_OK;
    }

private:
    std::string Url(const std::string& path) const { return "ftp://" + m_request.server + "/" + EncodedPath(path); }

    // The facts libcurl reports of a file without its body (size, date) are not wanted.
    static std::size_t Discard(char*, std::size_t size, std::size_t count, void*) { return size * count; }

    CURLcode Query(const std::string& url) {
        curl_easy_setopt(m_easy.get(), CURLOPT_NOBODY, 1L);
        curl_easy_setopt(m_easy.get(), CURLOPT_WRITEFUNCTION, &Discard);
        curl_easy_setopt(m_easy.get(), CURLOPT_URL, url.c_str());
        return Perform(m_easy.get(), m_stop);
    }

    const DownloadRequest& m_request;
    const std::atomic<bool>& m_stop;
    Easy m_easy = NewEasy();
};

// The download file written whole and checked against the announced size and the hash.
bool FetchChecked(FtpSession& ftp, const DownloadRequest& request, const std::filesystem::path& temp,
                  curl_off_t size, const DownloadReport& report) {
    DownloadSink sink{std::fopen(temp.c_str(), "wb"), 0, size, &report};
    if (sink.file == nullptr) {
        return Fail(report, "创建文件错误");
    }
    const bool fetched = ftp.Fetch(sink);
    if (!CloseSynced(sink.file) || !fetched) {
        return Fail(report, "读取文件错误");
    }
    if (sink.bytes != size) {
        return Fail(report, "文件不完整");
    }
    if (!request.sha256.empty() && FileSha256(temp) != LowerCase(request.sha256)) {
        return Fail(report, "文件校验错误");
    }
    return true;
}

// Replaces the updater by the download in one step; the old one stays until then.
bool PutInPlace(const std::filesystem::path& temp, const std::filesystem::path& target) {
    std::error_code error;
    std::filesystem::permissions(temp, std::filesystem::perms(0755), error);
    if (!error) {
        std::filesystem::rename(temp, target, error);
    }
    return !error;
}

bool DownloadInto(const DownloadRequest& request, const std::filesystem::path& temp, const DownloadReport& report,
                  const std::atomic<bool>& stop) {
    FtpSession ftp(request, stop);
    if (!ftp.Open()) {
        return Fail(report, "无法创建Internet连接");
    }
    report({kStageOpened, "准备登陆..."});
    if (!ftp.LogIn()) {
        return Fail(report, "获取服务器信息失败" + request.server);  // never the user or password
    }
    report({kStageLoggedIn, "成功登陆服务器，准备下载..."});
    if (request.remoteFile.empty()) {
        return Fail(report, "文件格式错误");
    }
    report({kStageDownloading, "正在下载文件,请耐心等待..."});
    const std::optional<curl_off_t> size = ftp.FileSize();
    if (!size) {
        return Fail(report, "打开文件错误");
    }
    if (!FetchChecked(ftp, request, temp, *size, report)) {
        return false;
    }
    if (!PutInPlace(temp, request.folder / kUpdaterName)) {
        return Fail(report, "创建文件错误");
    }
    return true;
}

}  // namespace

std::optional<std::string> RequestUpdateReply(const std::string& host, const std::atomic<bool>& stop) {
    Easy easy = NewEasy();
    HeaderList headers(curl_slist_append(nullptr, "Content-Type:application/x-www-form-urlencoded"),
                       &curl_slist_free_all);
    if (!easy || !headers) {
        return std::nullopt;
    }
    headers.reset(curl_slist_append(headers.release(), "Cache-Control: no-cache"));
    headers.reset(curl_slist_append(headers.release(), "Pragma: no-cache"));
    const std::string url = "http://" + host + "/update.asp";
    const std::string body = UpdateRequestBody();
    std::string reply;
    curl_easy_setopt(easy.get(), CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy.get(), CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(easy.get(), CURLOPT_POSTFIELDS, body.c_str());
    curl_easy_setopt(easy.get(), CURLOPT_POSTFIELDSIZE, static_cast<long>(body.size()));
    curl_easy_setopt(easy.get(), CURLOPT_TIMEOUT, kRequestTimeoutS);
    curl_easy_setopt(easy.get(), CURLOPT_WRITEFUNCTION, &CollectReply);
    curl_easy_setopt(easy.get(), CURLOPT_WRITEDATA, &reply);
    const CURLcode result = Perform(easy.get(), stop);
    long status = 0;
    curl_easy_getinfo(easy.get(), CURLINFO_RESPONSE_CODE, &status);
    const bool complete = result == CURLE_OK || (result == CURLE_WRITE_ERROR && reply.size() >= kReplyLimit);
    if (!complete || status != 200) {
        return std::nullopt;
    }
    return CutReply(reply);
}

bool DownloadUpdate(const DownloadRequest& request, const DownloadReport& report, const std::atomic<bool>& stop) {
    const std::filesystem::path temp = request.folder / kDownloadName;
    const bool done = DownloadInto(request, temp, report, stop);
    if (!done) {
        std::error_code ignored;
        std::filesystem::remove(temp, ignored);
    }
    return done;
}

std::string FileSha256(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    using Context = std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)>;
    Context context(EVP_MD_CTX_new(), &EVP_MD_CTX_free);
    if (!in || !context || EVP_DigestInit_ex(context.get(), EVP_sha256(), nullptr) != 1) {
        return {};
    }
    std::vector<char> buffer(1 << 16);
    while (in.read(buffer.data(), static_cast<std::streamsize>(buffer.size())) || in.gcount() > 0) {
        EVP_DigestUpdate(context.get(), buffer.data(), static_cast<std::size_t>(in.gcount()));
    }
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (!in.eof() || EVP_DigestFinal_ex(context.get(), digest, &length) != 1) {
        return {};
    }
    static constexpr char kHex[] = "0123456789abcdef";
    std::string hex;
    for (unsigned int i = 0; i < length; ++i) {
        hex += kHex[digest[i] >> 4];
        hex += kHex[digest[i] & 15];
    }
    return hex;
}

}  // namespace quvo
