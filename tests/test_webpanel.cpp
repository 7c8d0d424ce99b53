// The web panel in the dialog, with the real browser engine and the program's own page server:
// made after the first paint, sent to the character page on every load and to the result
// page after a round, and back on the local start page when a server page is missing.
#include <QApplication>
#include <QDesktopServices>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>

#include "app/quvodlg.h"
#include "chardata/gbk.h"
#include "chardata/strokeitems.h"
#include "controls/messagebox.h"
#include "online/myhtmlview.h"
#include "online/webpanel.h"
#include "online/serveraddress.h"
#include "programfolder.h"

namespace {

// Records what the dialog asks the desktop to open.
class UrlRecorder : public QObject {
    Q_OBJECT

public:
    std::vector<QUrl> opened;

public Q_SLOTS:
    void open(const QUrl& url) { opened.push_back(url); }
};

}  // namespace

class TestWebPanel : public QObject {
    Q_OBJECT

public:
    static void initMain() { quvo::PrepareWebEngine(); }

private:
    std::unique_ptr<quvo::test::ProgramFolder> m_dir;
    std::vector<quvo::MessageBoxCall> m_boxes;

    static std::string Gbk(const char* utf8) { return quvo::Utf8ToGbk(utf8).value(); }

    // The text of the page the panel shows once it has loaded `url`.
    static QString PageText(CMyHtmlView& view, const QUrl& url) {
        QWebEngineView* engine = view.Engine();
        if (!QTest::qWaitFor([&] { return engine->url() == url && !engine->page()->isLoading(); }, 20000)) {
            return QStringLiteral("(not loaded: %1)").arg(engine->url().toString());
        }
        QString text;
        bool done = false;
        engine->page()->runJavaScript(QStringLiteral("document.body.innerText"), [&](const QVariant& v) {
            text = v.toString();
            done = true;
        });
        return QTest::qWaitFor([&] { return done; }, 10000) ? text : QStringLiteral("(no answer)");
    }

    // A port on 127.0.0.1 that nothing listens on: bound once by the system's choice, then let go.
    static int ClosedPort() {
        const int fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        bind(fd, reinterpret_cast<sockaddr*>(&address), size);
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
        close(fd);
        return ntohs(address.sin_port);
    }

    static void SaveShot(QWidget& widget, const char* name) {
        QTest::qWait(300);  // the compositor's frame after the load
        QVERIFY(widget.grab().save(QStringLiteral(QUVO_TEST_OUTPUT_DIR "/") + QString::fromLatin1(name)));
    }

    // The dialog's panel, which must be the browser of the panel's library.
    static CMyHtmlView& Browser(CQuvoDlg& dlg) {
        auto* browser = dynamic_cast<CMyHtmlView*>(dlg.m_webView);
        if (browser == nullptr) {
            qFatal("the web panel is not the browser");
        }
        return *browser;
    }

    std::unique_ptr<CQuvoDlg> StartWithPanel() {
        auto dlg = quvo::test::StartDialog(true);
        if (!QTest::qWaitFor([&] { return dlg->m_webView != nullptr; }, 5000)) {
            qWarning("no web panel");
        }
        return dlg;
    }

private Q_SLOTS:
    void init() {
        m_dir = std::make_unique<quvo::test::ProgramFolder>(&m_boxes);
        quvo::test::LinkProgramFile(QUVO_PROGRAM_DIR, m_dir->Path(), "first.htm");
        quvo::test::LinkProgramFile(QUVO_PROGRAM_DIR, m_dir->Path(), "book");
        quvo::test::LinkProgramFile(QUVO_PROGRAM_DIR, m_dir->Path(), "libquvo_webpanel.so");
        quvo::SetWebPanelEngine(true);
        unsetenv("QUVO_SERVER");
    }
    void cleanup() { m_dir.reset(); }

    // The panel comes once the dialog has painted: the start page, then the character page on
    // every load (the same character again too), then the result of a round, all from the
    // program's own server.
    void followsTheChildFromStartToResult() {
        auto dlg = StartWithPanel();
        QVERIFY(dlg->m_webView != nullptr);
        CMyHtmlView& view = Browser(*dlg);
        QCOMPARE(dlg->GetDlgItem(quvo::WebPanel::kControlId), static_cast<QWidget*>(&view));
        QCOMPARE(view.CoveredRect(), QRect(810, 76, 210, 414));
        QCOMPARE(view.geometry(), QRect(dlg->mapToGlobal(QPoint(810, 76)), QSize(210, 414)));
        QVERIFY(view.isVisible());
        dlg->move(40, 30);  // the panel goes with the dialog, and hides with it
        QTRY_COMPARE(view.pos(), dlg->mapToGlobal(QPoint(810, 76)));
        dlg->showMinimized();
        QTRY_VERIFY(!view.isVisible());
        dlg->showNormal();
        QTRY_VERIFY(view.isVisible());
        const std::string host = dlg->m_serverHost;
        QVERIFY(host.rfind("127.0.0.1:", 0) == 0);
        const QUrl start(QString::fromStdString(quvo::StartPageAddress(host, "Lumeo6.0")));
        QCOMPARE(view.Navigations(), (std::vector<QUrl>{view.LocalStartPage(), start, start}));
        QVERIFY(!PageText(view, start).isEmpty());

        const QUrl gao(QString::fromStdString("http://" + host + "/hanzi.asp?z=%E9%AB%98"));
        for (int load = 1; load <= 2; ++load) {
            dlg->LoadCharacter(Gbk("高").c_str());
            QCOMPARE(view.Navigations().back(), gao);
            QCOMPARE(view.Navigations().size(), std::size_t(3 + load));
        }
        const QString text = PageText(view, gao);
        QVERIFY2(text.contains(QStringLiteral("高")) && text.contains(QStringLiteral("gāo")), qPrintable(text));
        SaveShot(view, "webpanel-character.png");

        // Strokes 2 and 1 swapped: the result page names 高 and marks them.
        const std::string order = dlg->m_strokeOrder;
        for (int k : {2, 1, 3, 4, 5, 6, 7, 8, 9, 10}) {
            dlg->m_placed.Append(quvo::StrokeOrderAt(order, k, dlg->m_strokeCount));
        }
        dlg->CheckAssembly();
        const QUrl result = view.Navigations().back();
        QCOMPARE(result.path(), QStringLiteral("/shizi.asp"));
        QVERIFY2(result.toString(QUrl::FullyEncoded).contains(QStringLiteral("z=%E9%AB%98&f=no&b=1%2C2%2C&c=10")),
                 qPrintable(result.toString(QUrl::FullyEncoded)));
        QVERIFY(!PageText(view, result).isEmpty());
        SaveShot(view, "webpanel-result.png");

        // The record lists the round; its CSV goes to the desktop's browser to be kept.
        const QUrl record(QString::fromStdString("http://" + host + "/jilu.asp"));
        view.NavigateTo(record);
        QVERIFY2(PageText(view, record).contains(QStringLiteral("高")), "the record lists 高");
        UrlRecorder recorder;
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &recorder, "open");
        const QUrl csv(QString::fromStdString("http://" + host + "/jilu.csv"));
        view.NavigateTo(csv);
        QTRY_COMPARE_WITH_TIMEOUT(recorder.opened.size(), std::size_t(1), 20000);
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        QCOMPARE(recorder.opened[0], csv);
    }

    // A child types a character while the panel loads a page: the panel never takes the
    // keyboard away from the box the child typed into.
    void theKeyboardStaysWithTheTypingBox() {
        auto dlg = StartWithPanel();
        QVERIFY(dlg->m_webView != nullptr);
        QWidget* box = dlg->GetDlgItem(1044);
        QWebEngineView* engine = Browser(*dlg).Engine();
        QVERIFY(QTest::qWaitFor([&] { return !engine->page()->isLoading(); }, 20000));
        for (const char* character : {"山", "水"}) {
            dlg->activateWindow();  // the offscreen platform activates every window it shows
            QVERIFY(QTest::qWaitForWindowActive(dlg.get()));
            box->setFocus();
            QTRY_VERIFY(box->hasFocus());
            dlg->LoadCharacter(Gbk(character).c_str());
            const QUrl page = dlg->m_webView->Navigations().back();
            QVERIFY(QTest::qWaitFor([&] { return engine->url() == page && !engine->page()->isLoading(); }, 20000));
            QTest::qWait(300);
            // Where the engine takes the keyboard on its own (under X it does, after a load).
            engine->focusProxy() ? engine->focusProxy()->setFocus() : engine->setFocus();
            QVERIFY2(box->hasFocus(), qPrintable(QStringLiteral("focus on %1").arg(
                         QApplication::focusWidget() ? QString::fromLatin1(QApplication::focusWidget()->metaObject()->className())
                                                     : QStringLiteral("nothing"))));
        }
    }

    // A server page that cannot be reached or is not there gives way to first.htm, once; a
    // missing first.htm is not asked for again.
    void aMissingPageBringsBackTheLocalStartPageOnce() {
        auto dlg = StartWithPanel();
        QVERIFY(dlg->m_webView != nullptr);
        CMyHtmlView& view = Browser(*dlg);
        QVERIFY(QTest::qWaitFor([&] { return !view.Engine()->page()->isLoading(); }, 20000));
        const std::string host = dlg->m_serverHost;
        const struct {
            std::string address;
            bool withStartPage;
        } cases[] = {
            {"http://" + host + "/no-such-page.asp", true},
            {"http://127.0.0.1:" + std::to_string(ClosedPort()) + "/hanzi.asp?z=%E9%AB%98", true},
            {"http://" + host + "/no-such-page.asp", false},
        };
        for (const auto& c : cases) {
            if (!c.withStartPage) {
                std::filesystem::remove(m_dir->Path() / "first.htm");
            }
            const std::size_t before = view.Navigations().size();
            view.NavigateTo(QUrl(QString::fromStdString(c.address)));
            QTRY_COMPARE_WITH_TIMEOUT(view.Navigations().size(), before + 2, 20000);
            QCOMPARE(view.Navigations().back(), view.LocalStartPage());
            QTest::qWait(1500);  // the local page loads, or fails, without another request
            QCOMPARE(view.Navigations().size(), before + 2);
        }
    }

    // Help opens the server's help page in the desktop's browser; a server named in the
    // environment is used for every page and the program starts none of its own.
    void helpAndAConfiguredServer() {
        UrlRecorder recorder;
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &recorder, "open");
        setenv("QUVO_SERVER", "127.0.0.1:9", 1);
        quvo::SetWebPanelEngine(false);
        auto dlg = StartWithPanel();
        QCOMPARE(dlg->m_serverHost, std::string("127.0.0.1:9"));
        QVERIFY(dlg->m_pageServer == nullptr);
        dlg->OnHelp();
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        QCOMPARE(recorder.opened.size(), std::size_t(1));
        QCOMPARE(recorder.opened[0], QUrl(QString::fromStdString(quvo::HelpPageAddress("127.0.0.1:9"))));
        dlg->LoadCharacter(Gbk("山").c_str());
        QCOMPARE(dlg->m_webView->Navigations().back(),
                 QUrl(QStringLiteral("http://127.0.0.1:9/hanzi.asp?z=%E5%B1%B1")));
        unsetenv("QUVO_SERVER");
    }
};

QTEST_MAIN(TestWebPanel)
#include "test_webpanel.moc"
