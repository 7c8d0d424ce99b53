// The player over devices that play nothing: which commands it sends, what it keeps when
// they fail, and how the end-of-play notification reaches the owner's window.
#include <QCoreApplication>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

#include "mcinotifysink.h"
#include "media/mcierrortext.h"
#include "media/mediaplayer.h"
#include "media/scriptedmediadevices.h"

using quvo::ScriptedMediaDevices;
using quvo::test::MciNotifySink;
namespace mci = quvo::mci;

using Strings = std::vector<std::string>;

class TestMediaPlayer : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ScriptedMediaDevices> m_devices;
    std::unique_ptr<MciNotifySink> m_window;

    std::unique_ptr<CMediaPlayer> NewPlayer(std::uint32_t aliasNumber = 1) {
        auto player = std::make_unique<CMediaPlayer>(m_devices.get());
        player->Init(aliasNumber, m_window.get());
        return player;
    }

    // A player with "bihua/3.mp3" open under QuvoMedia1, the open command cleared away.
    std::unique_ptr<CMediaPlayer> OpenPlayer() {
        auto player = NewPlayer();
        if (player->Open("bihua/3.mp3") != 1) {
            qFatal("the scripted devices refused an open");
        }
        m_devices->ClearSent();
        return player;
    }

    static void DeliverPosted() { QCoreApplication::sendPostedEvents(); }

private Q_SLOTS:
    void init() {
        m_devices = std::make_unique<ScriptedMediaDevices>();
        m_window = std::make_unique<MciNotifySink>();
    }

    void cleanup() {
        DeliverPosted();
        m_window.reset();
        m_devices.reset();
    }

    void newPlayerHoldsEmptyTextsAndIsClosed() {
        CMediaPlayer player(m_devices.get());
        QVERIFY(player.FilePath().empty());
        QVERIFY(player.Alias().empty());
        QVERIFY(player.LastError().empty());
        QVERIFY(!player.IsOpen());
        QCOMPARE(player.DeviceId(), 0u);
    }

    void initFormsTheAliasAndSendsNothing() {
        auto player = NewPlayer(7);
        QCOMPARE(player->Alias(), std::string("QuvoMedia7"));
        QCOMPARE(player->AliasNumber(), 7u);
        QCOMPARE(player->NotifyWindow(), m_window.get());
        QVERIFY(!player->IsOpen());
        QVERIFY(m_devices->Sent().empty());
    }

    void closedPlayerPlaysAndStopsNothing() {
        auto player = NewPlayer();
        QCOMPARE(player->Play(-1), 0);
        QCOMPARE(player->Play(500), 0);
        QCOMPARE(player->Stop(), 0);
        QCOMPARE(player->Close(), 1);
        QVERIFY(m_devices->Sent().empty());
        QVERIFY(player->LastError().empty());
    }

    void openSendsTheOpenStructure() {
        auto player = NewPlayer();
        QCOMPARE(player->Open("bihua/3.mp3"), 1);
        QCOMPARE(m_devices->Sent().size(), std::size_t{1});
        const auto& sent = m_devices->Sent().front();
        QCOMPARE(sent.message, mci::kOpen);
        QCOMPARE(sent.flags, 0x2600u);
        QCOMPARE(sent.deviceId, 0u);
        QCOMPARE(sent.open.callback, m_window.get());
        QCOMPARE(sent.open.deviceType, std::string("MPEGvideo"));
        QCOMPARE(sent.open.elementName, std::string("bihua/3.mp3"));
        QCOMPARE(sent.open.alias, std::string("QuvoMedia1"));
        QVERIFY(sent.open.deviceId != 0);
        QCOMPARE(player->DeviceId(), sent.open.deviceId);
        QVERIFY(player->IsOpen());
        QCOMPARE(player->FilePath(), std::string("bihua/3.mp3"));
        QCOMPARE(player->LastError(), std::string("No Error"));
        QCOMPARE(m_devices->OpenDeviceCount(), std::size_t{1});
    }

    void refusedOpenLeavesThePlayerClosed() {
        auto player = NewPlayer();
        m_devices->FailNextOpen(mci::kErrFileNotFound);
        QCOMPARE(player->Open("nowhere.mp3"), 0);
        QVERIFY(!player->IsOpen());
        QCOMPARE(player->DeviceId(), 0u);
        QCOMPARE(player->FilePath(), std::string("nowhere.mp3"));
        QCOMPARE(player->LastError(), std::string(quvo::MciErrorText(mci::kErrFileNotFound)));
        m_devices->ClearSent();
        QCOMPARE(player->Play(-1), 0);
        QVERIFY(m_devices->Sent().empty());
    }

    void openOnAnOpenPlayerStopsWithoutClosing() {
        auto player = OpenPlayer();
        const quvo::MciDeviceId first = player->DeviceId();
        QCOMPARE(player->Open("bihua/4.mp3"), 0);
        QCOMPARE(m_devices->SentStrings(), Strings{"stop QuvoMedia1"});
        QCOMPARE(m_devices->Sent().back().message, mci::kOpen);
        QCOMPARE(m_devices->Sent().back().result, mci::kErrDuplicateAlias);
        QCOMPARE(player->LastError(), std::string(quvo::MciErrorText(mci::kErrDuplicateAlias)));
        QVERIFY(!player->IsOpen());
        QCOMPARE(player->DeviceId(), first);
        QCOMPARE(m_devices->OpenDeviceCount(), std::size_t{1});
    }

    void aSecondPlayerUnderTheSameNumberIsRefused() {
        auto first = OpenPlayer();
        auto second = NewPlayer(1);
        QCOMPARE(second->Open("bihua/5.mp3"), 0);
        QVERIFY(!second->IsOpen());
        QVERIFY(first->IsOpen());
    }

    void playFromTheCurrentPositionOrFromAPosition() {
        auto player = OpenPlayer();
        QCOMPARE(player->Play(-1), 1);
        QCOMPARE(player->Play(500), 1);
        QCOMPARE(m_devices->SentStrings(),
                 (Strings{"play QuvoMedia1", "play QuvoMedia1 from 500"}));
        const auto* sound = m_devices->Sound(player->DeviceId());
        QVERIFY(sound->IsPlaying());
        QCOMPARE(sound->LastFrom().value_or(0), 500u);
    }

    void stopThenClose() {
        auto player = OpenPlayer();
        player->Play(-1);
        QCOMPARE(player->Stop(), 1);
        QVERIFY(!m_devices->Sound(player->DeviceId())->IsPlaying());
        QCOMPARE(player->Close(), 1);
        QCOMPARE(m_devices->SentStrings(),
                 (Strings{"play QuvoMedia1", "stop QuvoMedia1", "close QuvoMedia1"}));
        QVERIFY(!player->IsOpen());
        QCOMPARE(player->DeviceId(), 0u);
        QCOMPARE(m_devices->OpenDeviceCount(), std::size_t{0});
    }

    // A command string that succeeds leaves the text of the failure before it.
    void failedCommandStringKeepsItsErrorText() {
        auto player = OpenPlayer();
        m_devices->FailNextString(mci::kErrHardware);
        QCOMPARE(player->Play(-1), 0);
        const std::string hardware = quvo::MciErrorText(mci::kErrHardware);
        QCOMPARE(player->LastError(), hardware);
        QCOMPARE(player->Stop(), 1);
        QCOMPARE(player->LastError(), hardware);
    }

    void stopOfADeviceClosedBehindThePlayerFails() {
        auto player = OpenPlayer();
        QCOMPARE(m_devices->SendString("close quvomedia1"), 0u);
        QCOMPARE(player->Stop(), 0);
        QCOMPARE(player->LastError(), std::string(quvo::MciErrorText(mci::kErrInvalidDeviceName)));
    }

    void failedCloseLeavesThePlayerOpen() {
        auto player = OpenPlayer();
        const quvo::MciDeviceId id = player->DeviceId();
        m_devices->FailNextString(mci::kErrHardware);
        QCOMPARE(player->Close(), 0);
        QVERIFY(player->IsOpen());
        QCOMPARE(player->DeviceId(), id);
        QCOMPARE(player->Close(), 1);
        QVERIFY(!player->IsOpen());
    }

    void playNotifySendsThePlayStructure() {
        auto player = OpenPlayer();
        MciNotifySink other;
        QCOMPARE(player->PlayNotify(&other), 1);
        QCOMPARE(m_devices->Sent().size(), std::size_t{1});
        const auto& sent = m_devices->Sent().front();
        QCOMPARE(sent.message, mci::kPlay);
        QCOMPARE(sent.flags, mci::kNotify);
        QCOMPARE(sent.deviceId, player->DeviceId());
        QCOMPARE(sent.play.callback, &other);
        QCOMPARE(player->NotifyWindow(), &other);
        QCOMPARE(player->LastError(), std::string("No Error"));
        QVERIFY(m_devices->Sound(player->DeviceId())->IsPlaying());
        QVERIFY(!m_devices->Sound(player->DeviceId())->LastFrom());
    }

    void playNotifyOnAClosedPlayerIsRefusedButReturnsOne() {
        auto player = NewPlayer();
        QCOMPARE(player->PlayNotify(m_window.get()), 1);
        QCOMPARE(m_devices->Sent().size(), std::size_t{1});
        QCOMPARE(m_devices->Sent().front().deviceId, 0u);
        QCOMPARE(player->LastError(), std::string(quvo::MciErrorText(mci::kErrInvalidDeviceId)));
    }

    // The start sequence: the plain play after PlayNotify leaves the request standing.
    void endOfPlayReachesTheWindow() {
        auto player = OpenPlayer();
        player->PlayNotify(m_window.get());
        player->Play(-1);
        QVERIFY(m_devices->FinishPlaying(player->DeviceId()));
        QVERIFY(m_window->notices.empty());  // posted, not sent
        DeliverPosted();
        QCOMPARE(m_window->notices.size(), std::size_t{1});
        QCOMPARE(m_window->notices[0].code, mci::kNotifySuccessful);
        QCOMPARE(m_window->notices[0].deviceId, player->DeviceId());
        QVERIFY(player->IsOpen());  // the device stays open after its end
    }

    void endWithoutARequestPostsNothing() {
        auto player = OpenPlayer();
        player->Play(-1);
        QVERIFY(m_devices->FinishPlaying(player->DeviceId()));
        DeliverPosted();
        QVERIFY(m_window->notices.empty());
    }

    void stopAndCloseAbortTheRequest() {
        auto player = OpenPlayer();
        player->PlayNotify(m_window.get());
        player->Stop();
        QVERIFY(!m_devices->FinishPlaying(player->DeviceId()));
        player->PlayNotify(m_window.get());
        player->Close();
        DeliverPosted();
        QCOMPARE(m_window->notices.size(), std::size_t{2});
        QCOMPARE(m_window->notices[0].code, mci::kNotifyAborted);
        QCOMPARE(m_window->notices[1].code, mci::kNotifyAborted);
    }

    void aLaterRequestSupersedesTheFirst() {
        auto player = OpenPlayer();
        MciNotifySink later;
        player->PlayNotify(m_window.get());
        player->PlayNotify(&later);
        m_devices->FinishPlaying(player->DeviceId());
        DeliverPosted();
        QCOMPARE(m_window->notices.size(), std::size_t{1});
        QCOMPARE(m_window->notices[0].code, mci::kNotifySuperseded);
        QCOMPARE(later.notices.size(), std::size_t{1});
        QCOMPARE(later.notices[0].code, mci::kNotifySuccessful);
    }

    void failedPlaybackReportsFailure() {
        auto player = OpenPlayer();
        player->PlayNotify(m_window.get());
        QVERIFY(m_devices->FailPlaying(player->DeviceId()));
        DeliverPosted();
        QCOMPARE(m_window->notices.size(), std::size_t{1});
        QCOMPARE(m_window->notices[0].code, mci::kNotifyFailure);
        QCOMPARE(m_window->notices[0].deviceId, player->DeviceId());
    }

    void aWindowDestroyedBeforeTheEndGetsNothing() {
        auto player = OpenPlayer();
        auto gone = std::make_unique<MciNotifySink>();
        player->PlayNotify(gone.get());
        gone.reset();
        QVERIFY(m_devices->FinishPlaying(player->DeviceId()));
        DeliverPosted();
        QVERIFY(m_window->notices.empty());
    }

    void aReopenedPlayerGetsANewDeviceId() {
        auto player = OpenPlayer();
        const quvo::MciDeviceId first = player->DeviceId();
        player->Stop();
        player->Close();
        player->Init(1, m_window.get());
        QCOMPARE(player->Open("bihua/3.mp3"), 1);
        QVERIFY(player->DeviceId() != 0);
        QVERIFY(player->DeviceId() != first);
    }

    void destructionStopsAndCloses() {
        OpenPlayer().reset();
        QCOMPARE(m_devices->SentStrings(), (Strings{"stop QuvoMedia1", "close QuvoMedia1"}));
        QCOMPARE(m_devices->OpenDeviceCount(), std::size_t{0});
    }

    void destructionOfAClosedPlayerSendsNothing() {
        NewPlayer().reset();
        QVERIFY(m_devices->Sent().empty());
    }

    void withoutDevicesThePlayerUsesTheDefault() {
        quvo::MediaDevices::SetDefault(m_devices.get());
        {
            CMediaPlayer player;
            player.Init(2, m_window.get());
            QCOMPARE(player.Open("bihua/1.mp3"), 1);
        }
        quvo::MediaDevices::SetDefault(nullptr);
        QCOMPARE(m_devices->SentStrings(), (Strings{"stop QuvoMedia2", "close QuvoMedia2"}));
    }

    void commandsAreCutAt255Characters() {
        const std::string alias(300, 'a');
        const std::string command =
            CMediaPlayer::FormatCommand("play %s from %d", alias.c_str(), 9);
        QCOMPARE(command.size(), std::size_t{255});
        QCOMPARE(command, "play " + std::string(250, 'a'));
        QCOMPARE(CMediaPlayer::FormatCommand("play %s from %d", "QuvoMedia4", -3),
                 std::string("play QuvoMedia4 from -3"));
    }
};

QTEST_GUILESS_MAIN(TestMediaPlayer)
#include "test_mediaplayer.moc"
