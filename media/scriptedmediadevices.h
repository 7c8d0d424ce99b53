#pragma once

#include <memory>
#include <string>
#include <vector>

#include "media/mcidevicetable.h"
#include "media/scriptedsound.h"

namespace quvo {

// Devices for tests, with the same rules as the real ones (aliases, ids, notifications) but
// sounds that play nothing. Every command sent is recorded with its result; a test can make
// the next open or the next command string fail, and says when a sound ends or fails, which
// posts the notification exactly as the real devices do.
class ScriptedMediaDevices : public MciDeviceTable {
public:
    struct SentCommand {
        std::uint32_t message = 0;  // 0 for a command string, else mci::kOpen or mci::kPlay
        std::string text;           // the command string
        MciDeviceId deviceId = 0;
        std::uint32_t flags = 0;
        MciOpenParms open;  // as sent with MCI_OPEN, with the id it got
        MciPlayParms play;  // as sent with MCI_PLAY
        MciError result = 0;
    };

    MciError SendString(const char* command) override;
    MciError SendCommand(MciDeviceId id, std::uint32_t message, std::uint32_t flags,
                         MciOpenParms& parms) override;
    MciError SendCommand(MciDeviceId id, std::uint32_t message, std::uint32_t flags,
                         MciPlayParms& parms) override;

    const std::vector<SentCommand>& Sent() const { return m_sent; }
    std::vector<std::string> SentStrings() const;  // the command strings only, in order
    void ClearSent() { m_sent.clear(); }

    // The next MCI_OPEN, or the next command string, returns `error` and does nothing.
    void FailNextOpen(MciError error) { m_openFailure = error; }
    void FailNextString(MciError error) { m_stringFailure = error; }

    // The playing sound of device `id` reaches its end, or fails. False when no such device
    // is open or its sound is not playing.
    bool FinishPlaying(MciDeviceId id);
    bool FailPlaying(MciDeviceId id);

    // The sound of an open device, or null.
    const ScriptedSound* Sound(MciDeviceId id) const;

protected:
    std::unique_ptr<MediaSound> Load(const std::string& element, MciError& error) override;

private:
    MciError Record(SentCommand command);

    std::vector<SentCommand> m_sent;
    MciError m_openFailure = 0;
    MciError m_stringFailure = 0;
};

}  // namespace quvo
