// quvo-server: the program's pages and results file served to a classroom's computers.
//   quvo-server [--listen ADDR:PORT] [--folder PROGRAM_FOLDER] [--results FILE] [--pinyin FILE]
// Stops cleanly on SIGTERM or SIGINT.
#include <QFile>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "online/pageserver.h"
#include "settings/commandline.h"

namespace {

using quvo::OptionValue;

constexpr int kBadArguments = 2;

struct Options {
    std::string host = "0.0.0.0";
    int port = 8080;
    std::string folder = ".";
    std::string results;  // default: quvo-results.db in the folder
    std::string pinyinFile;
};

const char kUsage[] =
    "usage: quvo-server [--listen ADDR:PORT] [--folder PROGRAM_FOLDER] [--results FILE]"
    " [--pinyin FILE]\n"
    "  --listen   address and port to serve on (default 0.0.0.0:8080; port 0: any free port)\n"
    "  --folder   the program folder with hz.db, fonts/ and book/ (default: current folder)\n"
    "  --results  the results file (default: quvo-results.db in the program folder)\n"
    "  --pinyin   the pinyin table (GBK text); needed when none is compiled in\n";

// "ADDR:PORT", also "[v6-address]:PORT".
bool ParseListen(const std::string& text, Options& options) {
    const std::size_t colon = text.rfind(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == text.size()) {
        return false;
    }
    std::string host = text.substr(0, colon);
    if (host.size() > 2 && host.front() == '[' && host.back() == ']') {
        host = host.substr(1, host.size() - 2);
    }
    const std::string port = text.substr(colon + 1);
    if (port.size() > 5 || port.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    options.port = std::stoi(port);
    options.host = host;
    return options.port <= 65535;
}

void ReadOption(const std::vector<std::string>& args, std::size_t& i, Options& options) {
    if (auto v = OptionValue(args, i, "--listen")) {
        if (!ParseListen(*v, options)) {
            throw std::invalid_argument("bad --listen value: " + *v);
        }
    } else if (auto f = OptionValue(args, i, "--folder")) {
        options.folder = *f;
    } else if (auto r = OptionValue(args, i, "--results")) {
        options.results = *r;
    } else if (auto p = OptionValue(args, i, "--pinyin")) {
        options.pinyinFile = *p;
    } else {
        throw std::invalid_argument("unknown argument: " + args[i]);
    }
}

void CheckFolder(const Options& options) {
    namespace fs = std::filesystem;
    std::error_code error;
    if (!fs::is_directory(options.folder, error)) {
        throw std::invalid_argument("no such program folder: " + options.folder);
    }
    if (!fs::is_regular_file(fs::path(options.folder) / "hz.db", error)) {
        throw std::invalid_argument("the program folder has no hz.db: " + options.folder);
    }
    if (options.results.empty()) {
        throw std::invalid_argument("--results needs a file name");
    }
    if (fs::is_directory(options.results, error)) {
        throw std::invalid_argument("the results file is a folder: " + options.results);
    }
    const fs::path resultsFolder = fs::absolute(options.results, error).parent_path();
    if (!fs::is_directory(resultsFolder, error)) {
        throw std::invalid_argument("no folder for the results file: " + options.results);
    }
}

Options ParseArguments(const std::vector<std::string>& args) {
    Options options;
    bool resultsGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        resultsGiven = resultsGiven || args[i].rfind("--results", 0) == 0;
        ReadOption(args, i, options);
    }
    if (!resultsGiven) {
        options.results = (std::filesystem::path(options.folder) / "quvo-results.db").string();
    }
    CheckFolder(options);
    // Whole paths, so that the help page tells a teacher where the files are.
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::absolute(options.folder, error);
    if (!error) {
        options.folder = folder.lexically_normal().string();
    }
    return options;
}

// The pinyin table: the given file, else the one compiled in.
std::string PinyinTable(const Options& options) {
    if (!options.pinyinFile.empty()) {
        std::ifstream in(options.pinyinFile, std::ios::binary);
        std::ostringstream text;
        if (!in || !(text << in.rdbuf())) {
            throw std::invalid_argument("cannot read the pinyin table " + options.pinyinFile);
        }
        return text.str();
    }
#ifdef QUVO_HAS_PINYIN_TABLE
    QFile table(QStringLiteral(":/txt/pinyin.txt"));
    if (table.open(QIODevice::ReadOnly)) {
        return table.readAll().toStdString();
    }
#endif
    throw std::invalid_argument("no pinyin table is compiled in: give --pinyin FILE");
}

// SIGTERM and SIGINT are taken by sigwait on the main thread; every thread started after
// this keeps them blocked.
sigset_t StopSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    return signals;
}

int Serve(const Options& options, const std::string& pinyinTable) {
    const sigset_t signals = StopSignals();
    // Enough threads that a class of 30 to 50 computers, each keeping connections open, never
    // waits for one.
    quvo::PageServer server({options.folder, pinyinTable, options.results, QUVO_VERSION, 96});
    if (!server.Start(options.host, options.port)) {
        std::cerr << "quvo-server: cannot listen on " << options.host << ":" << options.port
                  << "\n";
        return 1;
    }
    std::cout << "quvo-server: serving http://" << options.host << ":" << server.Port()
              << "/ with results in " << options.results << std::endl;
    int received = 0;
    sigwait(&signals, &received);
    server.Stop();
    std::cout << "quvo-server: stopped" << std::endl;
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::cout << kUsage;
        return 0;
    }
    Options options;
    std::string pinyinTable;
    try {
        options = ParseArguments(args);
        pinyinTable = PinyinTable(options);
    } catch (const std::invalid_argument& error) {
        std::cerr << "quvo-server: " << error.what() << "\n" << kUsage;
        return kBadArguments;
    }
    return Serve(options, pinyinTable);
}
