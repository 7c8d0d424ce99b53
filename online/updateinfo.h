#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quvo {

// The update check's dialogue with the server: the form body the program sends, the tagged
// reply it gets back and what it takes from it. Texts are GBK bytes; every tag and every
// white-space byte is ASCII below 0x40, which no GBK trail byte is, so a plain byte search
// never starts or ends inside a character.

// The reply is read into 1024 bytes of which the first 1020 at most count.
inline constexpr std::size_t kReplyLimit = 1020;

// "username=...&password=..." of the program's own request.
std::string UpdateRequestBody();

// The reply text: the first kReplyLimit bytes at most, up to the first zero byte.
std::string CutReply(std::string_view raw);

// The six tags of the reply, plus <sha256>, the updater's SHA-256 in hex when the server
// gives it.
struct UpdateInfo {
    std::string ver;
    std::string web;       // FTP server, host or host:port
    std::string username;
    std::string password;
    std::string path;      // folder of the updater on the FTP server
    std::string update;    // file name of the updater
    std::string sha256;
};

// How much of the contents is trimmed: the worker trims only <ver> and <update>, the dialog
// everything.
enum class TrimTags { kVersionAndUpdate, kAll };

// The tags found in the text; nullopt when "<ver>" or "</ver>" is missing. Every tag but
// <ver> needs a content of at least two bytes between its tags, else it counts as absent.
std::optional<UpdateInfo> ParseUpdateReply(std::string_view text, TrimTags trim);

// "<ver>...</ver>" followed by each other tag that has a content, in a fixed order.
std::string NormalisedReply(const UpdateInfo& info);

// True when the offered version sorts after the current one byte by byte ("6.1" after "6.0",
// "10.0" before it).
bool IsNewerVersion(std::string_view offered, std::string_view current);

// "/" + path + "/" + update: where the updater lies on the FTP server.
std::string RemoteFile(const UpdateInfo& info);

}  // namespace quvo
