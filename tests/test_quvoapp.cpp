// Start-up: the network library first, then one modal run of the main dialog.
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <filesystem>
#include <memory>

#include "app/displaymode.h"
#include "app/quvoapp.h"
#include "app/quvodlg.h"
#include "controls/messagebox.h"
#include "controls/modal.h"
#include "programfolder.h"

class TestQuvoApp : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<quvo::test::ProgramFolder> m_dir;
    std::vector<quvo::MessageBoxCall> m_boxes;

private Q_SLOTS:
    void init() {
        m_dir = std::make_unique<quvo::test::ProgramFolder>(&m_boxes);
        quvo::test::LinkProgramFile(QUVO_PROGRAM_DIR, m_dir->Path(), "book");
    }

    void cleanup() { m_dir.reset(); }

#ifdef QUVO_HAS_PINYIN_TABLE
    void pinyinTableIsCompiledIn() {
        QFile table(QStringLiteral(":/txt/pinyin.txt"));
        QVERIFY(table.open(QIODevice::ReadOnly));
        const QByteArray first = table.readLine();
        QVERIFY(first.endsWith("\r\n"));
        QCOMPARE(first.count(','), 3);
        QVERIFY(table.size() > 100000);
    }
#endif

    void failedNetworkStartShowsOnlyTheMessage() {
        bool dialogSeen = false;
        QTimer::singleShot(0, [&] { dialogSeen = !QApplication::topLevelWidgets().isEmpty(); });
        CQuvoApp app([] { return false; });
        QVERIFY(!app.InitInstance());
        QCOMPARE(m_boxes.size(), std::size_t{1});
        QCOMPARE(m_boxes[0].text, QStringLiteral("Windows 通信端口初始化失败。"));
        QCOMPARE(m_boxes[0].caption, QStringLiteral("Lumeo6.0"));
        QCoreApplication::processEvents();
        QVERIFY(!dialogSeen);
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
        QVERIFY(!std::filesystem::exists(m_dir->Path() / "quvocf.cfg"));
        QVERIFY(!std::filesystem::exists(m_dir->Path() / "xxjd.cfg"));
    }

    // A store of garbage or a cut-off font: one message that names the file, then no game and
    // no files written, instead of a game without stroke order or without pieces.
    void aDamagedDataFileShowsOneMessageAndNoGame() {
        const std::pair<const char*, QString> cases[] = {
            {"hz.db", QStringLiteral("汉字笔顺库文件“hz.db”已损坏。\n请重新安装本程序。")},
            {"fonts/quvokai.ttf", QStringLiteral("笔画字体文件“fonts/quvokai.ttf”已损坏。\n请重新安装本程序。")},
        };
        for (const auto& [file, message] : cases) {
            cleanup();  // a fresh folder for each case
            init();
            const std::filesystem::path path = m_dir->Path() / file;
            const std::string bytes = quvo::test::ReadAll(path.string());
            std::filesystem::remove(path);
            quvo::test::WriteAll(path.string(), std::string(bytes.size() / 3, 'x'));
            bool dialogSeen = false;
            QTimer::singleShot(0, [&] { dialogSeen = !QApplication::topLevelWidgets().isEmpty(); });
            CQuvoApp app([] { return true; });
            QVERIFY(!app.InitInstance());
            QCOMPARE(m_boxes.size(), std::size_t{1});
            QCOMPARE(m_boxes[0].text, message);
            QCOMPARE(m_boxes[0].caption, QStringLiteral("Lumeo6.0"));
            QCoreApplication::processEvents();
            QVERIFY(!dialogSeen);
            QVERIFY(!std::filesystem::exists(m_dir->Path() / "quvocf.cfg"));
        }
    }

    void oneModalRunEndsByTheCloseButton() {
        CQuvoApp app([] { return true; });
        bool shown = false;
        QStringList captions;
        QTimer::singleShot(50, [&] {
            CQuvoDlg* dlg = app.MainWindow();
            QVERIFY(dlg != nullptr);
            shown = dlg->isVisible() && dlg->isModal();
            // Qt's own buttons speak Chinese in a running program.
            QMessageBox box(QMessageBox::Question, QString(), QString(),
                            QMessageBox::Ok | QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            for (auto b : {QMessageBox::Ok, QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel}) {
                captions << box.button(b)->text().remove(QLatin1Char('&'));
            }
            QTest::mouseClick(qobject_cast<QPushButton*>(dlg->GetDlgItem(1023)), Qt::LeftButton);
        });
        QVERIFY(!app.InitInstance());
        QVERIFY(shown);
        QCOMPARE(captions, (QStringList{QStringLiteral("确定"), QStringLiteral("是(Y)"),
                                        QStringLiteral("否(N)"), QStringLiteral("取消")}));
        QVERIFY(app.MainWindow() == nullptr);
        QVERIFY(m_boxes.empty());
        QCOMPARE(std::filesystem::file_size(m_dir->Path() / "quvocf.cfg"), std::uintmax_t{680});
        QCOMPARE(std::filesystem::file_size(m_dir->Path() / "xxjd.cfg"), std::uintmax_t{132});
    }

    // Ended by SIGTERM or SIGINT while in full screen, the program puts the screen's mode
    // back and saves the settings, as its own buttons do.
    void aSignalEndsTheProgramInGoodOrder() {
        for (int number : {SIGTERM, SIGINT}) {
            const quvo::DisplayMode screen{1280, 1024, 60, 0};
            quvo::ScriptedDisplayModes modes(screen, {quvo::DisplayMode{1024, 768, 60, 1}});
            quvo::DisplayModes::SetDefault(&modes);
            std::filesystem::remove(m_dir->Path() / "quvocf.cfg");
            CQuvoApp app([] { return true; });
            QTimer::singleShot(50, [&] {
                qobject_cast<QPushButton*>(app.MainWindow()->GetDlgItem(1046))->click();
                QCOMPARE(modes.Shown().width, 1024);
                std::raise(number);
            });
            QVERIFY(!app.InitInstance());
            quvo::DisplayModes::SetDefault(nullptr);
            QCOMPARE(modes.Shown(), screen);
            QVERIFY(std::filesystem::exists(m_dir->Path() / "quvocf.cfg"));
        }
    }

    // A signal while a window waits for an answer (here the start-up help of a first start)
    // ends the program all the same.
    void aSignalEndsTheProgramWhileAWindowWaits() {
        quvo::SetModalHook({});  // the help waits for its answer
        std::filesystem::remove(m_dir->Path() / "quvocf.cfg");
        std::filesystem::remove(m_dir->Path() / "xxjd.cfg");
        bool waiting = false, hung = false;
        QTimer::singleShot(500, [&] {
            waiting = QApplication::activeModalWidget() != nullptr;
            std::raise(SIGTERM);
        });
        QTimer::singleShot(8000, [&] {  // what a hang would need, so that the suite goes on
            hung = true;
            for (QWidget* window : QApplication::topLevelWidgets()) {
                if (auto* dialog = qobject_cast<QDialog*>(window)) {
                    dialog->reject();
                }
            }
        });
        CQuvoApp app([] { return true; });
        QVERIFY(!app.InitInstance());
        QVERIFY(waiting);
        QVERIFY(!hung);
        QVERIFY(std::filesystem::exists(m_dir->Path() / "quvocf.cfg"));
    }
};

QTEST_MAIN(TestQuvoApp)
#include "test_quvoapp.moc"
