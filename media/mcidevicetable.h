#pragma once

#include <QPointer>

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "media/mediadevices.h"
#include "media/mediasound.h"

namespace quvo {

// The rules of MCI over sounds that a back end supplies: a table of open devices, each with
// a nonzero id of its own and a name (its alias) that no other open device has, the three
// string commands, MCI_OPEN and MCI_PLAY, and the bookkeeping of the end-of-play request.
//
// A device keeps one request for notification at a time. Playback reaching its end answers
// it with kNotifySuccessful, a failure with kNotifyFailure, "stop" and "close" with
// kNotifyAborted, a later MCI_PLAY with MCI_NOTIFY with kNotifySuperseded. A play without
// MCI_NOTIFY leaves the request standing: the sound still ends where it would have.
class MciDeviceTable : public MediaDevices {
public:
    MciDeviceTable();
    ~MciDeviceTable() override;
    MciDeviceTable(const MciDeviceTable&) = delete;
    MciDeviceTable& operator=(const MciDeviceTable&) = delete;

    MciError SendString(const char* command) override;
    MciError SendCommand(MciDeviceId id, std::uint32_t message, std::uint32_t flags,
                         MciOpenParms& parms) override;
    MciError SendCommand(MciDeviceId id, std::uint32_t message, std::uint32_t flags,
                         MciPlayParms& parms) override;

    std::size_t OpenDeviceCount() const { return m_devices.size(); }

protected:
    // Opens the file named by `element` for playing. On failure returns null and sets
    // `error`.
    virtual std::unique_ptr<MediaSound> Load(const std::string& element, MciError& error) = 0;

    // The sound of an open device, or null.
    MediaSound* SoundOf(MciDeviceId id) const;

private:
    struct Device;

    Device* FindByName(const std::string& name) const;
    Device* FindById(MciDeviceId id) const;
    MciError CheckOpen(std::uint32_t flags, const MciOpenParms& parms) const;
    MciDeviceId AddDevice(const std::string& name, std::unique_ptr<MediaSound> sound);
    MciDeviceId NextFreeId();
    MciError Stop(Device& device);
    MciError Close(Device& device);
    void RequestNotify(Device& device, QObject* window);
    void Notify(Device& device, std::uint32_t code);
    void OnSoundEnded(MciDeviceId id, std::uint32_t code);

    std::vector<std::unique_ptr<Device>> m_devices;
    MciDeviceId m_lastId = 0;
};

}  // namespace quvo
