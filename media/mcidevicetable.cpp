#include "media/mcidevicetable.h"

#include <QCoreApplication>

#include <algorithm>

#include "media/mcinotifyevent.h"
#include "media/mcistringcommand.h"

namespace quvo {

struct MciDeviceTable::Device {
    MciDeviceId id = 0;
    std::string name;
    std::unique_ptr<MediaSound> sound;
    bool notifyPending = false;
    QPointer<QObject> notifyWindow;  // a window destroyed meanwhile gets nothing
};

namespace {

constexpr std::uint32_t kOpenFlags =
    mci::kOpenType | mci::kOpenElement | mci::kOpenAlias | mci::kWait;
constexpr std::uint32_t kPlayFlags = mci::kNotify | mci::kFrom;

const std::string& OpenName(std::uint32_t flags, const MciOpenParms& parms) {
    return (flags & mci::kOpenAlias) != 0 ? parms.alias : parms.elementName;
}

}  // namespace

MciDeviceTable::MciDeviceTable() = default;

// Whatever a sound reports while it is being destroyed no longer reaches the table.
MciDeviceTable::~MciDeviceTable() {
    for (const auto& device : m_devices) {
        device->sound->SetEndHandler({});
    }
}

MciError MciDeviceTable::SendString(const char* command) {
    MciStringCommand parsed;
    if (const MciError error = ParseMciStringCommand(command == nullptr ? "" : command, parsed)) {
        return error;
    }
    Device* device = FindByName(parsed.device);
    if (device == nullptr) {
        return mci::kErrInvalidDeviceName;
    }
    switch (parsed.verb) {
        case MciStringCommand::Verb::kPlay:
            return device->sound->Play(parsed.from);
        case MciStringCommand::Verb::kStop:
            return Stop(*device);
        case MciStringCommand::Verb::kClose:
            return Close(*device);
    }
    return mci::kErrUnrecognizedCommand;
}

MciError MciDeviceTable::SendCommand(MciDeviceId, std::uint32_t message, std::uint32_t flags,
                                     MciOpenParms& parms) {
    if (message != mci::kOpen) {
        return mci::kErrUnrecognizedCommand;
    }
    if (const MciError error = CheckOpen(flags, parms)) {
        return error;
    }
    MciError error = 0;
    std::unique_ptr<MediaSound> sound = Load(parms.elementName, error);
    if (!sound) {
        return error != 0 ? error : mci::kErrInvalidFile;
    }
    parms.deviceId = AddDevice(OpenName(flags, parms), std::move(sound));
    return 0;
}

MciError MciDeviceTable::SendCommand(MciDeviceId id, std::uint32_t message, std::uint32_t flags,
                                     MciPlayParms& parms) {
    if (message != mci::kPlay) {
        return mci::kErrUnrecognizedCommand;
    }
    if ((flags & ~kPlayFlags) != 0) {
        return mci::kErrFlagsNotCompatible;
    }
    Device* device = FindById(id);
    if (device == nullptr) {
        return mci::kErrInvalidDeviceId;
    }
    const auto from = (flags & mci::kFrom) != 0 ? std::optional(parms.from) : std::nullopt;
    if (const MciError error = device->sound->Play(from)) {
        return error;
    }
    if ((flags & mci::kNotify) != 0) {
        RequestNotify(*device, parms.callback);
    }
    return 0;
}

MediaSound* MciDeviceTable::SoundOf(MciDeviceId id) const {
    Device* device = FindById(id);
    return device != nullptr ? device->sound.get() : nullptr;
}

MciDeviceTable::Device* MciDeviceTable::FindByName(const std::string& name) const {
    const auto it = std::find_if(m_devices.begin(), m_devices.end(),
                                 [&](const auto& d) { return SameMciName(d->name, name); });
    return it != m_devices.end() ? it->get() : nullptr;
}

MciDeviceTable::Device* MciDeviceTable::FindById(MciDeviceId id) const {
    const auto it = std::find_if(m_devices.begin(), m_devices.end(),
                                 [&](const auto& d) { return d->id == id; });
    return id != 0 && it != m_devices.end() ? it->get() : nullptr;
}

MciError MciDeviceTable::CheckOpen(std::uint32_t flags, const MciOpenParms& parms) const {
    if ((flags & ~kOpenFlags) != 0) {
        return mci::kErrFlagsNotCompatible;
    }
    if ((flags & mci::kOpenType) == 0 || !SameMciName(parms.deviceType, mci::kMpegVideo)) {
        return mci::kErrDeviceTypeRequired;
    }
    if ((flags & mci::kOpenElement) == 0 || parms.elementName.empty()) {
        return mci::kErrFilenameRequired;
    }
    const std::string& name = OpenName(flags, parms);
    if (name.empty()) {
        return mci::kErrMissingDeviceName;
    }
    if (FindByName(name) != nullptr) {
        return (flags & mci::kOpenAlias) != 0 ? mci::kErrDuplicateAlias : mci::kErrDeviceOpen;
    }
    return 0;
}

MciDeviceId MciDeviceTable::AddDevice(const std::string& name, std::unique_ptr<MediaSound> sound) {
    auto device = std::make_unique<Device>();
    device->id = NextFreeId();
    device->name = name;
    device->sound = std::move(sound);
    const MciDeviceId id = device->id;
    device->sound->SetEndHandler([this, id](std::uint32_t code) { OnSoundEnded(id, code); });
    m_devices.push_back(std::move(device));
    return id;
}

// Ids are not reused soon, so a notification from a closed device does not look like one
// from the device opened after it.
MciDeviceId MciDeviceTable::NextFreeId() {
    do {
        ++m_lastId;
    } while (m_lastId == 0 || FindById(m_lastId) != nullptr);
    return m_lastId;
}

MciError MciDeviceTable::Stop(Device& device) {
    const MciError error = device.sound->Stop();
    if (error == 0) {
        Notify(device, mci::kNotifyAborted);
    }
    return error;
}

MciError MciDeviceTable::Close(Device& device) {
    Notify(device, mci::kNotifyAborted);
    const auto it = std::find_if(m_devices.begin(), m_devices.end(),
                                 [&](const auto& d) { return d.get() == &device; });
    // Out of the table first, so the sound goes while the table is whole again.
    const std::unique_ptr<Device> closed = std::move(*it);
    m_devices.erase(it);
    closed->sound->SetEndHandler({});
    return 0;
}

void MciDeviceTable::RequestNotify(Device& device, QObject* window) {
    Notify(device, mci::kNotifySuperseded);
    device.notifyPending = true;
    device.notifyWindow = window;
}

// Answers the standing request, if there is one, with `code`.
void MciDeviceTable::Notify(Device& device, std::uint32_t code) {
    if (!device.notifyPending) {
        return;
    }
    device.notifyPending = false;
    if (QObject* window = device.notifyWindow.data()) {
        QCoreApplication::postEvent(window, new MciNotifyEvent(code, device.id));
    }
    device.notifyWindow = nullptr;
}

void MciDeviceTable::OnSoundEnded(MciDeviceId id, std::uint32_t code) {
    if (Device* device = FindById(id)) {
        Notify(*device, code);
    }
}

}  // namespace quvo
