#include "online/serveraddress.h"

#include <cstdio>
#include <fstream>

#include "chardata/gbk.h"

namespace quvo {

namespace {

bool IsUnreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

std::string EncodeGbkValue(std::string_view gbk) {
    const std::optional<std::string> utf8 = GbkToUtf8(gbk);
    return PercentEncode(utf8 ? std::string_view(*utf8) : gbk);
}

// "k=v&k=v" with each value encoded; a part without "=" is kept as a bare, encoded key.
std::string EncodeQuery(std::string_view query) {
    std::string out;
    while (true) {
        const std::size_t amp = query.find('&');
        const std::string_view part = query.substr(0, amp);
        const std::size_t eq = part.find('=');
        out += PercentEncode(part.substr(0, eq));
        if (eq != std::string_view::npos) {
            out += '=' + EncodeGbkValue(part.substr(eq + 1));
        }
        if (amp == std::string_view::npos) {
            return out;
        }
        out += '&';
        query.remove_prefix(amp + 1);
    }
}

std::string Trimmed(std::string text) {
    const char* space = " \t\r\n";
    const std::size_t first = text.find_first_not_of(space);
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(space) - first + 1);
}

std::optional<std::string> Accepted(const std::string& value, const char* from) {
    if (value.empty()) {
        return std::nullopt;
    }
    if (!IsServerHost(value)) {
        std::fprintf(stderr, "quvo: %s does not name a server (host or host:port): \"%s\"; "
                             "the program serves its pages itself\n",
                     from, value.c_str());
        return std::nullopt;
    }
    return value;
}

}  // namespace

std::string PercentEncode(std::string_view bytes) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 3);
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (IsUnreserved(c)) {
            out += ch;
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

std::string ServerPageAddress(const std::string& host, std::string_view gbkPathAndQuery) {
    while (!gbkPathAndQuery.empty() && gbkPathAndQuery.front() == '/') {
        gbkPathAndQuery.remove_prefix(1);
    }
    const std::size_t mark = gbkPathAndQuery.find('?');
    std::string address = "http://" + host + "/" + std::string(gbkPathAndQuery.substr(0, mark));
    if (mark != std::string_view::npos) {
        address += '?' + EncodeQuery(gbkPathAndQuery.substr(mark + 1));
    }
    return address;
}

std::string HelpPageAddress(const std::string& host) {
    return "http://" + host + "/newslist.asp?newstype=" + PercentEncode("软件使用帮助");
}

std::string StartPageAddress(const std::string& host, std::string_view product) {
    return "http://" + host + "/soft.asp?c=" + PercentEncode(product);
}

bool IsServerHost(std::string_view text) {
    const std::size_t colon = text.rfind(':');
    const std::string_view name = text.substr(0, colon);
    if (name.empty() || name.size() > 253 || name.front() == '-' || name.front() == '.') {
        return false;
    }
    for (const char c : name) {
        if (!IsUnreserved(static_cast<unsigned char>(c)) || c == '_' || c == '~') {
            return false;
        }
    }
    if (colon == std::string_view::npos) {
        return true;
    }
    const std::string_view port = text.substr(colon + 1);
    if (port.empty() || port.size() > 5) {
        return false;
    }
    long value = 0;
    for (const char c : port) {
        if (c < '0' || c > '9') {
            return false;
        }
        value = value * 10 + (c - '0');
    }
    return value >= 1 && value <= 65535;
}

std::optional<std::string> ConfiguredServer(const char* environmentValue,
                                            const std::string& serverFile) {
    if (environmentValue != nullptr && *environmentValue != '\0') {
        return Accepted(Trimmed(environmentValue), "QUVO_SERVER");
    }
    std::ifstream file(serverFile);
    std::string line;
    if (!file || !std::getline(file, line)) {
        return std::nullopt;
    }
    return Accepted(Trimmed(line), "server.txt");
}

}  // namespace quvo
