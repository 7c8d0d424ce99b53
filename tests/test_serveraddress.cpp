// Addresses of the program's pages and the choice of the server they come from.
#include <gtest/gtest.h>

#include "chardata/gbk.h"
#include "online/loadfailure.h"
#include "online/serveraddress.h"
#include "testfiles.h"

namespace {

using quvo::test::TempFolder;

std::string Gbk(const char* utf8) { return quvo::Utf8ToGbk(utf8).value(); }

TEST(ServerPageAddress, ValuesBecomePercentEncodedUtf8) {
    struct Case {
        std::string gbk;
        const char* address;
    } cases[] = {
        {"hanzi.asp?z=" + Gbk("高"), "http://h:1/hanzi.asp?z=%E9%AB%98"},
        {"/hanzi.asp?z=" + Gbk("高"), "http://h:1/hanzi.asp?z=%E9%AB%98"},
        // A result with two strokes out of order on a page of three characters: every comma
        // of b and s is encoded, and the two empty buttons still give their commas.
        {"shizi.asp?z=" + Gbk("天") + "&f=no&b=1,2,&c=4&s=" + Gbk("天,地,人,") + ",,",
         "http://h:1/shizi.asp?z=%E5%A4%A9&f=no&b=1%2C2%2C&c=4&s=%E5%A4%A9%2C%E5%9C%B0%2C%E4%BA%BA%2C%2C%2C"},
        {"shizi.asp?z=" + Gbk("天") + "&f=ok&b=&c=4&s=,,,,,",
         "http://h:1/shizi.asp?z=%E5%A4%A9&f=ok&b=&c=4&s=%2C%2C%2C%2C%2C"},
        // Bytes that are not GBK text go as they are, each encoded; nothing can break out of
        // its value.
        {std::string("hanzi.asp?z=\xFF<\"#"), "http://h:1/hanzi.asp?z=%FF%3C%22%23"},
        {"soft.asp", "http://h:1/soft.asp"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(quvo::ServerPageAddress("h:1", c.gbk), c.address) << c.address;
    }
    EXPECT_EQ(quvo::HelpPageAddress("h:1"),
              "http://h:1/newslist.asp?newstype=%E8%BD%AF%E4%BB%B6%E4%BD%BF%E7%94%A8%E5%B8%AE%E5%8A%A9");
    EXPECT_EQ(quvo::StartPageAddress("h:1", "Lumeo 6.0"), "http://h:1/soft.asp?c=Lumeo%206.0");
}

TEST(ConfiguredServer, EnvironmentThenServerFileThenOwn) {
    TempFolder dir;
    const std::string file = dir.File("server.txt");
    EXPECT_EQ(quvo::ConfiguredServer(nullptr, file), std::nullopt);
    quvo::test::WriteAll(file, "  school.example:8080 \r\nsecond line\r\n");
    EXPECT_EQ(quvo::ConfiguredServer(nullptr, file), "school.example:8080");
    EXPECT_EQ(quvo::ConfiguredServer("", file), "school.example:8080");
    EXPECT_EQ(quvo::ConfiguredServer("10.0.0.5:9000", file), "10.0.0.5:9000");
    // A value that names no server is refused, not half used: the program serves itself.
    EXPECT_EQ(quvo::ConfiguredServer("http://evil/x", file), std::nullopt);
    quvo::test::WriteAll(file, "\n");
    EXPECT_EQ(quvo::ConfiguredServer(nullptr, file), std::nullopt);
}

TEST(ConfiguredServer, OnlyHostsWithAPortInRange) {
    for (const char* good : {"localhost", "127.0.0.1:1", "a-b.c:65535", "x:8080"}) {
        EXPECT_TRUE(quvo::IsServerHost(good)) << good;
    }
    for (const char* bad : {"", ":80", "h:", "h:0", "h:65536", "h:123456", "h:8a", "h/x", "h?z=1",
                            "-h", "user@h", "h h", "h:80:81"}) {
        EXPECT_FALSE(quvo::IsServerHost(bad)) << bad;
    }
}

TEST(LoadFailure, OnlyAServerPageThatIsMissingGivesWayToTheStartPage) {
    using quvo::LoadFailure;
    struct Case {
        LoadFailure failure;
        bool local;
        bool fallsBack;
    } cases[] = {
        {LoadFailure::kUnreachable, false, true}, {LoadFailure::kNotFound, false, true},
        {LoadFailure::kUnreachable, true, false}, {LoadFailure::kNotFound, true, false},
        {LoadFailure::kReplaced, false, false},   {LoadFailure::kOther, false, false},
        {LoadFailure::kNone, false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(quvo::ShowsLocalStartPage(c.failure, c.local), c.fallsBack)
            << static_cast<int>(c.failure) << " local " << c.local;
    }
}

}  // namespace
