#include "media/mediadevices.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstring>
#include <memory>

#include "media/mcierrortext.h"
#include "media/qtmediadevices.h"

namespace quvo {

namespace {

MediaDevices* g_installed = nullptr;
std::unique_ptr<MediaDevices> g_qtDevices;

// The Qt devices hold media players, which must go before the application object does.
void ReleaseQtDevices() {
    g_qtDevices.reset();
}

MediaDevices& QtDevices() {
    if (!g_qtDevices) {
        g_qtDevices = std::make_unique<QtMediaDevices>();
        qAddPostRoutine(ReleaseQtDevices);
    }
    return *g_qtDevices;
}

}  // namespace

MediaDevices::~MediaDevices() = default;

bool MediaDevices::GetErrorString(MciError code, char* text, std::uint32_t length) const {
    if (text == nullptr || length == 0) {
        return false;
    }
    const char* known = MciErrorText(code);
    const std::size_t size =
        known == nullptr ? 0 : std::min<std::size_t>(std::strlen(known), length - 1);
    std::memcpy(text, known == nullptr ? "" : known, size);
    text[size] = '\0';
    return known != nullptr;
}

MediaDevices& MediaDevices::Default() {
    return g_installed != nullptr ? *g_installed : QtDevices();
}

void MediaDevices::SetDefault(MediaDevices* devices) {
    g_installed = devices;
}

}  // namespace quvo
