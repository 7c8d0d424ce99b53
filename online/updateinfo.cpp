#include "online/updateinfo.h"

#include <array>
#include <cstring>

namespace quvo {

namespace {

// The program's own account on its server: the server answers the tagged reply only to it.
constexpr char kRequestUser[] = "pim";
constexpr char kRequestPassword[] = "qorvintesl";

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

std::string Trimmed(std::string_view text) {
    while (!text.empty() && IsSpace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsSpace(text.back())) {
        text.remove_suffix(1);
    }
    return std::string(text);
}

// The content between the first "<name>" and the first "</name>" of the text. Unless `anyLength`,
// the closing tag must come at least two bytes after the opening one.
std::optional<std::string> TagContent(std::string_view text, std::string_view name, bool anyLength) {
    const std::string open = "<" + std::string(name) + ">";
    const std::string close = "</" + std::string(name) + ">";
    const std::size_t start = text.find(open);
    const std::size_t end = text.find(close);
    if (start == std::string_view::npos || end == std::string_view::npos) {
        return std::nullopt;
    }
    const std::size_t from = start + open.size();
    if (anyLength) {
        return end >= from ? std::string(text.substr(from, end - from)) : std::string();
    }
    if (end <= start || from + 1 >= end) {
        return std::nullopt;
    }
    return std::string(text.substr(from, end - from));
}

struct TagField {
    const char* name;
    std::string UpdateInfo::*field;
};

// The tags after <ver>, in the order of the normalised text.
constexpr std::array<TagField, 6> kTags{{{"web", &UpdateInfo::web},
                                         {"username", &UpdateInfo::username},
                                         {"password", &UpdateInfo::password},
                                         {"path", &UpdateInfo::path},
                                         {"update", &UpdateInfo::update},
                                         {"sha256", &UpdateInfo::sha256}}};

}  // namespace

std::string UpdateRequestBody() {
    return std::string("username=") + kRequestUser + "&password=" + kRequestPassword;
}

std::string CutReply(std::string_view raw) {
    raw = raw.substr(0, kReplyLimit);
    return std::string(raw.substr(0, raw.find('\0')));
}

std::optional<UpdateInfo> ParseUpdateReply(std::string_view text, TrimTags trim) {
    const std::optional<std::string> ver = TagContent(text, "ver", true);
    if (!ver) {
        return std::nullopt;
    }
    UpdateInfo info;
    info.ver = Trimmed(*ver);
    for (const TagField& tag : kTags) {
        const std::string content = TagContent(text, tag.name, false).value_or(std::string());
        const bool trimmed = trim == TrimTags::kAll || std::strcmp(tag.name, "update") == 0;
        info.*tag.field = trimmed ? Trimmed(content) : content;
    }
    return info;
}

std::string NormalisedReply(const UpdateInfo& info) {
    std::string text = "<ver>" + info.ver + "</ver>";
    for (const TagField& tag : kTags) {
        const std::string& content = info.*tag.field;
        if (!content.empty()) {
            text += "<" + std::string(tag.name) + ">" + content + "</" + tag.name + ">";
        }
    }
    return text;
}

bool IsNewerVersion(std::string_view offered, std::string_view current) {
    return offered.compare(current) > 0;  // char_traits<char> compares bytes as unsigned
}

std::string RemoteFile(const UpdateInfo& info) { return "/" + info.path + "/" + info.update; }

}  // namespace quvo
