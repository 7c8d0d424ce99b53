// The control panel's commands as a parent and a child use them: the theme and music menus,
// help, full screen through the display-mode layer (a test double, and the real XRandR of an
// Xvfb started here), the speed slider, and a program folder with a long path.
#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QUrlQuery>
#include <QWindow>

#include <filesystem>
#include <memory>

#include "app/displaymode.h"
#include "app/quvodlg.h"
#include "chardata/gbk.h"
#include "controls/buttonst.h"
#include "controls/filedialog.h"
#include "controls/mybutton.h"
#include "controls/myslidercontrol.h"
#include "media/scriptedmediadevices.h"
#include "settings/settingsrecord.h"
#include "programfolder.h"

// Receives the addresses the program asks the desktop to open.
class UrlSink : public QObject {
    Q_OBJECT

public:
    QList<QUrl> opened;

public Q_SLOTS:
    void open(const QUrl& url) { opened.append(url); }
};

class TestPanel : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<quvo::test::ProgramFolder> m_dir;
    std::vector<quvo::MessageBoxCall> m_boxes;
    std::unique_ptr<quvo::ScriptedMediaDevices> m_media;

    static std::string Utf8(const std::string& gbk) { return quvo::GbkToUtf8(gbk).value(); }

    // The program folder's themes and tunes, linked into `folder`.
    static void LinkThemesAndMusic(const std::filesystem::path& folder) {
        for (int i = 1; i <= 10; ++i) {
            quvo::test::LinkProgramFile(QUVO_PROGRAM_DIR, folder, "theme/charming" + std::to_string(i) + ".bmp");
            quvo::test::LinkProgramFile(QUVO_PROGRAM_DIR, folder, "bmusic/start" + std::to_string(i) + ".mp3");
        }
        quvo::test::LinkProgramFile(QUVO_PROGRAM_DIR, folder, "book/基础篇.txt");
    }

    static QPoint Centre(QWidget* w) { return w->mapTo(w->window(), w->rect().center()); }

    // Clicks `button` of the dialog through its window, and picks entry `entry` of the menu
    // that opens, by a click on it, checking where the menu stands and what it offers.
    static void ChooseFromMenu(CQuvoDlg& dlg, CButtonST* button, int entry, const QString& first) {
        bool seen = false;
        QTimer::singleShot(50, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(menu != nullptr);
            seen = true;
            // At the button's top-right corner, unless the screen is too small for that.
            const QPoint corner = button->mapToGlobal(QPoint(button->width(), 0));
            const QRect screen = menu->screen()->geometry();
            QCOMPARE(menu->y(), corner.y());
            QVERIFY(menu->x() == corner.x() || menu->geometry().right() == screen.right());
            const QList<QAction*> actions = menu->actions();
            QCOMPARE(actions.size(), 11);
            QCOMPARE(actions.front()->text(), first);
            QCOMPARE(actions.back()->text(), QStringLiteral("其他"));
            QTest::mouseClick(menu->windowHandle(), Qt::LeftButton, {}, menu->actionGeometry(actions[entry]).center());
        });
        QTest::mouseClick(dlg.windowHandle(), Qt::LeftButton, {}, Centre(button));
        QVERIFY(seen);
    }

    // The colour the dialog shows at `p` (its own picture and every control over it).
    static QRgb Shown(CQuvoDlg& dlg, QPoint p) { return dlg.grab().toImage().pixel(p); }

    static void Save(QWidget* w, const char* name) {
        QVERIFY(w->grab().save(QStringLiteral(QUVO_TEST_OUTPUT_DIR "/") + QString::fromLatin1(name)));
    }

private Q_SLOTS:
    void init() {
        m_dir = std::make_unique<quvo::test::ProgramFolder>(&m_boxes);
        LinkThemesAndMusic(m_dir->Path());
        m_media = std::make_unique<quvo::ScriptedMediaDevices>();
        quvo::MediaDevices::SetDefault(m_media.get());
    }

    void cleanup() {
        quvo::SetOpenFileHook({});
        quvo::DisplayModes::SetDefault(nullptr);
        quvo::MediaDevices::SetDefault(nullptr);
        m_media.reset();
        m_dir.reset();
    }

    // Every theme of the menu is shown at once, behind the dialog and behind each control that
    // keeps a copy of it; the choice is still there after a restart.
    void themesFromTheMenu() {
        auto dlg = quvo::test::StartDialog(true);
        const QPoint underExit = Centre(dlg->GetDlgItem(1000)) + QPoint(0, 9);   // below the caption
        const QPoint underSlider = dlg->GetDlgItem(1035)->mapTo(dlg.get(), QPoint(2, 2));
        const QPoint underCharacter = dlg->m_charButtons.back()->mapTo(dlg.get(), QPoint(3, 3));
        const QPoint inWebPanel(900, 300);
        for (int n : {5, 3, 10, 1}) {
            ChooseFromMenu(*dlg, dlg->m_btnBackground, n - 1, QStringLiteral("主题1"));
            const std::string file = "theme/charming" + std::to_string(n) + ".bmp";
            QVERIFY(Utf8(dlg->m_themePath).ends_with(file));
            const QImage picture(QString::fromStdString(m_dir->File(file)));
            QCOMPARE(Shown(*dlg, QPoint(5, 5)), picture.pixel(5, 5));
            QCOMPARE(Shown(*dlg, underExit), picture.pixel(underExit));
            QCOMPARE(Shown(*dlg, underSlider), picture.pixel(underSlider));
            QCOMPARE(Shown(*dlg, underCharacter), picture.pixel(underCharacter));
            QCOMPARE(Shown(*dlg, inWebPanel), picture.pixel(inWebPanel));
            if (n == 5 || n == 3) {
                Save(dlg.get(), n == 5 ? "panel-theme5.png" : "panel-theme3.png");
                Save(dlg->GetDlgItem(1035), n == 5 ? "panel-slider-theme5.png" : "panel-slider-theme3.png");
            }
        }
        ChooseFromMenu(*dlg, dlg->m_btnBackground, 6, QStringLiteral("主题1"));  // 主题7
        dlg->ExitRoutine();
        auto again = quvo::test::StartDialog();
        QVERIFY(Utf8(again->m_themePath).ends_with("theme/charming7.bmp"));
    }

    // Off, a tune only changes the path; playing, it changes the music at once. "其他" opens
    // the file dialog in the music or theme folder; cancelling it changes nothing.
    void musicAndOtherFiles() {
        auto dlg = quvo::test::StartDialog(true);
        if (dlg->m_backgroundMusicOn) {
            qobject_cast<QAbstractButton*>(dlg->GetDlgItem(1013))->click();
        }
        ChooseFromMenu(*dlg, dlg->m_btnMusic, 3, QStringLiteral("音乐1"));
        QVERIFY(Utf8(dlg->m_musicPath).ends_with("bmusic/start4.mp3"));
        QVERIFY(!dlg->m_musicPlayer.IsOpen());
        qobject_cast<QAbstractButton*>(dlg->GetDlgItem(1013))->click();
        QVERIFY(dlg->m_musicPlayer.FilePath().ends_with("bmusic/start4.mp3"));
        ChooseFromMenu(*dlg, dlg->m_btnMusic, 8, QStringLiteral("音乐1"));
        QVERIFY(dlg->m_musicPlayer.FilePath().ends_with("bmusic/start9.mp3"));
        QVERIFY(m_media->Sound(dlg->m_musicPlayer.DeviceId())->IsPlaying());

        const QString current = QDir::currentPath();
        std::vector<quvo::OpenFileCall> asked;
        QString answer;
        quvo::SetOpenFileHook([&](const quvo::OpenFileCall& call) {
            asked.push_back(call);
            QDir::setCurrent(QDir::tempPath());  // as a file dialog may
            return answer;
        });
        const std::string theme = dlg->m_themePath, music = dlg->m_musicPath;
        ChooseFromMenu(*dlg, dlg->m_btnBackground, 10, QStringLiteral("主题1"));
        ChooseFromMenu(*dlg, dlg->m_btnMusic, 10, QStringLiteral("音乐1"));
        QCOMPARE(asked.size(), std::size_t(2));
        QVERIFY(asked[0].folder.endsWith(QStringLiteral("/theme")) && asked[0].filter.contains(QStringLiteral("*.bmp")));
        QVERIFY(asked[1].folder.endsWith(QStringLiteral("/bmusic")) && asked[1].filter.contains(QStringLiteral("*.mp3")));
        QCOMPARE(dlg->m_themePath, theme);  // cancelled
        QCOMPARE(dlg->m_musicPath, music);
        QCOMPARE(QDir::currentPath(), current);

        answer = QString::fromStdString(m_dir->File("theme/charming2.bmp"));
        ChooseFromMenu(*dlg, dlg->m_btnBackground, 10, QStringLiteral("主题1"));
        QCOMPARE(QString::fromStdString(Utf8(dlg->m_themePath)), answer);
        QCOMPARE(QDir::currentPath(), current);
    }

    // Let go after a click on the track, a key or the wheel: the speed is read each time,
    // and it is the speed saved at exit. The label shows the speed from the start.
    void theSliderSetsTheSpeedHoweverItMoved() {
        auto dlg = quvo::test::StartDialog(true);
        auto* slider = dlg->m_speedSlider;
        auto* label = qobject_cast<QLabel*>(dlg->GetDlgItem(1036));
        QCOMPARE(label->text(), QStringLiteral("演示速度:1.00秒"));
        const QRect thumb = slider->ThumbRect();
        const QPoint track = slider->mapTo(dlg.get(), QPoint(thumb.right() + 30, thumb.center().y()));
        QTest::mouseClick(dlg->windowHandle(), Qt::LeftButton, {}, track);
        QCOMPARE(slider->value(), 1500);  // one page, a visible step
        QCOMPARE(dlg->m_demoSpeed, 1500);
        QCOMPARE(label->text(), QStringLiteral("演示速度:1.50秒"));

        slider->setFocus();
        QTest::keyClick(slider, Qt::Key_Right);
        QCOMPARE(dlg->m_demoSpeed, 1600);
        QWheelEvent wheel(QPointF(5, 5), slider->mapToGlobal(QPointF(5, 5)), {}, QPoint(0, -120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(slider, &wheel);
        QCOMPARE(dlg->m_demoSpeed, slider->value());
        QVERIFY(slider->value() != 1600);

        // The thumb: its own colours, the system's for black.
        QCOMPARE(slider->ThumbFill(), QColor(196, 196, 0));
        slider->SetThumbColors(Qt::black, Qt::black);
        QCOMPARE(slider->ThumbFill(), slider->palette().color(QPalette::Button));
        slider->SetThumbColors(QColor(196, 196, 0), QColor(255, 255, 0));

        const int saved = dlg->m_demoSpeed;
        dlg->ExitRoutine();
        quvo::SettingsBytes bytes{};
        QCOMPARE(quvo::ReadSettingsFile(m_dir->File("quvocf.cfg"), bytes), 0);
        QCOMPARE(quvo::DecodeSettings(bytes).demoSpeed, saved);
    }

    void helpOpensTheHelpPage() {
        UrlSink sink;
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &sink, "open");
        auto dlg = quvo::test::StartDialog(true);
        QTest::mouseClick(dlg->windowHandle(), Qt::LeftButton, {}, Centre(dlg->GetDlgItem(1008)));
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        QCOMPARE(sink.opened.size(), 1);
        const QUrl url = sink.opened.front();
        QCOMPARE(url.path(), QStringLiteral("/newslist.asp"));
        QCOMPARE(QUrlQuery(url).queryItemValue(QStringLiteral("newstype"), QUrl::FullyDecoded),
                 QStringLiteral("软件使用帮助"));
    }

    // 全屏 switches a screen that is neither 1024 wide nor 768 high to 1024 x 768 where it
    // offers that mode; the window covers the screen either way; 复原 puts the mode back.
    void fullScreenAndBack() {
        struct Case {
            quvo::DisplayMode screen;
            bool offers1024;
            int changes;
        };
        const quvo::DisplayMode big{1280, 1024, 60, 0}, wide{1280, 768, 60, 0}, small{1024, 768, 60, 1};
        for (const Case& c : {Case{big, true, 1}, Case{big, false, 1}, Case{wide, true, 0}}) {
            quvo::ScriptedDisplayModes modes(c.screen, c.offers1024 ? std::initializer_list<quvo::DisplayMode>{small}
                                                                    : std::initializer_list<quvo::DisplayMode>{});
            quvo::DisplayModes::SetDefault(&modes);
            auto dlg = quvo::test::StartDialog(true);
            auto* button = dlg->m_btnFullScreen;
            QTest::mouseClick(dlg->windowHandle(), Qt::LeftButton, {}, Centre(button));
            QCOMPARE(button->text(), QStringLiteral("复原"));
            QCOMPARE(modes.Changes(), c.changes);
            const QSize expected = modes.Shown() == small ? QSize(1024, 768) : dlg->screen()->geometry().size();
            QCOMPARE(dlg->geometry(), QRect(QPoint(0, 0), expected));
            if (c.offers1024 && c.changes == 1) {
                Save(dlg.get(), "panel-fullscreen.png");
            }
            QTest::mouseClick(dlg->windowHandle(), Qt::LeftButton, {}, Centre(button));
            QCOMPARE(button->text(), QStringLiteral("全屏"));
            QCOMPARE(modes.Shown(), c.screen);
            QCOMPARE(dlg->size(), QSize(1024, 768));
            // Left in full screen, the exit routine puts the mode back too.
            QTest::mouseClick(dlg->windowHandle(), Qt::LeftButton, {}, Centre(button));
            dlg->ExitRoutine();
            QCOMPARE(modes.Shown(), c.screen);
            quvo::DisplayModes::SetDefault(nullptr);
        }
    }

    // The real layer on an X server of our own: the mode is read; a switch happens only as far
    // as the server offers the size, and the mode read first always comes back.
    void xrandrOnXvfb() {
        if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty()) {
            QSKIP("Xvfb is not installed");
        }
        // The server picks a free display and says which on its output.
        QProcess xvfb;
        xvfb.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                                            QStringLiteral("0"), QStringLiteral("1280x1024x24"),
                                            QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        QVERIFY(xvfb.waitForStarted());
        QVERIFY(xvfb.waitForReadyRead(10000));
        const QString display = QStringLiteral(":") + QString::fromLatin1(xvfb.readAllStandardOutput()).trimmed();
        std::unique_ptr<quvo::DisplayModes> modes;
        quvo::DisplayMode first;
        for (int i = 0; i < 50 && !(modes && modes->Current(first)); ++i) {
            QTest::qWait(100);
            modes = quvo::MakeXRandrModes(display.toStdString());
        }
        QCOMPARE(first.width, 1280);
        QCOMPARE(first.height, 1024);
        quvo::DisplayMode now;
        if (modes->Change(1024, 768)) {
            QVERIFY(modes->Current(now));
            QCOMPARE(QSize(now.width, now.height), QSize(1024, 768));
        }
        QVERIFY(!modes->Change(4321, 1234));
        QVERIFY(modes->Restore(first));
        QVERIFY(modes->Current(now));
        QCOMPARE(now, first);
        modes.reset();
        xvfb.terminate();
        xvfb.waitForFinished();
        // Without an X server nothing is read or changed.
        const auto none = quvo::MakeXRandrModes(":99999");
        QVERIFY(!none->Current(now));
        QVERIFY(!none->Change(1024, 768));
    }

    // A program folder whose own path is 115 bytes long: the theme, the music and the book
    // are still there after a restart (their whole paths no longer fit the settings file).
    void aLongProgramFolderKeepsItsChoices() {
        std::filesystem::path folder = m_dir->Path();
        while (folder.string().size() < 115 - 9) {
            folder /= std::string(std::min<std::size_t>(20, 115 - 9 - folder.string().size()), 'q');
        }
        folder /= std::string(115 - folder.string().size() - 1, 'p');
        QCOMPARE(folder.string().size(), std::size_t(115));
        std::filesystem::create_directories(folder);
        for (const char* file : {"fonts/quvokai.ttf", "hz.db"}) {
            quvo::test::LinkProgramFile(QUVO_PROGRAM_DIR, folder, file);
        }
        LinkThemesAndMusic(folder);
        QDir::setCurrent(QString::fromStdString(folder.string()));
        {
            auto dlg = quvo::test::StartDialog(true);
            QVERIFY(dlg->m_charButtons.front()->Character()[0] != '\0');
            dlg->OnMenuCommand(32812);  // 主题3
            dlg->OnMenuCommand(32805);  // 音乐4
            dlg->ExitRoutine();
        }
        auto dlg = quvo::test::StartDialog(true);
        QCOMPARE(QString::fromStdString(Utf8(dlg->m_themePath)), QString::fromStdString(folder.string() + "/theme/charming3.bmp"));
        QCOMPARE(QString::fromStdString(Utf8(dlg->m_musicPath)), QString::fromStdString(folder.string() + "/bmusic/start4.mp3"));
        QCOMPARE(QString::fromStdString(Utf8(dlg->m_bookPath)), QString::fromStdString(folder.string() + "/book/基础篇.txt"));
        QVERIFY(!dlg->m_background.isNull());
        QVERIFY(dlg->m_charButtons.front()->Character()[0] != '\0');
        QDir::setCurrent(QString::fromStdString(m_dir->Path().string()));
    }
};

QTEST_MAIN(TestPanel)
#include "test_panel.moc"
