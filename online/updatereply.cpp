#include "online/updatereply.h"

#include <fstream>

namespace quvo {

namespace {

// The update check reads at most 1019 bytes of the reply.
constexpr std::size_t kReplyLimit = 1019;

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The file's first bytes, up to the limit; empty when it cannot be read.
std::string ReadHead(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::string text(kReplyLimit, '\0');
    if (!in || file.empty()) {
        return {};
    }
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    return text;
}

}  // namespace

std::string UpdateReply(const std::string& configFile, const std::string& runningVersion) {
    std::string reply = ReadHead(configFile);
    // An editor's final line break is no part of the reply.
    while (!reply.empty() && IsSpace(reply.back())) {
        reply.pop_back();
    }
    if (reply.empty()) {
        return "<ver>" + runningVersion + "</ver>";
    }
    return reply;
}

}  // namespace quvo
