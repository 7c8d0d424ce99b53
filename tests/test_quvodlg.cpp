// The main dialog's life: first run, settings and progress, exit routes, keys, messages.
#include <QCheckBox>
#include <QLineEdit>
#include <QDir>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <memory>

#include "app/quvodlg.h"
#include "app/usermessages.h"
#include "chardata/gbk.h"
#include "controls/buttonst.h"
#include "controls/messagebox.h"
#include "controls/myslidercontrol.h"
#include "online/loadhtmlthread.h"
#include "settings/progressfile.h"
#include "settings/settingsrecord.h"
#include "strokes/bhwnd.h"
#include "strokes/qtstrokecanvas.h"
#include "programfolder.h"

using quvo::test::ReadAll;
using quvo::test::WriteAll;

class TestQuvoDlg : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<quvo::test::ProgramFolder> m_dir;
    std::vector<quvo::MessageBoxCall> m_boxes;

    std::string File(const char* name) const { return m_dir->File(name); }
    std::string Folder() const { return m_dir->Path().string(); }

    static std::unique_ptr<CQuvoDlg> StartDialog() { return quvo::test::StartDialog(); }

    QAbstractButton* Button(CQuvoDlg& dlg, int id) {
        return qobject_cast<QAbstractButton*>(dlg.GetDlgItem(id));
    }

    static std::string Bytes(const quvo::SettingsRecord& r) {
        const auto b = quvo::EncodeSettings(r);
        return std::string(reinterpret_cast<const char*>(b.data()), b.size());
    }

    static std::string Bytes(const quvo::ProgressRecord& r) {
        const auto b = quvo::EncodeProgress(r);
        return std::string(reinterpret_cast<const char*>(b.data()), b.size());
    }

    // A 24-bit bottom-up bitmap file whose pixel (x, y) has the colour 0xRRGGBB of colour(x, y).
    template <typename Colour>
    static std::string Bmp24(int width, int height, Colour colour) {
        const int stride = (width * 3 + 3) / 4 * 4;
        std::string file(54 + static_cast<std::size_t>(stride) * height, '\0');
        auto put = [&file](std::size_t at, std::uint32_t value, int bytes) {
            for (int i = 0; i < bytes; ++i) file[at + i] = static_cast<char>(value >> (8 * i));
        };
        put(0, 0x4D42, 2);
        put(2, static_cast<std::uint32_t>(file.size()), 4);
        put(10, 54, 4);
        put(14, 40, 4);
        put(18, static_cast<std::uint32_t>(width), 4);
        put(22, static_cast<std::uint32_t>(height), 4);
        put(26, 1, 2);
        put(28, 24, 2);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                put(54 + static_cast<std::size_t>(height - 1 - y) * stride + 3 * x, colour(x, y), 3);
            }
        }
        return file;
    }

    quvo::SettingsRecord CustomSettings() const {
        quvo::SettingsRecord r = quvo::DefaultSettings(Folder());
        r.showSample = 0;
        r.hints = 0;
        r.strokeCheck = 1;
        r.backgroundMusic = 0;
        r.themePath = Folder() + "/theme/charming4.bmp";
        r.bookPath = Folder() + "/book/" + quvo::Utf8ToGbk("动物.txt").value();
        r.demoSpeed = 2500;
        r.demoMode = 0;
        return r;
    }

private Q_SLOTS:
    void init() {
        m_dir = std::make_unique<quvo::test::ProgramFolder>(&m_boxes);
    }

    void cleanup() { m_dir.reset(); }

    void firstRunTakesTheDefaults() {
        auto dlg = StartDialog();
        QCOMPARE(dlg->ProgramFolder(), quvo::Utf8ToGbk(Folder()).value());
        for (int id : {1003, 1001, 1002, 1012, 1009, 1013, 1028}) {
            QVERIFY2(dlg->IsDlgButtonChecked(id), qPrintable(QString::number(id)));
        }
        QVERIFY(!dlg->IsDlgButtonChecked(1011));
        QVERIFY(dlg->IsDlgButtonChecked(1042));
        QVERIFY(!dlg->IsDlgButtonChecked(1041));
        QCOMPARE(dlg->m_demoSpeed, 1000);
        QCOMPARE(dlg->m_demoMode, 1);
        const auto slider = qobject_cast<QSlider*>(dlg->GetDlgItem(1035));
        QCOMPARE(slider->minimum(), 100);
        QCOMPARE(slider->maximum(), 5000);
        QCOMPARE(slider->value(), 1000);
        const quvo::SettingsRecord d = quvo::DefaultSettings(dlg->ProgramFolder());
        QCOMPARE(dlg->m_themePath, d.themePath);
        QCOMPARE(dlg->m_musicPath, d.musicPath);
        QCOMPARE(dlg->m_rightCuePath, d.rightCuePath);
        QCOMPARE(dlg->m_errorCuePath, d.errorCuePath);
        QCOMPARE(dlg->m_bookPath, d.bookPath);
        QCOMPARE(dlg->m_progressFound, -1);
        QCOMPARE(dlg->m_textbookPosition, 0);
        QCOMPARE(std::string(dlg->m_currentChar), std::string("\xB8\xDF"));  // 高
        QCOMPARE(dlg->m_running, 1);
        QCOMPARE(dlg->m_charButtonCount, 5);
        QVERIFY(dlg->IsTimerRunning(CQuvoDlg::kHintTimer));
        QVERIFY(!dlg->IsTimerRunning(CQuvoDlg::kFlashTimer));
        QVERIFY(!dlg->IsTimerRunning(CQuvoDlg::kDemoTimer));
        QCOMPARE(dlg->m_timers.at(CQuvoDlg::kHintTimer)->interval(), 100);
    }

    void windowIsABorderless1024x768DialogAtTheOrigin() {
        auto dlg = StartDialog();
        QCOMPARE(dlg->geometry(), QRect(0, 0, 1024, 768));
        QVERIFY(dlg->windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(dlg->isWindow());
        QCOMPARE(dlg->windowTitle(), QStringLiteral("Lumeo6.0"));
        QCOMPARE(dlg->GetDlgItem(1000)->geometry(), QRect(964, 541, 75, 21));
        QCOMPARE(Button(*dlg, 1000)->text(), QStringLiteral("退出"));
        QCOMPARE(dlg->GetDlgItem(1005)->geometry(), QRect(685, 596, 100, 100));
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(dlg->GetDlgItem(3000 + i)->geometry(), QRect(110 + 110 * i, 596, 100, 100));
        }
        QCOMPARE(dlg->GetDlgItem(3004)->geometry().right() + 1, 650);
        QCOMPARE(Button(*dlg, 1045)->text(), QStringLiteral("拼"));
        QCOMPARE(Button(*dlg, 1046)->text(), QStringLiteral("全屏"));
        QVERIFY(!dlg->windowIcon().isNull());
        QVERIFY(!dlg->m_tipIcon.isNull());
        QCOMPARE(qobject_cast<CButtonST*>(dlg->GetDlgItem(1023))->IconSize(), QSize(16, 16));
        const auto* slider = qobject_cast<CMySliderControl*>(dlg->GetDlgItem(1035));
        QCOMPARE(slider->NormalThumbColor(), QColor(196, 196, 0));
        QCOMPARE(slider->SelectedThumbColor(), QColor(255, 255, 0));
        QCOMPARE(qobject_cast<CButtonST*>(dlg->GetDlgItem(1004))->IconSize(), QSize(64, 64));
        const QImage shot = dlg->grab().toImage();
        QCOMPARE(shot.size(), QSize(1024, 768));
        shot.save(QStringLiteral(QUVO_TEST_OUTPUT_DIR "/quvodlg-first-run.png"));
    }

    void everyTemplateControlStandsWhereTheLayoutPutsIt() {
        auto dlg = StartDialog();
        const auto expected = quvo::LayOutControls(quvo::ComputePanels(1024, 768));
        for (const quvo::ControlTemplate& control : quvo::MainDialogTemplate()) {
            const quvo::Rect r = expected.at(control.id);
            QCOMPARE(dlg->GetDlgItem(control.id)->geometry(), QRect(r.left, r.top, r.Width(), r.Height()));
            QVERIFY(dlg->GetDlgItem(control.id)->isVisible());
        }
        QCOMPARE(dlg->m_panels.practice, (quvo::Rect{266, 0, 810, 576}));
    }

    void screenshotWithTheShippedThemeOne() {
        std::filesystem::create_directory(m_dir->Path() / "theme");
        std::filesystem::copy_file(QUVO_PROGRAM_DIR "/theme/charming1.bmp", File("theme/charming1.bmp"));
        auto dlg = StartDialog();
        QVERIFY(!dlg->m_background.isNull());
        const QImage shot = dlg->grab().toImage();
        QVERIFY(shot.save(QStringLiteral(QUVO_TEST_OUTPUT_DIR "/quvodlg-theme1.png")));
        QVERIFY(QColor(shot.pixel(500, 300)) != dlg->palette().window().color());
    }

    void startCharacterShowsItsTenPieces() {
        std::filesystem::create_directory(m_dir->Path() / "theme");
        std::filesystem::copy_file(QUVO_PROGRAM_DIR "/theme/charming1.bmp", File("theme/charming1.bmp"));
        auto dlg = StartDialog();
        QVERIFY(QTest::qWaitForWindowExposed(dlg.get()));
        QCOMPARE(dlg->m_strokeCount, 10);
        QCOMPARE(dlg->m_pieces.size(), std::size_t(10));
        QCOMPARE(dlg->m_textMetrics[0].maxCharWidth, 180);
        QCOMPARE(dlg->m_textMetrics[1].maxCharWidth, 500);
        const quvo::Rect panel = dlg->m_panels.pieces;
        for (int k = 1; k <= 10; ++k) {
            auto* piece = qobject_cast<CBHWnd*>(dlg->GetDlgItem(2000 + k));
            QVERIFY(piece != nullptr);
            QCOMPARE(piece, dlg->m_pieces[k - 1]);
            QCOMPARE(piece->m_strokeNumber, k);
            QCOMPARE(piece->m_outline, dlg->m_smallStrokes.StrokeAt(k));
            QCOMPARE(static_cast<std::int32_t>(piece->m_colour), dlg->m_strokeColours[k - 1]);
            const quvo::Rect& home = piece->m_homeRect;
            QCOMPARE(piece->geometry(), QRect(home.left, home.top, home.Width(), home.Height()));
            QCOMPARE(home.Width(), piece->m_bounds.Width() + 4);
            QVERIFY(home.left >= panel.left && home.right <= panel.right);
            QVERIFY(home.top >= panel.top + 20 && home.bottom <= panel.bottom);
            QVERIFY(piece->isVisible());
        }
        QCOMPARE(dlg->m_strokeMarks, std::vector<std::uint8_t>(10, 0));

        const QImage shot = dlg->grab().toImage();
        QVERIFY(shot.save(QStringLiteral(QUVO_TEST_OUTPUT_DIR "/quvodlg-gao.png")));
        // The grid's right side stands at the practice panel's left + 500 + 20.
        QCOMPARE(QColor(shot.pixel(266 + 520, 300)), QColor(100, 100, 100));
        // Every stroke of the sample shows in its piece's colour.
        const quvo::Rect sample = dlg->m_panels.sample;
        for (int k = 0; k < 10; ++k) {
            const QColor colour = quvo::ToQColor(static_cast<quvo::Colour>(dlg->m_strokeColours[k]));
            bool seen = false;
            for (int y = sample.top; y < sample.bottom && !seen; ++y) {
                for (int x = sample.left; x < sample.right && !seen; ++x) {
                    seen = QColor(shot.pixel(x, y)) == colour;
                }
            }
            QVERIFY2(seen, qPrintable(QString::number(k + 1)));
        }
    }

    void aGlyphWithoutOutlineShowsErrorAndGivesNoPieces() {
        auto dlg = StartDialog();
        QVERIFY(m_boxes.empty());
        dlg->FreeCharacter();
        dlg->SetUpCharacter("\xA1\xA1");  // the ideographic space
        QCOMPARE(m_boxes.size(), std::size_t(2));
        QCOMPARE(m_boxes[0].text, QStringLiteral("error"));
        QCOMPARE(m_boxes[0].caption, QStringLiteral("0"));
        QCOMPARE(dlg->m_strokeCount, 0);
        QVERIFY(dlg->m_pieces.empty());
        QVERIFY(dlg->m_strokeColours.empty());
        QCOMPARE(dlg->m_smallStrokes.StrokeAt(1), nullptr);
        dlg->grab();  // painting a character without strokes draws nothing of it
    }

    void aMissingStrokeFontIsReportedForEachSize() {
        std::filesystem::remove(File("fonts/quvokai.ttf"));
        auto dlg = StartDialog();
        QCOMPARE(m_boxes.size(), std::size_t(2));  // one per size
        QCOMPARE(m_boxes[0].text, QStringLiteral("error"));
        QVERIFY(m_boxes[0].caption != QStringLiteral("0"));
        QVERIFY(dlg->m_pieces.empty());
    }

    void updateWorkerRunsJobTwo() {
        auto dlg = StartDialog();
        QVERIFY(dlg->m_updateWorker != nullptr);
        QCOMPARE(dlg->m_updateWorker->Job(), CLoadHtmlThread::kJobUpdateCheck);
        QCOMPARE(dlg->m_updateWorker->Version(), std::string("6.0"));
        QTRY_VERIFY(dlg->m_updateWorker->JobDone());
        QVERIFY(dlg->m_updateWorker->isRunning());  // idles until the program ends
    }

    void exitRoutes_data() {
        QTest::addColumn<int>("route");
        QTest::newRow("button 1000 exit") << 1000;
        QTest::newRow("button 1023 X") << 1023;
        QTest::newRow("close request") << 0;
    }

    void exitRoutes() {
        QFETCH(int, route);
        auto dlg = StartDialog();
        dlg->m_textbookPosition = 4;
        if (route == 0) {
            QVERIFY(dlg->close());
        } else {
            QTest::mouseClick(Button(*dlg, route), Qt::LeftButton);
        }
        QCOMPARE(dlg->m_exitRuns, 1);
        QCOMPARE(dlg->result(), 1);
        QVERIFY(!dlg->isVisible());
        QCOMPARE(dlg->m_running, 0);
        QVERIFY(!dlg->IsTimerRunning(CQuvoDlg::kHintTimer));
        const std::string settings = ReadAll(File("quvocf.cfg"));
        QCOMPARE(settings.size(), std::size_t{680});
        // Paths inside the program folder are saved relative to it.
        const quvo::SettingsRecord saved = quvo::DefaultSettings(dlg->ProgramFolder());
        QCOMPARE(settings, Bytes(quvo::StoredPaths(dlg->ProgramFolder(), saved)));
        QCOMPARE(quvo::DecodeSettings(quvo::EncodeSettings(quvo::StoredPaths(dlg->ProgramFolder(), saved))).themePath,
                 std::string("theme/charming1.bmp"));
        const quvo::ProgressRecord progress{quvo::StoredPath(dlg->ProgramFolder(), dlg->m_bookPath), 4};
        QCOMPARE(ReadAll(File("xxjd.cfg")), Bytes(progress));
        QVERIFY(m_boxes.empty());
        QVERIFY(dlg->m_pieces.empty());
        QVERIFY(dlg->GetDlgItem(2001) == nullptr);
        QCOMPARE(dlg->m_smallStrokes.First(), nullptr);

        // Any further route finds the routine done: nothing is written again.
        std::filesystem::remove(File("quvocf.cfg"));
        dlg->close();
        QTest::mouseClick(Button(*dlg, 1000), Qt::LeftButton);
        dlg->ExitRoutine();
        QCOMPARE(dlg->m_exitRuns, 1);
        QVERIFY(!std::filesystem::exists(File("quvocf.cfg")));
    }

    void escapeAndReturnNeverEndTheDialog() {
        auto dlg = StartDialog();
        QTest::keyClick(dlg.get(), Qt::Key_Escape);
        QTest::keyClick(dlg.get(), Qt::Key_Return);
        QWidget* exitButton = dlg->GetDlgItem(1000);
        exitButton->setFocus();
        QTest::keyClick(exitButton, Qt::Key_Return);
        QTest::keyClick(exitButton, Qt::Key_Enter);
        QTest::keyClick(dlg->GetDlgItem(1044), Qt::Key_Escape);
        QTest::keyClick(dlg->GetDlgItem(1044), Qt::Key_Return);
        QVERIFY(dlg->isVisible());
        QCOMPARE(dlg->m_exitRuns, 0);
        QVERIFY(!std::filesystem::exists(File("quvocf.cfg")));
        // Other keys still reach the controls.
        QTest::keyClicks(dlg->GetDlgItem(1044), QStringLiteral("ab"));
        QCOMPARE(qobject_cast<QLineEdit*>(dlg->GetDlgItem(1044))->text(), QStringLiteral("ab"));
    }

    void savedSettingsAndProgressComeBack() {
        const quvo::SettingsRecord saved = CustomSettings();
        WriteAll(File("quvocf.cfg"), Bytes(saved));
        WriteAll(File("xxjd.cfg"), Bytes(quvo::ProgressRecord{"/elsewhere/x.txt", 9}) +
                                       Bytes(quvo::ProgressRecord{saved.bookPath, 3}));
        auto dlg = StartDialog();
        QVERIFY(!dlg->IsDlgButtonChecked(1001));
        QVERIFY(!dlg->IsDlgButtonChecked(1012));
        QVERIFY(dlg->IsDlgButtonChecked(1011));
        QVERIFY(!dlg->IsDlgButtonChecked(1013));
        QVERIFY(dlg->IsDlgButtonChecked(1041));
        QVERIFY(!dlg->IsDlgButtonChecked(1042));
        QCOMPARE(qobject_cast<QSlider*>(dlg->GetDlgItem(1035))->value(), 2500);
        QVERIFY(!dlg->IsTimerRunning(CQuvoDlg::kHintTimer));
        QCOMPARE(dlg->m_progressFound, 1);
        QCOMPARE(dlg->m_textbookPosition, 3);
        QCOMPARE(dlg->m_themePath, saved.themePath);
        dlg->ExitRoutine();
        QCOMPARE(ReadAll(File("quvocf.cfg")), Bytes(quvo::StoredPaths(Folder(), saved)));
        QCOMPARE(ReadAll(File("xxjd.cfg")).size(), std::size_t{264});  // its record, updated
    }

    void outOfRangeValuesAreValidatedOnLoad() {
        quvo::SettingsRecord r = CustomSettings();
        r.demoSpeed = 6000;
        r.demoMode = 2;
        r.showGrid = 2;
        r.strokeCheck = 1;
        r.backgroundMusic = 1;  // both on at once is loaded as it stands
        WriteAll(File("quvocf.cfg"), Bytes(r));
        auto dlg = StartDialog();
        QCOMPARE(dlg->m_demoSpeed, 1000);
        QCOMPARE(dlg->m_demoMode, 1);
        QVERIFY(dlg->IsDlgButtonChecked(1042));
        QVERIFY(!dlg->IsDlgButtonChecked(1002));
        QVERIFY(dlg->IsDlgButtonChecked(1011));
        QVERIFY(dlg->IsDlgButtonChecked(1013));
    }

    void truncatedSettingsFileGivesZeroFields() {
        WriteAll(File("quvocf.cfg"), Bytes(CustomSettings()).substr(0, 20));
        auto dlg = StartDialog();
        QVERIFY(dlg->IsDlgButtonChecked(1003));
        QVERIFY(!dlg->IsDlgButtonChecked(1013));
        QCOMPARE(dlg->m_bookPath, std::string());
        QCOMPARE(dlg->m_demoSpeed, 1000);
        QCOMPARE(dlg->m_demoMode, 0);
        QCOMPARE(dlg->m_progressFound, -1);
    }

    void checkBoxesAtExitAreWhatIsSaved() {
        auto dlg = StartDialog();
        Button(*dlg, 1011)->click();  // checking stroke by stroke switches the music off
        QVERIFY(!dlg->IsDlgButtonChecked(1013));
        dlg->ExitRoutine();
        const std::string s = ReadAll(File("quvocf.cfg"));
        QCOMPARE(quvo::GetInt32(reinterpret_cast<const uint8_t*>(s.data()) + 16), 1);
        QCOMPARE(quvo::GetInt32(reinterpret_cast<const uint8_t*>(s.data()) + 24), 0);
    }

    void settingsThatCannotBeCreatedAreReported() {
        std::filesystem::create_directory(File("quvocf.cfg"));
        auto dlg = StartDialog();
        QTest::mouseClick(Button(*dlg, 1000), Qt::LeftButton);
        QCOMPARE(m_boxes.size(), std::size_t{1});
        QCOMPARE(m_boxes[0].text, QStringLiteral("can't open zhe file"));
        QVERIFY(!std::filesystem::exists(File("xxjd.cfg")));  // progress is not saved either
        QCOMPARE(dlg->result(), 1);                          // the program still ends
        QVERIFY(!dlg->isVisible());
    }

    void tooLongProgramFolderFallsBackToTheCurrentFolder() {
        std::filesystem::path deep = m_dir->Path();
        while (deep.string().size() < 140) {
            deep /= "abcdefghijklmnopqrstuvwxyz";
        }
        std::filesystem::create_directories(deep);
        QDir::setCurrent(QString::fromStdString(deep.string()));
        auto dlg = StartDialog();
        QCOMPARE(dlg->ProgramFolder(), std::string("."));
        QCOMPARE(dlg->m_themePath, std::string("./theme/charming1.bmp"));
        dlg->ExitRoutine();
        QVERIFY(std::filesystem::exists(deep / "quvocf.cfg"));
        QVERIFY(std::filesystem::exists(deep / "xxjd.cfg"));
    }

    void themePictureIsPaintedUnscaledFromItsTopLeft() {
        // 1100 x 800: blue inside the first 1024 x 768 pixels, red beyond.
        std::filesystem::create_directory(m_dir->Path() / "theme");
        WriteAll(File("theme/charming1.bmp"), Bmp24(1100, 800, [](int x, int y) {
                     return x < 1024 && y < 768 ? 0x2040C0u : 0xFF0000u;
                 }));
        auto dlg = StartDialog();
        const QImage shot = dlg->grab().toImage();
        QCOMPARE(shot.pixel(300, 300), qRgb(0x20, 0x40, 0xC0));
        QCOMPARE(shot.pixel(1023, 767), qRgb(0x20, 0x40, 0xC0));
    }

    void missingThemeLeavesThePlainBackground() {
        auto dlg = StartDialog();
        QVERIFY(dlg->m_background.isNull());
        const QImage shot = dlg->grab().toImage();
        QCOMPARE(QColor(shot.pixel(300, 300)), dlg->palette().window().color());
    }

    void userMessagesAnswerOne() {
        auto dlg = StartDialog();
        quvo::UserMessageEvent initialised(quvo::kInitialised);
        QCOMPARE(quvo::SendUserMessage(dlg.get(), initialised), std::intptr_t{1});
        quvo::UserMessageEvent character(quvo::kCharacterButton);
        character.text = QByteArray("\xC8\xCB\xC8\xCB");  // longer than a character
        QCOMPARE(quvo::SendUserMessage(dlg.get(), character), std::intptr_t{1});
    }
};

QTEST_MAIN(TestQuvoDlg)
#include "test_quvodlg.moc"
