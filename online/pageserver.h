#pragma once

#include <memory>
#include <string>

namespace quvo {

// Where a page server finds what it serves.
struct PageServerConfig {
    std::string programFolder;  // hz.db, fonts/, book/, update.txt
    std::string pinyinTable;    // the program's pinyin table (GBK)
    std::string resultsFile;    // the SQLite results file
    std::string version;        // the running program's version, for the update reply
    // Requests served at once. Each open connection holds one; a classroom's computers keep
    // several open each, the program's own panel one or two.
    std::size_t threads = 8;
};

// The program's web service on cpp-httplib: the character page (/hanzi.asp?z=), the result
// page (/shizi.asp?z=&f=&b=&c=&s=), the start page (/soft.asp?c=), the learning record
// (/jilu.asp, /jilu.csv), the help page (/newslist.asp?newstype=) and the update reply
// (POST /update.asp). Values arrive percent-encoded UTF-8. Requests are handled on the
// server's own threads.
class PageServer {
public:
    explicit PageServer(PageServerConfig config);
    ~PageServer();  // stops the server
    PageServer(const PageServer&) = delete;
    PageServer& operator=(const PageServer&) = delete;

    // Binds host:port (port 0: a free port) and serves on a thread of its own. False when the
    // address cannot be bound.
    bool Start(const std::string& host, int port);
    // Serves on the calling thread until Stop; false when the address cannot be bound.
    bool Listen(const std::string& host, int port);
    void Stop();
    int Port() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace quvo
