// Moving between characters as a child and a parent do it: textbook pages on the character
// buttons, turning pages, choosing a textbook, typing a character, pressing a button.
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <limits>
#include <memory>

#include "app/quvodlg.h"
#include "chardata/choicebook.h"
#include "chardata/gbk.h"
#include "chardata/strokeitems.h"
#include "controls/messagebox.h"
#include "controls/mybutton.h"
#include "controls/xinfotip.h"
#include "settings/progressfile.h"
#include "settings/settingsrecord.h"
#include "strokes/bhwnd.h"
#include "programfolder.h"

using quvo::test::WriteAll;

class TestNavigation : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<quvo::test::ProgramFolder> m_dir;
    std::vector<quvo::MessageBoxCall> m_boxes;

    static std::string Gbk(const char* utf8) { return quvo::Utf8ToGbk(utf8).value(); }
    std::string Folder() const { return m_dir->Path().string(); }
    std::string BookPath(const char* name) const { return Gbk((Folder() + "/book/" + name).c_str()); }

    // Settings that open `book` (a file of the book folder) and nothing that plays or blinks.
    void UseTextbook(const char* name, const char* utf8Text) {
        WriteAll(m_dir->File(std::string("book/") + name), Gbk(utf8Text));
        quvo::SettingsRecord r = quvo::DefaultSettings(Gbk(Folder().c_str()));
        r.bookPath = BookPath(name);
        r.backgroundMusic = 0;
        r.hints = 0;
        r.demoBeforeAssembling = 0;
        QVERIFY(quvo::WriteSettingsFile(m_dir->File("quvocf.cfg"), r));
    }

    static std::unique_ptr<CQuvoDlg> StartDialog() { return quvo::test::StartDialog(); }

    using Strings = std::vector<std::string>;

    // The captions of the five character buttons, as UTF-8.
    static Strings Captions(CQuvoDlg& dlg) {
        Strings captions;
        for (CMyButton* b : dlg.m_charButtons) {
            captions.push_back(b->text().toStdString());
        }
        return captions;
    }

    // Runs `act` on the chooser once it is up, while the dialog's command waits for it.
    static void WithChooser(std::function<void(CChoiceBook&)> act) {
        QTimer::singleShot(0, [act] {
            auto* chooser = qobject_cast<CChoiceBook*>(QApplication::activeModalWidget());
            QVERIFY(chooser != nullptr);
            act(*chooser);
        });
    }

    static void Select(CChoiceBook& chooser, const QString& name) {
        const auto found = chooser.List()->findItems(name, Qt::MatchExactly);
        QVERIFY(!found.isEmpty());
        chooser.List()->selectRow(found.front()->row());
    }

private Q_SLOTS:
    void init() {
        m_dir = std::make_unique<quvo::test::ProgramFolder>(&m_boxes);
        std::filesystem::create_directory(m_dir->Path() / "book");
    }

    void cleanup() { m_dir.reset(); }

    void pagesTurnAndStopAtBothEnds() {
        UseTextbook("two.txt", "天地人你我\n山水田土木\n");
        auto dlg = StartDialog();
        QCOMPARE(Captions(*dlg), (Strings{"天", "地", "人", "你", "我"}));
        QCOMPARE(std::string(dlg->m_charButtons[2]->Character()), Gbk("人"));
        const CXInfoTip::TipEntry* tip = dlg->m_infoTip->FindTip(dlg->m_charButtons[0]);
        QVERIFY(tip != nullptr);
        QCOMPARE(tip->text, QStringLiteral("按下去\n就可以开始拼\"天\"字了"));
        QCOMPARE(dlg->m_tippedButtons, 5);

        QTest::mouseClick(qobject_cast<QAbstractButton*>(dlg->GetDlgItem(1005)), Qt::LeftButton);
        QCOMPARE(dlg->m_textbookPosition, 1);
        QCOMPARE(Captions(*dlg), (Strings{"山", "水", "田", "土", "木"}));
        QVERIFY(m_boxes.empty());
        dlg->OnNextPage();
        QCOMPARE(dlg->m_textbookPosition, 1);
        QCOMPARE(Captions(*dlg), (Strings{"山", "水", "田", "土", "木"}));
        QCOMPARE(m_boxes.size(), std::size_t(1));
        QCOMPARE(m_boxes[0].text, QStringLiteral("后面没有了"));
        QCOMPARE(m_boxes[0].caption, QStringLiteral("Lumeo6.0"));

        dlg->OnPreviousPage();
        QCOMPARE(dlg->m_textbookPosition, 0);
        dlg->OnPreviousPage();
        QCOMPARE(dlg->m_textbookPosition, 0);
        QCOMPARE(m_boxes.back().text, QStringLiteral("已到头了"));
        QCOMPARE(std::string(dlg->m_currentChar), Gbk("高"));  // pages never change it
    }

    // A progress file can hold any number; at the largest there is no next page to count to.
    void aSavedPageAtTheLargestNumberHasNoNextPage() {
        UseTextbook("one.txt", "天地人你我\n");
        {
            quvo::ProgressFile progress(m_dir->File("xxjd.cfg"));
            progress.Save({BookPath("one.txt"), std::numeric_limits<int>::max()});
        }
        auto dlg = StartDialog();
        QCOMPARE(dlg->m_textbookPosition, std::numeric_limits<int>::max());
        dlg->OnNextPage();
        QCOMPARE(dlg->m_textbookPosition, std::numeric_limits<int>::max());
        QCOMPARE(m_boxes.size(), std::size_t(1));
        QCOMPARE(m_boxes[0].text, QStringLiteral("后面没有了"));
    }

    void shortPagesLeaveEmptyButtons() {
        UseTextbook("short.txt", "一二三四五六七 1.天地人\n");
        auto dlg = StartDialog();
        QCOMPARE(Captions(*dlg), (Strings{"一", "二", "三", "四", "五"}));
        dlg->OnNextPage();
        QCOMPARE(Captions(*dlg), (Strings{"天", "地", "人", "", ""}));
        QCOMPARE(dlg->m_tippedButtons, 3);
        QCOMPARE(std::string(dlg->m_charButtons[3]->Character()), std::string());
        QVERIFY(dlg->m_infoTip->FindTip(dlg->m_charButtons[3]) == nullptr);
        // An empty button posts nothing: the character stays.
        QTest::mouseClick(dlg->m_charButtons[4], Qt::LeftButton);
        QCoreApplication::processEvents();
        QCOMPARE(std::string(dlg->m_currentChar), Gbk("高"));
    }

    void choosingAnotherTextbookOpensItAtItsSavedPage() {
        UseTextbook("a.txt", "天地 山水 日月\n");
        WriteAll(m_dir->File("book/b.TXT"), Gbk("大小 多少\n"));
        {
            quvo::ProgressFile progress(m_dir->File("xxjd.cfg"));
            progress.Save({BookPath("b.TXT"), 1});
        }
        auto dlg = StartDialog();
        dlg->OnNextPage();
        dlg->OnNextPage();
        QCOMPARE(dlg->m_textbookPosition, 2);

        WithChooser([this](CChoiceBook& chooser) {
            QCOMPARE(chooser.windowTitle(), QStringLiteral("选择课本"));
            QCOMPARE(chooser.List()->rowCount(), 2);
            Select(chooser, QStringLiteral("b"));
            chooser.accept();
        });
        dlg->OnChooseBook();
        QCOMPARE(dlg->m_bookPath, BookPath("b.TXT"));
        QCOMPARE(dlg->m_textbookPosition, 1);
        QCOMPARE(Captions(*dlg), (Strings{"多", "少", "", "", ""}));
        QCOMPARE(std::string(dlg->m_currentChar), Gbk("高"));
        int page = -1;
        QCOMPARE(dlg->LookUpProgress(BookPath("a.txt"), page), 1);
        QCOMPARE(page, 2);  // the old textbook kept its page

        // Choosing the textbook that is current changes nothing, not even the page.
        dlg->OnPreviousPage();
        WithChooser([this](CChoiceBook& chooser) {
            Select(chooser, QStringLiteral("b"));
            chooser.accept();
        });
        dlg->OnChooseBook();
        QCOMPARE(dlg->m_textbookPosition, 0);
        QCOMPARE(Captions(*dlg), (Strings{"大", "小", "", "", ""}));
    }

    void choosingWithoutASelectionAsksForOne() {
        UseTextbook("a.txt", "天地\n");
        auto dlg = StartDialog();
        WithChooser([this](CChoiceBook& chooser) {
            chooser.accept();
            QVERIFY(chooser.isVisible());
            QCOMPARE(m_boxes.size(), std::size_t(1));
            QCOMPARE(m_boxes[0].text, QStringLiteral("请选择课本"));
            chooser.reject();
        });
        dlg->OnChooseBook();
        QCOMPARE(dlg->m_bookPath, BookPath("a.txt"));
    }

    void typedCharacters() {
        UseTextbook("a.txt", "天地\n");
        auto dlg = StartDialog();
        auto* edit = qobject_cast<QLineEdit*>(dlg->GetDlgItem(1044));
        auto* go = qobject_cast<QAbstractButton*>(dlg->GetDlgItem(1045));

        edit->setText(QStringLiteral("a"));
        QTest::mouseClick(go, Qt::LeftButton);
        QVERIFY(edit->text().isEmpty());
        QCOMPARE(std::string(dlg->m_currentChar), Gbk("高"));
        QVERIFY(m_boxes.empty());

        QTest::mouseClick(go, Qt::LeftButton);  // an empty box is ignored
        QCOMPARE(std::string(dlg->m_currentChar), Gbk("高"));

        edit->insert(QStringLiteral("天"));
        edit->insert(QStringLiteral("天"));
        QCOMPARE(edit->text(), QStringLiteral("天"));  // no room for a second character
        QTest::mouseClick(go, Qt::LeftButton);
        QCOMPARE(std::string(dlg->m_currentChar), Gbk("天"));
        QCOMPARE(dlg->m_pieces.size(), std::size_t(4));
        QCOMPARE(quvo::StrokeOrderAt(dlg->m_strokeOrder, 1, 4) >= 1, true);

        // Typed and sent with Return through the window: the box presses "拼". Signs without
        // strokes of their own (the full-width comma has no glyph in the stroke font) and
        // Latin letters are refused alike; the character stays.
        dlg->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(dlg.get()));
        for (const char* typed : {"，", "a", "〇"}) {
            edit->setFocus();
            edit->setText(QString::fromUtf8(typed));
            QTest::keyClick(dlg->windowHandle(), Qt::Key_Return);
            QVERIFY2(edit->text().isEmpty(), typed);
            QCOMPARE(std::string(dlg->m_currentChar), Gbk("天"));
            QCOMPARE(dlg->m_pieces.size(), std::size_t(4));
        }
        edit->setText(QStringLiteral("地"));
        QTest::keyClick(dlg->windowHandle(), Qt::Key_Return);
        QCOMPARE(std::string(dlg->m_currentChar), Gbk("地"));
        QVERIFY(dlg->isVisible());
        QVERIFY(m_boxes.empty());
    }

    // The dialog keeps Return and Escape from its own controls, not from the windows it opens:
    // a real message box goes with Return, the chooser with Escape.
    void returnAndEscapeWorkInBoxesAndTheChooser() {
        UseTextbook("a.txt", "天地\n");
        auto dlg = StartDialog();
        quvo::SetMessageBoxHook({});
        struct Case {
            Qt::Key key;
            void (CQuvoDlg::*command)();
        };
        for (const Case& c : {Case{Qt::Key_Return, &CQuvoDlg::OnPreviousPage},
                              Case{Qt::Key_Enter, &CQuvoDlg::OnPreviousPage},
                              Case{Qt::Key_Escape, &CQuvoDlg::OnChooseBook}}) {
            QString seen;
            QTimer::singleShot(100, [&] {
                QWidget* modal = QApplication::activeModalWidget();
                QVERIFY(modal != nullptr && modal != dlg.get());
                seen = QString::fromUtf8(modal->metaObject()->className());
                QTest::keyClick(modal->windowHandle(), c.key);
            });
            QTimer stuck;  // should the key not work, the test ends instead of hanging
            stuck.setSingleShot(true);
            QObject::connect(&stuck, &QTimer::timeout, [] {
                if (QWidget* modal = QApplication::activeModalWidget()) {
                    modal->close();
                }
            });
            stuck.start(3000);
            QElapsedTimer clock;
            clock.start();
            (dlg.get()->*c.command)();
            QVERIFY2(clock.elapsed() < 2500, qPrintable(seen));
            QVERIFY(!seen.isEmpty());
        }
        QVERIFY(dlg->isVisible());
        QCOMPARE(dlg->m_textbookPosition, 0);
    }

    void pressingACharacterButtonShowsThatCharacter() {
        std::filesystem::create_directory(m_dir->Path() / "theme");
        std::filesystem::copy_file(QUVO_PROGRAM_DIR "/theme/charming1.bmp", m_dir->File("theme/charming1.bmp"));
        quvo::test::LinkProgramFile(QUVO_PROGRAM_DIR, m_dir->Path(), "book/" + quvo::GbkToUtf8(Gbk("基础篇.txt")).value());
        auto dlg = StartDialog();
        QVERIFY(QTest::qWaitForWindowExposed(dlg.get()));
        CMyButton* button = dlg->m_charButtons[1];
        const std::string character = button->Character();
        QCOMPARE(character.size(), std::size_t(2));
        QVERIFY(character != std::string(dlg->m_currentChar));
        dlg->SetTimer(CQuvoDlg::kFlashTimer, 500);
        QTest::mouseClick(dlg->windowHandle(), Qt::LeftButton, {}, button->geometry().center());
        QTRY_COMPARE(std::string(dlg->m_currentChar), character);
        QVERIFY(!dlg->IsTimerRunning(CQuvoDlg::kFlashTimer));
        QVERIFY(!dlg->m_pieces.empty());
        QCOMPARE(dlg->m_pieces.size(), std::size_t(dlg->m_strokeCount));
        QVERIFY(!dlg->m_pinyin.empty());
        for (std::size_t k = 1; k <= dlg->m_pieces.size(); ++k) {
            QCOMPARE(dlg->m_pieces[k - 1]->m_strokeType, quvo::StrokeTypeAt(dlg->m_strokeNames, int(k)));
            QVERIFY(dlg->m_infoTip->FindTip(dlg->m_pieces[k - 1]) != nullptr);
        }
        const QImage shot = dlg->grab().toImage();
        QVERIFY(shot.save(QStringLiteral(QUVO_TEST_OUTPUT_DIR "/navigation-character-button.png")));
        // The pinyin is written in red in the title panel.
        bool red = false;
        for (int y = 10; y < 76 && !red; ++y) {
            for (int x = 810; x < 1024 && !red; ++x) {
                const QColor c(shot.pixel(x, y));
                red = c.red() > 200 && c.green() < 60 && c.blue() < 60;
            }
        }
        QVERIFY(red);
    }

    void loadingTheSameCharacterAgainRebuildsItsPieces() {
        UseTextbook("a.txt", "天地\n");
        auto dlg = StartDialog();
        const std::vector<CBHWnd*> before = dlg->m_pieces;
        QPointer<CBHWnd> old = before.front();
        dlg->LoadCharacter(dlg->m_currentChar);
        QCOMPARE(dlg->m_pieces.size(), before.size());
        QVERIFY(old.isNull());  // the old windows are gone
        for (CBHWnd* piece : dlg->m_pieces) {
            QCOMPARE(piece->geometry().topLeft(),
                     QPoint(piece->m_homeRect.left, piece->m_homeRect.top));
        }
        QCOMPARE(dlg->m_infoTip->ToolCount(), std::size_t(2 + dlg->m_pieces.size()));
    }

    void aStoreThatCannotBeOpenedEndsTheProgram() {
        UseTextbook("a.txt", "天地\n");
        std::filesystem::remove(m_dir->File("hz.db"));
        auto dlg = std::make_unique<CQuvoDlg>();
        dlg->OnCreate();
        dlg->OnInitDialog();
        QCOMPARE(m_boxes.size(), std::size_t(1));
        QVERIFY(!m_boxes[0].text.isEmpty());
        QCOMPARE(dlg->m_exitRuns, 1);
        QVERIFY(dlg->m_pieces.empty());
        QVERIFY(!dlg->IsTimerRunning(CQuvoDlg::kHintTimer));
    }
};

QTEST_MAIN(TestNavigation)
#include "test_navigation.moc"
