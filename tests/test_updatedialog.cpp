// The update offer in the running program: our page server offers a version, the dialog asks,
// downloads the updater from a real FTP server (pyftpdlib) with its progress dialog, starts it
// and closes; or, when anything fails, says so and keeps the old updater.
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>

#include <cstdlib>
#include <memory>

#include "app/quvodlg.h"
#include "app/usermessages.h"
#include "ftpserver.h"
#include "online/loadhtmlthread.h"
#include "online/pageserver.h"
#include "online/updatetransfer.h"
#include "programfolder.h"

namespace fs = std::filesystem;
using quvo::test::ReadAll;
using quvo::test::WriteAll;

// Sees every event of the object it is installed on.
class EventSpy : public QObject {
public:
    explicit EventSpy(std::function<void(QEvent*)> seen) : m_seen(std::move(seen)) {}
    bool eventFilter(QObject*, QEvent* event) override {
        m_seen(event);
        return false;
    }

private:
    std::function<void(QEvent*)> m_seen;
};

class TestUpdate : public QObject {
    Q_OBJECT

private:
    quvo::test::TempFolder m_root;  // the FTP server's files and the page server's folder
    fs::path m_served = m_root.Path() / "served";
    fs::path m_record = m_root.Path() / "record";
    std::unique_ptr<quvo::test::FtpServer> m_ftp;
    std::unique_ptr<quvo::test::FtpServer> m_slowFtp;
    std::unique_ptr<quvo::PageServer> m_pages;
    std::unique_ptr<quvo::test::ProgramFolder> m_dir;
    std::vector<quvo::MessageBoxCall> m_boxes;
    int m_answer = QMessageBox::No;
    std::string m_updater;

    // The page server's reply to the update check.
    void Offer(const std::string& reply) const { WriteAll((m_root.Path() / "pages" / "update.txt").string(), reply); }

    std::string Tags(const std::string& ver, const std::string& ftp, const std::string& password,
                     const std::string& file, const std::string& sha256) const {
        return "<ver>" + ver + "</ver><web>" + ftp + "</web><username>quvo</username><password>" + password +
               "</password><path>pub</path><update>" + file + "</update><sha256>" + sha256 + "</sha256>";
    }

    std::string GoodTags(const std::string& ver) const {
        return Tags(ver, m_ftp->Address(), "s3cret", "update.sh", quvo::FileSha256(m_served / "pub" / "update.sh"));
    }

    static CLoadHtmlThread* Worker(CQuvoDlg& dlg) { return dlg.m_updateWorker; }

    // The dialog started as the program starts it, after its worker has done its job.
    std::unique_ptr<CQuvoDlg> RunUpdateCheck() {
        auto dlg = quvo::test::StartDialog();
        if (!QTest::qWaitFor([&] { return Worker(*dlg)->JobDone(); }, 30000)) {
            qWarning("update check not done");
        }
        QCoreApplication::processEvents();
        return dlg;
    }

    QStringList BoxTexts() const {
        QStringList texts;
        for (const auto& box : m_boxes) {
            texts << box.text;
        }
        return texts;
    }

    void ExpectOldUpdaterKept(const CQuvoDlg& dlg) const {
        QCOMPARE(ReadAll("update"), std::string("old"));
        QVERIFY(!fs::exists("updatetmp.tmp"));
        QVERIFY(!dlg.m_exitStarted);
        QVERIFY(!fs::exists(m_record));
    }

private Q_SLOTS:
    void initTestCase() {
        fs::create_directories(m_served / "pub");
        fs::create_directories(m_root.Path() / "pages");
        m_updater = quvo::test::RecordingUpdater(m_record) + "# " + std::string(256 * 1024, 'x') + "\n";
        WriteAll((m_served / "pub" / "update.sh").string(), m_updater);
        WriteAll((m_served / "pub" / "garbage.bin").string(), std::string(4096, '\x7f'));
        m_ftp = std::make_unique<quvo::test::FtpServer>(m_served, "quvo", "s3cret");
        m_slowFtp = std::make_unique<quvo::test::FtpServer>(m_served, "quvo", "s3cret", 32 * 1024);
        QVERIFY(!m_ftp->Address().empty() && !m_slowFtp->Address().empty());
        m_pages = std::make_unique<quvo::PageServer>(
            quvo::PageServerConfig{(m_root.Path() / "pages").string(), std::string(), m_root.File("results.db"), "6.0"});
        QVERIFY(m_pages->Start("127.0.0.1", 0));
        setenv("QUVO_SERVER", ("127.0.0.1:" + std::to_string(m_pages->Port())).c_str(), 1);
    }

    void cleanupTestCase() { unsetenv("QUVO_SERVER"); }

    void init() {
        m_dir = std::make_unique<quvo::test::ProgramFolder>(&m_boxes);
        quvo::SetMessageBoxHook([this](const quvo::MessageBoxCall& call) {
            m_boxes.push_back(call);
            return call.question ? m_answer : static_cast<int>(QMessageBox::Ok);
        });
        WriteAll("update", "old");
        fs::remove(m_record);
        m_answer = QMessageBox::No;
    }

    void cleanup() {
        unsetenv("QUVO_NO_UPDATE_CHECK");
        CLoadHtmlThread::AllowUpdateCheck(true);
        m_dir.reset();
    }

    void nothingIsOfferedButANewerVersion_data() {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<bool>("offByEnvironment");
        QTest::addColumn<bool>("offByProgram");
        const QString newer = QString::fromStdString(GoodTags("6.1"));
        QTest::newRow("same") << QStringLiteral("<ver>6.0</ver><web>h:21</web>") << false << false;
        QTest::newRow("10.0 sorts before") << QStringLiteral("<ver>10.0</ver><web>h:21</web>") << false << false;
        QTest::newRow("no <ver>") << QStringLiteral("<web>h:21</web>6.1</ver>") << false << false;
        QTest::newRow("no </ver>") << QStringLiteral("<ver>6.1<web>h:21</web>") << false << false;
        QTest::newRow("switched off for a run") << newer << true << false;
        QTest::newRow("switched off by a packaged build") << newer << false << true;
    }

    void nothingIsOfferedButANewerVersion() {
        QFETCH(QString, reply);
        QFETCH(bool, offByEnvironment);
        QFETCH(bool, offByProgram);
        if (offByEnvironment) {
            setenv("QUVO_NO_UPDATE_CHECK", "1", 1);
        }
        CLoadHtmlThread::AllowUpdateCheck(!offByProgram);
        Offer(reply.toStdString());
        m_answer = QMessageBox::Yes;
        auto dlg = RunUpdateCheck();
        QCOMPARE(BoxTexts(), QStringList());
        ExpectOldUpdaterKept(*dlg);
    }

    void aDeclinedOfferDoesNothingMore() {
        Offer(GoodTags("6.1"));
        auto dlg = RunUpdateCheck();
        QCOMPARE(BoxTexts(), QStringList{QStringLiteral("有新版本，你要下载吗")});
        QCOMPARE(m_boxes[0].caption, QStringLiteral("提示"));
        QVERIFY(m_boxes[0].question);
        ExpectOldUpdaterKept(*dlg);
    }

    // Accepted: the updater arrives, is started from the program folder (here one far longer
    // than any fixed buffer) with the hand-over argument, and the program ends.
    void anAcceptedOfferStartsTheUpdaterAndEnds() {
        const fs::path deep = fs::current_path() / std::string(120, 'd') / std::string(120, 'e');
        fs::create_directories(deep);
        for (const char* file : {"fonts/quvokai.ttf", "hz.db"}) {
            quvo::test::LinkProgramFile(QUVO_PROGRAM_DIR, deep, file);
        }
        fs::current_path(deep);
        WriteAll("update", "old");
        Offer(GoodTags("6.1"));
        m_answer = QMessageBox::Yes;
        auto dlg = RunUpdateCheck();
        QTRY_VERIFY_WITH_TIMEOUT(fs::exists(m_record), 20000);
        const std::string expected = (deep / "update").string() + "\n168\n" + deep.string() + "\n";
        QCOMPARE(ReadAll(m_record.string()), expected);
        QCOMPARE(ReadAll("update"), m_updater);
        QVERIFY(!fs::exists("updatetmp.tmp"));
        QVERIFY(dlg->m_exitStarted);
        QCOMPARE(BoxTexts(), QStringList{QStringLiteral("有新版本，你要下载吗")});
    }

    // Each way a download fails is told apart by the download's own tests; here the dialog's
    // answer to a failed download and to an updater that cannot be started.
    void aFailedDownloadIsToldAndKeepsTheOldUpdater_data() {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("sha256");
        QTest::addColumn<QString>("box");
        const QString download = QStringLiteral("下载更新程序失败");
        const QString good = QString::fromStdString(quvo::FileSha256(m_served / "pub" / "update.sh"));
        QTest::newRow("wrong hash") << QStringLiteral("s3cret") << QStringLiteral("update.sh") << QString(64, u'0') << download;
        QTest::newRow("wrong password") << QStringLiteral("guess") << QStringLiteral("update.sh") << good << download;
        // Arrives whole but is no program: the updater cannot be started.
        QTest::newRow("not a program") << QStringLiteral("s3cret") << QStringLiteral("garbage.bin") << QString()
                                       << QStringLiteral("启动升级程序失败");
    }

    void aFailedDownloadIsToldAndKeepsTheOldUpdater() {
        QFETCH(QString, password);
        QFETCH(QString, file);
        QFETCH(QString, sha256);
        QFETCH(QString, box);
        Offer(Tags("6.1", m_ftp->Address(), password.toStdString(), file.toStdString(), sha256.toStdString()));
        m_answer = QMessageBox::Yes;
        auto dlg = RunUpdateCheck();
        QCOMPARE(BoxTexts(), (QStringList{QStringLiteral("有新版本，你要下载吗"), box}));
        if (file == QStringLiteral("garbage.bin")) {
            QCOMPARE(ReadAll("update"), std::string(4096, '\x7f'));
            WriteAll("update", "old");
        }
        ExpectOldUpdaterKept(*dlg);
    }

    // The progress dialog counts the kilobytes up; Cancel stops the download and leaves nothing.
    void cancellingTheProgressDialogLeavesNothing() {
        Offer(Tags("6.1", m_slowFtp->Address(), "s3cret", "update.sh", std::string()));
        m_answer = QMessageBox::Yes;
        auto dlg = quvo::test::StartDialog();
        std::vector<int> stages;
        QStringList counts;
        int shownMaximum = 0;
        EventSpy spy([&](QEvent* event) {
            if (event->type() != quvo::UserEventType(quvo::kDownloadProgress)) {
                return;
            }
            const auto& step = static_cast<const quvo::UserMessageEvent&>(*event);
            stages.push_back(static_cast<int>(step.wParam()));
            if (step.wParam() != quvo::kStageTransferred) {
                return;
            }
            counts << QString::fromUtf8(step.text);
            QProgressDialog* progress = dlg->m_downloadProgress;
            if (step.point.x() >= 64 && progress != nullptr && shownMaximum == 0) {
                shownMaximum = progress->maximum();
                QMetaObject::invokeMethod(progress->findChild<QPushButton*>(), "click", Qt::QueuedConnection);
            }
        });
        dlg->installEventFilter(&spy);
        QVERIFY(QTest::qWaitFor([&] { return Worker(*dlg)->JobDone(); }, 30000));
        QCOMPARE(std::vector<int>(stages.begin(), stages.begin() + 4), (std::vector<int>{4, 6, 20, 40}));
        QVERIFY2(counts.size() >= 2, qPrintable(counts.join(u'|')));
        QCOMPARE(counts.filter(QStringLiteral(",共256 K")), counts);
        QCOMPARE(shownMaximum, 256);
        QCOMPARE(BoxTexts(), QStringList{QStringLiteral("有新版本，你要下载吗")});
        ExpectOldUpdaterKept(*dlg);
    }

    // Quitting while the server keeps the worker waiting ends at once, without an offer.
    void quittingWhileTheServerIsSilentEnds() {
        const quvo::test::SilentServer silent;
        const QByteArray configured = qgetenv("QUVO_SERVER");
        setenv("QUVO_SERVER", silent.Host().c_str(), 1);
        auto dlg = quvo::test::StartDialog();
        QTest::qWait(300);
        QVERIFY(!Worker(*dlg)->JobDone());  // still waiting for the server
        dlg->ExitRoutine();
        QTRY_VERIFY(Worker(*dlg)->JobDone());
        dlg.reset();
        setenv("QUVO_SERVER", configured.constData(), 1);
        QCOMPARE(BoxTexts(), QStringList());
    }
};

QTEST_MAIN(TestUpdate)
#include "test_updatedialog.moc"
