// Practice sheets from the main dialog: Ctrl+P and the practice grid's context menu offer the
// current character and the page's five; the print dialog's printer writes them as a PDF,
// which Poppler's tools read back.
#include <QApplication>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

#include "app/quvodlg.h"
#include "chardata/gbk.h"
#include "controls/modal.h"
#include "programfolder.h"
#include "tests/childprocess.h"

namespace {

std::string PageCount(const std::string& pdf) {
    quvo::test::ChildProcess process("pdfinfo", {pdf});
    const std::string info = process.Rest();
    const std::size_t at = info.find("Pages:");
    return at == std::string::npos ? info : info.substr(at, info.find('\n', at) - at);
}

std::string Text(const std::string& pdf) {
    quvo::test::ChildProcess process("pdftotext", {"-enc", "UTF-8", pdf, "-"});
    return process.Rest();
}

}  // namespace

class TestPrintSheet : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<quvo::test::ProgramFolder> m_dir;
    std::vector<quvo::MessageBoxCall> m_boxes;
    int m_printDialogs = 0;

    // The print dialog is answered by printing into `pdf` as a PDF file.
    void PrintInto(const std::string& pdf) {
        quvo::SetModalHook([this, pdf](QDialog& dialog) {
            auto* print = qobject_cast<QPrintDialog*>(&dialog);
            if (print == nullptr) {
                return 0;
            }
            ++m_printDialogs;
            print->printer()->setOutputFormat(QPrinter::PdfFormat);
            print->printer()->setOutputFileName(QString::fromStdString(pdf));
            return static_cast<int>(QDialog::Accepted);
        });
    }

    // Picks entry `entry` of the menu that `open` brings up, by a click on it, checking what
    // the menu offers.
    static void Choose(const std::function<void()>& open, int entry) {
        bool seen = false;
        QTimer::singleShot(50, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(menu != nullptr);
            seen = true;
            const QList<QAction*> actions = menu->actions();
            QCOMPARE(actions.size(), 2);
            QCOMPARE(actions[0]->text(), QStringLiteral("打印练习纸"));
            QCOMPARE(actions[1]->text(), QStringLiteral("打印本页"));
            QTest::mouseClick(menu->windowHandle(), Qt::LeftButton, {},
                              menu->actionGeometry(actions[entry]).center());
        });
        open();
        QVERIFY(seen);
    }

private Q_SLOTS:
    void init() {
        m_dir = std::make_unique<quvo::test::ProgramFolder>(&m_boxes);
        quvo::test::LinkProgramFile(QUVO_PROGRAM_DIR, m_dir->Path(), "book/基础篇.txt");
        m_printDialogs = 0;
    }

    void cleanup() { m_dir.reset(); }

    void ctrlPAndTheGridMenuPrintTheCharacterAndThePage() {
        auto dlg = quvo::test::StartDialog(true);
        dlg->LoadCharacter(quvo::Utf8ToGbk("高").value().c_str());
        const std::string one = m_dir->File("one.pdf");
        PrintInto(one);
        Choose([&] { QTest::keyClick(dlg->windowHandle(), Qt::Key_P, Qt::ControlModifier); }, 0);
        QCOMPARE(m_printDialogs, 1);
        QCOMPARE(PageCount(one), std::string("Pages:           1"));
        const std::string oneText = Text(one);
        QVERIFY2(oneText.find("高") != std::string::npos && oneText.find("gāo") != std::string::npos,
                 oneText.c_str());

        const std::string page = m_dir->File("page.pdf");
        PrintInto(page);
        const quvo::Rect& grid = dlg->m_panels.practice;
        const QPoint inGrid((grid.left + grid.right) / 2, (grid.top + grid.bottom) / 2);
        Choose([&] { QTest::mouseClick(dlg->windowHandle(), Qt::RightButton, {}, inGrid); }, 1);
        QCOMPARE(m_printDialogs, 2);
        QCOMPARE(PageCount(page), std::string("Pages:           1"));
        const std::string pageText = Text(page);
        QVERIFY2(pageText.find("基础篇 第1页") != std::string::npos, pageText.c_str());
        for (const char* reading : {"yī", "èr", "sān", "shí", "rén"}) {
            QVERIFY2(pageText.find(reading) != std::string::npos, reading);
        }
        dlg->ExitRoutine();
    }
};

QTEST_MAIN(TestPrintSheet)
#include "test_printsheet.moc"
