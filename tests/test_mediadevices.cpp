// The rules of the device layer itself, on devices that play nothing: names and ids, the
// command strings it takes and refuses, the flags of the command structures, error texts.
#include <QCoreApplication>
#include <QTest>

#include <cstring>
#include <memory>
#include <set>
#include <string>

#include "mcinotifysink.h"
#include "media/mcierrortext.h"
#include "media/mcistringcommand.h"
#include "media/scriptedmediadevices.h"

using quvo::MciDeviceId;
using quvo::MciError;
using quvo::ScriptedMediaDevices;
using quvo::test::MciNotifySink;
namespace mci = quvo::mci;

Q_DECLARE_METATYPE(quvo::MciError)

class TestMediaDevices : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ScriptedMediaDevices> m_devices;

    static constexpr std::uint32_t kOpenFlags =
        mci::kOpenType | mci::kOpenElement | mci::kOpenAlias;

    MciError Open(const std::string& alias, MciDeviceId& id, std::uint32_t flags = kOpenFlags,
                  const std::string& type = "MPEGvideo") {
        quvo::MciOpenParms parms;
        parms.deviceType = type;
        parms.elementName = "sound.mp3";
        parms.alias = alias;
        const MciError error = m_devices->SendCommand(0, mci::kOpen, flags, parms);
        id = parms.deviceId;
        return error;
    }

    MciDeviceId Open(const std::string& alias) {
        MciDeviceId id = 0;
        if (Open(alias, id) != 0) {
            qFatal("the scripted devices refused an open");
        }
        return id;
    }

    MciError Play(MciDeviceId id, std::uint32_t flags, QObject* window = nullptr) {
        quvo::MciPlayParms parms;
        parms.callback = window;
        parms.from = 250;
        return m_devices->SendCommand(id, mci::kPlay, flags, parms);
    }

private Q_SLOTS:
    void init() { m_devices = std::make_unique<ScriptedMediaDevices>(); }

    void cleanup() {
        QCoreApplication::sendPostedEvents();
        m_devices.reset();
    }

    void openDevicesHaveDistinctNonzeroIds() {
        std::set<MciDeviceId> ids;
        for (int i = 1; i <= 5; ++i) {
            ids.insert(Open("QuvoMedia" + std::to_string(i)));
        }
        QCOMPARE(ids.size(), std::size_t{5});
        QVERIFY(ids.count(0) == 0);
        QCOMPARE(m_devices->OpenDeviceCount(), std::size_t{5});
    }

    void anAliasInUseIsRefusedWhateverItsCase() {
        Open("QuvoMedia1");
        MciDeviceId id = 0;
        QCOMPARE(Open("QUVOMEDIA1", id), mci::kErrDuplicateAlias);
        QCOMPARE(id, 0u);
        QCOMPARE(m_devices->OpenDeviceCount(), std::size_t{1});
    }

    void aClosedAliasCanBeOpenedAgain() {
        Open("QuvoMedia1");
        QCOMPARE(m_devices->SendString("close QuvoMedia1"), 0u);
        MciDeviceId id = 0;
        QCOMPARE(Open("QuvoMedia1", id), 0u);
    }

    void openNeedsTheDeviceTypeAndTheFile() {
        MciDeviceId id = 0;
        QCOMPARE(Open("a", id, kOpenFlags, "waveaudio"), mci::kErrDeviceTypeRequired);
        QCOMPARE(Open("a", id, mci::kOpenElement | mci::kOpenAlias), mci::kErrDeviceTypeRequired);
        QCOMPARE(Open("a", id, mci::kOpenType | mci::kOpenAlias), mci::kErrFilenameRequired);
        QCOMPARE(Open("a", id, kOpenFlags | mci::kNotify), mci::kErrFlagsNotCompatible);
        QCOMPARE(m_devices->OpenDeviceCount(), std::size_t{0});
    }

    void withoutAnAliasTheFileNamesTheDevice() {
        MciDeviceId id = 0;
        QCOMPARE(Open("", id, mci::kOpenType | mci::kOpenElement), 0u);
        QCOMPARE(m_devices->SendString("stop sound.mp3"), 0u);
        QCOMPARE(Open("", id, mci::kOpenType | mci::kOpenElement), mci::kErrDeviceOpen);
    }

    void commandStrings_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<MciError>("error");
        QTest::newRow("play") << QStringLiteral("play QuvoMedia1") << MciError{0};
        QTest::newRow("play from") << QStringLiteral("play QuvoMedia1 from 500") << MciError{0};
        QTest::newRow("case and blanks")
            << QStringLiteral("  PLAY  quvomedia1 FROM 0 ") << MciError{0};
        QTest::newRow("stop") << QStringLiteral("stop QuvoMedia1") << MciError{0};
        QTest::newRow("empty") << QString() << mci::kErrMissingCommandString;
        QTest::newRow("unknown verb")
            << QStringLiteral("pause QuvoMedia1") << mci::kErrUnrecognizedCommand;
        QTest::newRow("no name") << QStringLiteral("play") << mci::kErrMissingDeviceName;
        QTest::newRow("unknown name")
            << QStringLiteral("play QuvoMedia2") << mci::kErrInvalidDeviceName;
        QTest::newRow("unknown keyword")
            << QStringLiteral("play QuvoMedia1 to 9") << mci::kErrUnrecognizedKeyword;
        QTest::newRow("stop from")
            << QStringLiteral("stop QuvoMedia1 from 9") << mci::kErrUnrecognizedKeyword;
        QTest::newRow("from nothing")
            << QStringLiteral("play QuvoMedia1 from") << mci::kErrMissingParameter;
        QTest::newRow("negative") << QStringLiteral("play QuvoMedia1 from -3")
                                  << mci::kErrBadInteger;
        QTest::newRow("not a number")
            << QStringLiteral("play QuvoMedia1 from 5x") << mci::kErrBadInteger;
    }

    void commandStrings() {
        QFETCH(QString, command);
        QFETCH(MciError, error);
        const MciDeviceId id = Open("QuvoMedia1");
        QCOMPARE(m_devices->SendString(command.toStdString().c_str()), error);
        QCOMPARE(m_devices->Sound(id)->IsPlaying(),
                 error == 0 && command.contains(QStringLiteral("play"), Qt::CaseInsensitive));
    }

    void playFromSetsThePosition() {
        const MciDeviceId id = Open("QuvoMedia1");
        m_devices->SendString("play QuvoMedia1 from 1234");
        QCOMPARE(m_devices->Sound(id)->LastFrom().value_or(0), 1234u);
    }

    void playStructureNeedsAnOpenDevice() {
        QCOMPARE(Play(0, mci::kNotify), mci::kErrInvalidDeviceId);
        QCOMPARE(Play(77, mci::kNotify), mci::kErrInvalidDeviceId);
        const MciDeviceId id = Open("QuvoMedia1");
        QCOMPARE(Play(id, mci::kNotify | mci::kTo), mci::kErrFlagsNotCompatible);
        QVERIFY(!m_devices->Sound(id)->IsPlaying());
        QCOMPARE(Play(id, mci::kFrom), 0u);
        QCOMPARE(m_devices->Sound(id)->LastFrom().value_or(0), 250u);
    }

    void aMessageOtherThanOpenOrPlayIsRefused() {
        quvo::MciOpenParms open;
        open.deviceType = "MPEGvideo";
        open.elementName = "x.mp3";
        QCOMPARE(m_devices->SendCommand(0, mci::kPlay, mci::kOpenType | mci::kOpenElement, open),
                 mci::kErrUnrecognizedCommand);
        quvo::MciPlayParms play;
        QCOMPARE(m_devices->SendCommand(Open("a"), mci::kOpen, 0, play),
                 mci::kErrUnrecognizedCommand);
    }

    // A notification from a closed device carries its id, which no later device reuses.
    void notificationNamesItsDevice() {
        MciNotifySink window;
        const MciDeviceId first = Open("QuvoMedia1");
        const MciDeviceId second = Open("QuvoMedia2");
        Play(first, mci::kNotify, &window);
        Play(second, mci::kNotify, &window);
        m_devices->SendString("close QuvoMedia1");
        m_devices->FinishPlaying(second);
        QCoreApplication::sendPostedEvents();
        QCOMPARE(window.notices.size(), std::size_t{2});
        QCOMPARE(window.notices[0].deviceId, first);
        QCOMPARE(window.notices[0].code, mci::kNotifyAborted);
        QCOMPARE(window.notices[1].deviceId, second);
        QCOMPARE(window.notices[1].code, mci::kNotifySuccessful);
        QVERIFY(Open("QuvoMedia1") != first);
    }

    void aRequestIsAnsweredOnce() {
        MciNotifySink window;
        const MciDeviceId id = Open("QuvoMedia1");
        Play(id, mci::kNotify, &window);
        QVERIFY(m_devices->FinishPlaying(id));
        m_devices->SendString("play QuvoMedia1");
        QVERIFY(m_devices->FinishPlaying(id));
        m_devices->SendString("stop QuvoMedia1");
        m_devices->SendString("close QuvoMedia1");
        QCoreApplication::sendPostedEvents();
        QCOMPARE(window.notices.size(), std::size_t{1});
        QCOMPARE(window.otherEvents, 0);
    }

    void errorTextsFitTheBufferGiven() {
        char text[100];
        std::memset(text, 'x', sizeof text);
        QVERIFY(m_devices->GetErrorString(mci::kErrFileNotFound, text, sizeof text));
        QCOMPARE(std::string(text), std::string(quvo::MciErrorText(mci::kErrFileNotFound)));
        std::memset(text, 'x', sizeof text);
        QVERIFY(m_devices->GetErrorString(mci::kErrFileNotFound, text, 10));
        QCOMPARE(std::string(text), std::string(quvo::MciErrorText(mci::kErrFileNotFound), 9));
        QCOMPARE(text[10], 'x');
    }

    void unknownErrorCodeHasNoText() {
        char text[100] = "old";
        QVERIFY(!m_devices->GetErrorString(12345, text, sizeof text));
        QCOMPARE(text[0], '\0');
    }

    void everyErrorHasATextThatFitsTheRecordedBuffer() {
        for (MciError code :
             {mci::kErrInvalidDeviceId, mci::kErrUnrecognizedKeyword, mci::kErrUnrecognizedCommand,
              mci::kErrHardware, mci::kErrInvalidDeviceName, mci::kErrDeviceOpen,
              mci::kErrMissingCommandString, mci::kErrBadInteger, mci::kErrMissingParameter,
              mci::kErrFileNotFound, mci::kErrFlagsNotCompatible, mci::kErrDeviceTypeRequired,
              mci::kErrDuplicateAlias, mci::kErrMissingDeviceName, mci::kErrInvalidFile,
              mci::kErrFilenameRequired}) {
            const char* text = quvo::MciErrorText(code);
            QVERIFY2(text != nullptr && std::strlen(text) > 0 && std::strlen(text) < 100,
                     qPrintable(QString::number(code)));
        }
    }

    void namesCompareWithoutCase() {
        QVERIFY(quvo::SameMciName("QuvoMedia1", "quvomedia1"));
        QVERIFY(!quvo::SameMciName("QuvoMedia1", "QuvoMedia11"));
        QVERIFY(!quvo::SameMciName("QuvoMedia1", "QuvoMedia2"));
    }
};

QTEST_GUILESS_MAIN(TestMediaDevices)
#include "test_mediadevices.moc"
