// The dialog's animated cursors: loaded from the program folder's files, refused when a file
// is missing or damaged, and played on the widgets that show them.
#include <QTest>

#include <memory>
#include <set>
#include <string>

#include "app/quvodlg.h"
#include "controls/anifile.h"
#include "controls/animatedcursor.h"
#include "testfiles.h"

class TestAnimatedCursor : public QObject {
    Q_OBJECT

private:
    static std::string ProgramCursor(const char* name) {
        return std::string(QUVO_PROGRAM_DIR) + "/cur/" + name + ".ani";
    }

    static qint64 Key(const QWidget& w) { return w.cursor().pixmap().cacheKey(); }

private Q_SLOTS:
    // Frame 0 of the file, pixel for pixel, with its hotspot; the same file again gives
    // the same cursor.
    void loadsTheFirstFrameOfEachProgramCursor() {
        CQuvoDlg dlg;
        for (const char* name : {"normal", "move", "on"}) {
            const std::string file = ProgramCursor(name);
            quvo::CursorAnimation ani;
            QVERIFY(quvo::LoadCursorFile(file, ani));
            const quvo::CursorFrame& first = ani.frames[0];
            const auto cursor = dlg.LoadAnimatedCursor(file.c_str());
            QVERIFY(cursor.has_value());
            QCOMPARE(cursor->shape(), Qt::BitmapCursor);
            QCOMPARE(cursor->hotSpot(), QPoint(first.hotX, first.hotY));
            // Compared premultiplied, the form a pixmap keeps its pixels in.
            QImage expected(first.width, first.height, QImage::Format_ARGB32);
            for (int y = 0; y < first.height; ++y) {
                for (int x = 0; x < first.width; ++x) {
                    expected.setPixel(x, y,
                                      first.pixels[static_cast<std::size_t>(y * first.width + x)]);
                }
            }
            const auto premultiplied = QImage::Format_ARGB32_Premultiplied;
            QCOMPARE(cursor->pixmap().toImage().convertToFormat(premultiplied),
                     expected.convertToFormat(premultiplied));
            QCOMPARE(dlg.LoadAnimatedCursor(file.c_str())->pixmap().cacheKey(),
                     cursor->pixmap().cacheKey());
        }
    }

    void missingOrDamagedFilesGiveNoCursor() {
        quvo::test::TempFolder folder;
        const std::string whole = quvo::test::ReadAll(ProgramCursor("on"));
        quvo::test::WriteAll(folder.File("cut.ani"), whole.substr(0, whole.size() - 1));
        quvo::test::WriteAll(folder.File("text.ani"), "RIFF, but not really");
        CQuvoDlg dlg;
        for (const char* name : {"missing.ani", "cut.ani", "text.ani"}) {
            QVERIFY2(!dlg.LoadAnimatedCursor(folder.File(name).c_str()).has_value(), name);
        }
    }

    // A widget given the cursor steps through its frames; once given another cursor, or
    // destroyed, it is left alone.
    void widgetsPlayTheFramesUntilTheirCursorChanges() {
        CQuvoDlg dlg;
        const auto cursor = dlg.LoadAnimatedCursor(ProgramCursor("normal").c_str());
        QVERIFY(cursor.has_value());
        QWidget shown;
        auto gone = std::make_unique<QWidget>();
        shown.setCursor(*cursor);
        gone->setCursor(*cursor);
        QCOMPARE(quvo::CursorAnimator::Instance().PlayingWidgets(), std::size_t{2});
        gone.reset();
        std::set<qint64> seen = {Key(shown)};
        QTRY_VERIFY_WITH_TIMEOUT((seen.insert(Key(shown)), seen.size() >= 4), 3000);
        QCOMPARE(shown.cursor().shape(), Qt::BitmapCursor);

        shown.setCursor(Qt::CrossCursor);
        QCOMPARE(quvo::CursorAnimator::Instance().PlayingWidgets(), std::size_t{0});
        QTest::qWait(400);
        QCOMPARE(shown.cursor().shape(), Qt::CrossCursor);
    }
};

QTEST_MAIN(TestAnimatedCursor)
#include "test_animatedcursor.moc"
