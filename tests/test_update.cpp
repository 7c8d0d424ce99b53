// The update check's protocol and transfers: the tagged reply, the request to our page server
// and the FTP download of the updater from a real FTP server, all on 127.0.0.1.
#include <gtest/gtest.h>

#include <thread>

#include "ftpserver.h"
#include "online/pageserver.h"
#include "online/updateinfo.h"
#include "online/updatetransfer.h"
#include "testfiles.h"

namespace {

using quvo::test::ReadAll;
using quvo::test::TempFolder;
using quvo::test::WriteAll;
namespace fs = std::filesystem;

constexpr char kAll[] =
    "<ver>6.1</ver><web>ftp.example:21</web><username>ab</username><password>pw</password>"
    "<path>pub</path><update>update.sh</update><sha256>00ff</sha256>";

TEST(UpdateReply, TagsAreTakenAsTheProgramReadsThem) {
    using quvo::TrimTags;
    struct Case {
        std::string reply;
        TrimTags trim;
        std::optional<std::string> normalised;  // nullopt: nothing to offer
        std::string remoteFile;
    };
    const std::vector<Case> cases{
        {kAll, TrimTags::kAll, kAll, "/pub/update.sh"},
        {"<ver>6.1</ver><web>h:21</web>", TrimTags::kAll, "<ver>6.1</ver><web>h:21</web>", "//"},
        {"<web>h:21</web><ver>6.1", TrimTags::kAll, std::nullopt, ""},
        {"<web>h:21</web>6.1</ver>", TrimTags::kAll, std::nullopt, ""},
        {"<ver></ver>", TrimTags::kAll, "<ver></ver>", "//"},
        // One-byte contents are absent, two-byte ones are not.
        {"<ver>7</ver><path>p</path><update>u1</update><web>x</web>", TrimTags::kAll, "<ver>7</ver><update>u1</update>",
         "//u1"},
        // The worker trims <ver> and <update> only; the dialog everything.
        {"<ver> 6.1\r\n</ver><web> h</web><update> up </update>", TrimTags::kVersionAndUpdate,
         "<ver>6.1</ver><web> h</web><update>up</update>", "//up"},
        {"<ver> 6.1\r\n</ver><web> h</web><update> up </update>", TrimTags::kAll, "<ver>6.1</ver><web>h</web><update>up</update>",
         "//up"},
        // The first of each tag counts; a closing tag before its opening one does not.
        {"<ver>6.1</ver><ver>7.0</ver></path>xx<path>", TrimTags::kAll, "<ver>6.1</ver>", "//"},
        // GBK contents pass as they are.
        {"<ver>6.1</ver><path>\xb8\xdf\xb8\xdf</path>", TrimTags::kAll, "<ver>6.1</ver><path>\xb8\xdf\xb8\xdf</path>",
         "/\xb8\xdf\xb8\xdf/"},
    };
    for (const Case& c : cases) {
        const auto info = quvo::ParseUpdateReply(c.reply, c.trim);
        ASSERT_EQ(info.has_value(), c.normalised.has_value()) << c.reply;
        if (info) {
            EXPECT_EQ(quvo::NormalisedReply(*info), *c.normalised) << c.reply;
            EXPECT_EQ(quvo::RemoteFile(*info), c.remoteFile) << c.reply;
        }
    }
}

TEST(UpdateReply, VersionsCompareAsBytesAndTheReplyIsCut) {
    const std::vector<std::tuple<std::string, bool>> versions{
        {"6.1", true}, {"6.0", false}, {"10.0", false}, {"6.0.1", true}, {"5.9", false}, {"", false}, {"\xb8\xdf", true}};
    for (const auto& [offered, newer] : versions) {
        EXPECT_EQ(quvo::IsNewerVersion(offered, "6.0"), newer) << offered;
    }
    EXPECT_EQ(quvo::CutReply(std::string(3000, 'x')), std::string(1020, 'x'));
    EXPECT_EQ(quvo::CutReply(std::string("<ver>6.1</ver>\0<web>", 20)), "<ver>6.1</ver>");
    // A tag past the cut is not found.
    const std::string late = std::string(1010, ' ') + "<ver>6.1</ver>";
    EXPECT_FALSE(quvo::ParseUpdateReply(quvo::CutReply(late), quvo::TrimTags::kAll));
}

TEST(UpdateRequest, AsksThePageServerAndStopsWhenTold) {
    TempFolder folder;
    quvo::PageServer server({folder.Path().string(), ReadAll(QUVO_PINYIN_TABLE), folder.File("results.db"), "6.0"});
    ASSERT_TRUE(server.Start("127.0.0.1", 0));
    const std::string host = "127.0.0.1:" + std::to_string(server.Port());
    std::atomic<bool> stop{false};
    EXPECT_EQ(quvo::RequestUpdateReply(host, stop), "<ver>6.0</ver>");
    WriteAll(folder.File("update.txt"), std::string(kAll) + "\n");
    EXPECT_EQ(quvo::RequestUpdateReply(host, stop), kAll);

    quvo::test::SilentServer silent;
    for (const std::string& nobody : {std::string("127.0.0.1:1"), silent.Host()}) {
        std::thread stopper([&stop] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            stop = true;
        });
        EXPECT_EQ(quvo::RequestUpdateReply(nobody, stop), std::nullopt) << nobody;
        stopper.join();
        stop = false;
    }
    stop = true;
    EXPECT_EQ(quvo::RequestUpdateReply(host, stop), std::nullopt);
}

// An FTP server holding the updater (large enough to arrive in many pieces), the same updater
// announced too large, and a program folder with an old updater.
class DownloadTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(served / "pub");
        updater = quvo::test::RecordingUpdater(folder.Path() / "record") + "# " + std::string(200 * 1024, 'x') + "\n";
        WriteAll((served / "pub" / "update.sh").string(), updater);
        WriteAll((served / "pub" / "short.sh").string(), updater);
        WriteAll(folder.File("update"), "old");
        ASSERT_FALSE(ftp.Address().empty());
    }

    TempFolder root;
    fs::path served = root.Path() / "served";
    TempFolder folder;
    quvo::test::FtpServer ftp{(fs::create_directories(root.Path() / "served"), served), "quvo", "s3cret"};
    std::string updater;
};

TEST_F(DownloadTest, OnlyAWholeAndVerifiedUpdaterReplacesTheOldOne) {
    const std::string goodHash = quvo::FileSha256(served / "pub" / "update.sh");
    ASSERT_EQ(goodHash.size(), 64u);
    std::string upperHash = goodHash;
    for (char& c : upperHash) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    struct Case {
        std::string name, password, remoteFile, sha256;
        bool stopWhileArriving;
        bool done;
        std::string failure;  // last report on failure
    };
    const std::vector<Case> cases{
        {"verified", "s3cret", "/pub/update.sh", upperHash, false, true, ""},
        {"no hash given", "s3cret", "//pub//update.sh", "", false, true, ""},
        {"wrong hash", "s3cret", "/pub/update.sh", std::string(64, '0'), false, false, "文件校验错误"},
        {"truncated", "s3cret", "/pub/short.sh", "", false, false, "读取文件错误"},
        {"missing", "s3cret", "/pub/none.sh", "", false, false, "打开文件错误"},
        {"wrong password", "guess", "/pub/update.sh", "", false, false, "获取服务器信息失败" + ftp.Address()},
        {"stopped", "s3cret", "/pub/update.sh", "", true, false, "读取文件错误"},
    };
    for (const Case& c : cases) {
        WriteAll(folder.File("update"), "old");
        std::vector<quvo::DownloadProgress> reports;
        std::atomic<bool> stop{false};
        const quvo::DownloadRequest request{ftp.Address(), "quvo", c.password, c.remoteFile, c.sha256, folder.Path()};
        const bool done = quvo::DownloadUpdate(
            request,
            [&](const quvo::DownloadProgress& step) {
                reports.push_back(step);
                stop = stop || (c.stopWhileArriving && step.stage == quvo::kStageTransferred);
            },
            stop);
        EXPECT_EQ(done, c.done) << c.name;
        EXPECT_FALSE(fs::exists(folder.Path() / "updatetmp.tmp")) << c.name;
        ASSERT_FALSE(reports.empty()) << c.name;
        for (const auto& step : reports) {
            EXPECT_EQ(step.text.find(c.password), std::string::npos) << c.name;
        }
        if (!c.done) {
            EXPECT_EQ(ReadAll(folder.File("update")), "old") << c.name;
            EXPECT_EQ(reports.back().stage, quvo::kStageFailed) << c.name;
            EXPECT_EQ(reports.back().text, c.failure) << c.name;
            continue;
        }
        EXPECT_EQ(ReadAll(folder.File("update")), updater) << c.name;
        EXPECT_NE(fs::status(folder.Path() / "update").permissions() & fs::perms::owner_exec, fs::perms::none);
        std::vector<int> stages;
        for (const auto& step : reports) {
            if (stages.empty() || stages.back() != step.stage) {
                stages.push_back(step.stage);
            }
        }
        EXPECT_EQ(stages, (std::vector<int>{4, 6, 20, 40})) << c.name;
        EXPECT_GT(reports.size(), 5u) << c.name;
        EXPECT_EQ(reports.back().text, "已传输" + std::to_string(updater.size() / 1024) + " K,共" +
                                           std::to_string(updater.size() / 1024) + " K");
    }
}

}  // namespace
