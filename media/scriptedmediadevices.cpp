#include "media/scriptedmediadevices.h"

#include <utility>

namespace quvo {

MciError ScriptedMediaDevices::SendString(const char* command) {
    SentCommand sent;
    sent.text = command == nullptr ? "" : command;
    sent.result = std::exchange(m_stringFailure, 0);
    if (sent.result == 0) {
        sent.result = MciDeviceTable::SendString(command);
    }
    return Record(std::move(sent));
}

MciError ScriptedMediaDevices::SendCommand(MciDeviceId id, std::uint32_t message,
                                           std::uint32_t flags, MciOpenParms& parms) {
    SentCommand sent{message, {}, id, flags, {}, {}, std::exchange(m_openFailure, 0)};
    if (sent.result == 0) {
        sent.result = MciDeviceTable::SendCommand(id, message, flags, parms);
    }
    sent.open = parms;
    return Record(std::move(sent));
}

MciError ScriptedMediaDevices::SendCommand(MciDeviceId id, std::uint32_t message,
                                           std::uint32_t flags, MciPlayParms& parms) {
    SentCommand sent{message, {}, id, flags, {}, parms, 0};
    sent.result = MciDeviceTable::SendCommand(id, message, flags, parms);
    return Record(std::move(sent));
}

std::vector<std::string> ScriptedMediaDevices::SentStrings() const {
    std::vector<std::string> strings;
    for (const SentCommand& sent : m_sent) {
        if (sent.message == 0) {
            strings.push_back(sent.text);
        }
    }
    return strings;
}

bool ScriptedMediaDevices::FinishPlaying(MciDeviceId id) {
    auto* sound = static_cast<ScriptedSound*>(SoundOf(id));
    return sound != nullptr && sound->End(mci::kNotifySuccessful);
}

bool ScriptedMediaDevices::FailPlaying(MciDeviceId id) {
    auto* sound = static_cast<ScriptedSound*>(SoundOf(id));
    return sound != nullptr && sound->End(mci::kNotifyFailure);
}

const ScriptedSound* ScriptedMediaDevices::Sound(MciDeviceId id) const {
    return static_cast<const ScriptedSound*>(SoundOf(id));
}

std::unique_ptr<MediaSound> ScriptedMediaDevices::Load(const std::string&, MciError&) {
    return std::make_unique<ScriptedSound>();
}

MciError ScriptedMediaDevices::Record(SentCommand command) {
    m_sent.push_back(std::move(command));
    return m_sent.back().result;
}

}  // namespace quvo
