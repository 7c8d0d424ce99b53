// The player on the Qt Multimedia devices, with the program folder's own sounds. Runs on a
// machine without a sound card: GStreamer's automatic sink then falls back to a fake sink
// that keeps the clock, so a sound takes its real length and still reaches its end.
#include <QAudioOutput>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QTest>
#include <QUrl>

#include <memory>
#include <string>

#include "mcinotifysink.h"
#include "media/mcierrortext.h"
#include "media/mediaplayer.h"
#include "media/qtmediadevices.h"
#include "testfiles.h"

using quvo::test::MciNotifySink;
namespace mci = quvo::mci;

namespace {

// Far longer than any stroke sound, far shorter than any tune (30 s at least).
constexpr int kWaitMs = 20000;

std::string ProgramFile(const char* name) {
    return std::string(QUVO_PROGRAM_DIR) + "/" + name;
}

// Makes `folder` the current folder for the life of the object.
class CurrentFolder {
public:
    explicit CurrentFolder(const QString& folder) : m_before(QDir::currentPath()) {
        QDir::setCurrent(folder);
    }
    ~CurrentFolder() { QDir::setCurrent(m_before); }

private:
    QString m_before;
};

}  // namespace

class TestQtMediaDevices : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<quvo::QtMediaDevices> m_devices;

    // What Qt says the sound at `path` lasts, in milliseconds.
    static qint64 DurationOf(const std::string& path) {
        QAudioOutput output;
        QMediaPlayer player;
        player.setAudioOutput(&output);
        player.setSource(QUrl::fromLocalFile(QString::fromStdString(path)));
        const bool loaded = QTest::qWaitFor(
            [&] { return player.mediaStatus() == QMediaPlayer::LoadedMedia; }, kWaitMs);
        return loaded ? player.duration() : 0;
    }

private Q_SLOTS:
    // The devices come before any other media object, so their choice of back end holds.
    void initTestCase() {
        const bool backEndChosen = qEnvironmentVariableIsSet("QT_MEDIA_BACKEND");
        m_devices = std::make_unique<quvo::QtMediaDevices>();
        if (!backEndChosen) {
            QCOMPARE(qgetenv("QT_MEDIA_BACKEND"), QByteArray("gstreamer"));
        }
        QVERIFY(QFileInfo::exists(QString::fromStdString(ProgramFile("bihua/1.mp3"))));
    }

    void cleanupTestCase() { m_devices.reset(); }

    // The stroke-piece sequence, with the name relative to the current folder.
    void strokeSoundPlaysToItsEndAndNotifies() {
        const CurrentFolder programFolder(QStringLiteral(QUVO_PROGRAM_DIR));
        MciNotifySink window;
        CMediaPlayer player(m_devices.get());
        player.Init(3, &window);
        QCOMPARE(player.Open("bihua/1.mp3"), 1);
        QVERIFY(player.DeviceId() != 0);
        QCOMPARE(player.PlayNotify(&window), 1);
        QCOMPARE(player.LastError(), std::string("No Error"));
        QCOMPARE(player.Play(-1), 1);
        QTRY_VERIFY_WITH_TIMEOUT(!window.notices.empty(), kWaitMs);
        QCOMPARE(window.notices.size(), std::size_t{1});
        QCOMPARE(window.notices[0].code, mci::kNotifySuccessful);
        QCOMPARE(window.notices[0].deviceId, player.DeviceId());
        QCOMPARE(player.Stop(), 1);
        QCOMPARE(player.Close(), 1);
        QCOMPARE(m_devices->OpenDeviceCount(), std::size_t{0});
    }

    // Playing from a position seeks even before the file is loaded: from half a second
    // before the end of a tune, the end comes long before the tune's whole length.
    void playFromAPositionSkipsAhead() {
        const std::string tune = ProgramFile("bmusic/start1.mp3");
        const qint64 length = DurationOf(tune);
        QVERIFY2(length > kWaitMs, "the tune is shorter than the wait");
        MciNotifySink window;
        CMediaPlayer player(m_devices.get());
        player.Init(1, &window);
        QCOMPARE(player.Open(tune), 1);
        player.PlayNotify(&window);
        QCOMPARE(player.Play(static_cast<int>(length - 500)), 1);
        QTRY_VERIFY_WITH_TIMEOUT(!window.notices.empty(), kWaitMs);
        QCOMPARE(window.notices[0].code, mci::kNotifySuccessful);
    }

    void stopAndCloseWhilePlaying() {
        MciNotifySink window;
        CMediaPlayer player(m_devices.get());
        player.Init(1, &window);
        QCOMPARE(player.Open(ProgramFile("bmusic/start2.mp3")), 1);
        player.PlayNotify(&window);
        QTest::qWait(300);
        QCOMPARE(player.Stop(), 1);
        QCOMPARE(player.Play(-1), 1);
        QCOMPARE(player.Close(), 1);
        QTRY_COMPARE(window.notices.size(), std::size_t{1});
        QCOMPARE(window.notices[0].code, mci::kNotifyAborted);
    }

    void windowsSeparatorsAreUnderstood() {
        CMediaPlayer player(m_devices.get());
        player.Init(1, nullptr);
        QCOMPARE(player.Open(std::string(QUVO_PROGRAM_DIR) + "\\bihua\\2.mp3"), 1);
    }

    void missingFileIsNotOpened() {
        const CurrentFolder programFolder(QStringLiteral(QUVO_PROGRAM_DIR));
        CMediaPlayer player(m_devices.get());
        player.Init(1, nullptr);
        QCOMPARE(player.Open("bihua/none.mp3"), 0);
        QVERIFY(!player.IsOpen());
        QCOMPARE(player.LastError(), std::string(quvo::MciErrorText(mci::kErrFileNotFound)));
        QCOMPARE(player.Open("bihua"), 0);  // a folder is no sound
        QCOMPARE(player.Play(-1), 0);
        QCOMPARE(m_devices->OpenDeviceCount(), std::size_t{0});
    }

    // A file that is there but holds no sound opens, and fails once it is played.
    void unplayableFileReportsFailure() {
        quvo::test::TempFolder folder;
        quvo::test::WriteAll(folder.File("noise.mp3"), std::string(4000, 'q'));
        MciNotifySink window;
        CMediaPlayer player(m_devices.get());
        player.Init(5, &window);
        QCOMPARE(player.Open(folder.File("noise.mp3")), 1);
        player.PlayNotify(&window);
        QTRY_VERIFY_WITH_TIMEOUT(!window.notices.empty(), kWaitMs);
        QCOMPARE(window.notices[0].code, mci::kNotifyFailure);
        QCOMPARE(player.Play(-1), 0);
        QCOMPARE(player.LastError(), std::string(quvo::MciErrorText(mci::kErrInvalidFile)));
    }
};

QTEST_MAIN(TestQtMediaDevices)
#include "test_qtmediadevices.moc"
