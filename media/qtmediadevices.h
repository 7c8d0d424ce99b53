#pragma once

#include <QString>

#include <memory>
#include <string>

#include "media/mcidevicetable.h"
#include "media/qtmediasound.h"

namespace quvo {

// The devices the program plays through: Qt Multimedia, one QtMediaSound per open device, all
// playing on one media thread of the devices' own (see QtMediaSound).
// Qt is asked for its GStreamer back end (unless QT_MEDIA_BACKEND already names one): its
// FFmpeg back end does not reach the end of a sound on a machine without an audio device.
// The choice holds only if these devices are made before the process's first media object.
class QtMediaDevices : public MciDeviceTable {
public:
    QtMediaDevices();
    ~QtMediaDevices() override;

    // The file an element names: GBK bytes as the program keeps its paths, or UTF-8; a
    // relative one from the current folder. Empty when there is no such file.
    static QString ResolveElement(const std::string& element);

    // Returns once the media thread has done all it was asked before: every sound closed by
    // then is gone, with its player and whatever that held open.
    void WaitUntilDone() { m_thread->WaitUntilDone(); }

protected:
    std::unique_ptr<MediaSound> Load(const std::string& element, MciError& error) override;

private:
    // Shared with every open sound: the thread ends once the devices and all sounds are gone.
    std::shared_ptr<MediaThread> m_thread;
};

}  // namespace quvo
