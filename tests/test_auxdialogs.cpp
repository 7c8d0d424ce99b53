// The start-up help and the closing credits, shown as the program shows them.
#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <filesystem>
#include <memory>

#include "app/quvodlg.h"
#include "chardata/gbk.h"
#include "controls/display.h"
#include "controls/modal.h"
#include "controls/starthelp.h"
#include "settings/progressfile.h"
#include "settings/settingsrecord.h"
#include "programfolder.h"

class TestAuxDialogs : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<quvo::test::ProgramFolder> m_dir;
    std::vector<quvo::MessageBoxCall> m_boxes;
    std::vector<QString> m_shown;  // class names of the dialogs run modally

    static std::string Gbk(const char* utf8) { return quvo::Utf8ToGbk(utf8).value(); }

    void RecordModals() {
        quvo::SetModalHook([this](QDialog& d) {
            m_shown.push_back(QString::fromLatin1(d.metaObject()->className()));
            return 0;
        });
    }

    // Runs `dialog` modally for real; `act` runs once it is up. Returns the result and
    // how long the dialog was up.
    static std::pair<int, qint64> RunFor(QDialog& dialog, std::function<void(QDialog&)> act) {
        QTimer::singleShot(100, [&] { act(dialog); });
        QTimer guard;  // should it not close, the test goes on instead of hanging
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, &dialog, &QDialog::reject);
        guard.start(20000);
        QElapsedTimer clock;
        clock.start();
        quvo::SetModalHook({});
        const int result = quvo::RunModal(dialog);
        return {result, clock.elapsed()};
    }

private Q_SLOTS:
    void init() {
        m_dir = std::make_unique<quvo::test::ProgramFolder>(&m_boxes);
        m_shown.clear();
    }
    void cleanup() { m_dir.reset(); }

    // Shown after initialisation exactly when the textbook has no progress record.
    void theHelpShowsOnlyWithoutProgress() {
        RecordModals();
        auto first = quvo::test::StartDialog();
        QCoreApplication::processEvents();
        QCOMPARE(m_shown, (std::vector<QString>{QStringLiteral("CStartHelp")}));
        first->ExitRoutine();  // saves the page of the book

        m_shown.clear();
        auto second = quvo::test::StartDialog();
        QCoreApplication::processEvents();
        QVERIFY(m_shown.empty());
        second->ExitRoutine();
        QCOMPARE(m_shown, (std::vector<QString>{QStringLiteral("CDisplay")}));
    }

    // One word per line, links as links, closed with Return; a missing file leaves it empty.
    void theHelpTextAndItsClosing() {
        {
            CStartHelp empty;
            QVERIFY(empty.Text()->PlainText().isEmpty());
            QCOMPARE(empty.Text()->LoadHelpText(), 0);
        }
        quvo::test::WriteAll(m_dir->File("首页帮助.txt"), Gbk("小朋友 你好\r\n请看 http://127.0.0.1:8080/help.htm\n"));
        CStartHelp help;
        QCOMPARE(help.Text()->PlainText(), QStringLiteral("小朋友\n你好\n请看\nhttp://127.0.0.1:8080/help.htm"));
        QVERIFY(help.Text()->toHtml().contains(QStringLiteral("href=\"http://127.0.0.1:8080/help.htm\"")));
        QCOMPARE(help.Text()->font().pixelSize(), 20);
        help.show();
        QVERIFY(help.grab().save(QStringLiteral(QUVO_TEST_OUTPUT_DIR "/starthelp.png")));
        help.hide();
        const auto [result, ms] = RunFor(help, [](QDialog& d) { QTest::keyClick(d.windowHandle(), Qt::Key_Return); });
        QCOMPARE(result, int(QDialog::Accepted));
        QVERIFY(ms < 10000);
    }

    // The field stays blue until the 18th step, then shows the first line rising.
    void theCreditsScroll() {
        CDisplay credits;
        for (int step = 1; step < 18; ++step) {
            credits.OnScrollTimer();
        }
        QCOMPARE(credits.Field().pixel(credits.Field().width() / 2, credits.Field().height() - 1), qRgb(0, 0, 255));
        while (credits.Scroll().LineIndex() < 5) {  // the title, the rule, three roles
            credits.OnScrollTimer();
        }
        for (int step = 0; step < 15; ++step) {
            credits.OnScrollTimer();
        }
        // Something other than blue has risen into the field: the lines so far.
        const QImage field = credits.Field();
        int other = 0;
        for (int y = 0; y < field.height(); ++y) {
            for (int x = 0; x < field.width(); ++x) {
                other += field.pixel(x, y) != qRgb(0, 0, 255);
            }
        }
        QVERIFY(other > 200);
        credits.show();
        QVERIFY(credits.grab().save(QStringLiteral(QUVO_TEST_OUTPUT_DIR "/credits-halfway.png")));
    }

    // A click ends the credits at once; left alone they end after the last line and a pause
    // that is a timer, so that a click during it still ends them at once.
    void theCreditsEndByAClickOrByTime() {
        CDisplay clicked;
        const auto [byClick, clickMs] = RunFor(clicked, [](QDialog& d) {
            QTest::mouseClick(d.windowHandle(), Qt::LeftButton, {}, QPoint(50, 50));
        });
        QCOMPARE(byClick, int(QDialog::Accepted));
        QVERIFY(clickMs < 5000);

        CDisplay waited;
        const auto [byTime, timeMs] = RunFor(waited, [](QDialog& d) {
            auto& credits = static_cast<CDisplay&>(d);
            while (credits.Scroll().LineIndex() < 16) {
                credits.OnScrollTimer();
            }
            // In the two seconds after the last line, the window still takes a click.
            QTimer::singleShot(300, &d, [&d] { QTest::mouseClick(d.windowHandle(), Qt::LeftButton, {}, QPoint(50, 50)); });
        });
        QCOMPARE(byTime, int(QDialog::Accepted));
        QVERIFY(timeMs < 1500);

        CDisplay alone;
        alone.m_closeDelay = 50;
        const auto [untouched, aloneMs] = RunFor(alone, [](QDialog& d) {
            auto& credits = static_cast<CDisplay&>(d);
            while (credits.Scroll().LineIndex() < 16) {
                credits.OnScrollTimer();
            }
        });
        QCOMPARE(untouched, int(QDialog::Rejected));
        QVERIFY(aloneMs < 5000);
    }

    // By the time the credits show, the settings and the progress are on disc.
    void theFilesAreWrittenBeforeTheCredits() {
        bool written = false;
        auto dlg = quvo::test::StartDialog();
        quvo::SetModalHook([&](QDialog& d) {
            if (QString::fromLatin1(d.metaObject()->className()) == QStringLiteral("CDisplay")) {
                written = std::filesystem::exists(m_dir->File("quvocf.cfg")) &&
                          std::filesystem::exists(m_dir->File("xxjd.cfg"));
            }
            return 0;
        });
        dlg->ExitRoutine();
        QVERIFY(written);
    }
};

QTEST_MAIN(TestAuxDialogs)
#include "test_auxdialogs.moc"
