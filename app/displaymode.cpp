#include "app/displaymode.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

namespace quvo {
namespace {

DisplayModes*& Chosen() {
    static DisplayModes* chosen = nullptr;
    return chosen;
}

// The screen sizes of RandR's first protocol, which every X server with RandR offers
// (including Xvfb): one configuration per size, each with its rates.
class XRandrModes : public DisplayModes {
public:
    explicit XRandrModes(const std::string& displayName)
        : m_display(XOpenDisplay(displayName.empty() ? nullptr : displayName.c_str())) {
        int event = 0, error = 0;
        if (m_display != nullptr && !XRRQueryExtension(m_display, &event, &error)) {
            XCloseDisplay(m_display);
            m_display = nullptr;
        }
    }
    ~XRandrModes() override {
        if (m_display != nullptr) {
            XCloseDisplay(m_display);
        }
    }

    bool Current(DisplayMode& mode) override {
        return WithConfig([&](XRRScreenConfiguration* config) {
            Rotation rotation = 0;
            const SizeID id = XRRConfigCurrentConfiguration(config, &rotation);
            int count = 0;
            const XRRScreenSize* sizes = XRRConfigSizes(config, &count);
            if (id >= count) {
                return false;
            }
            mode = {sizes[id].width, sizes[id].height, XRRConfigCurrentRate(config), id};
            return true;
        });
    }

    bool Change(int width, int height) override {
        DisplayMode current;
        if (!Current(current)) {
            return false;
        }
        return WithConfig([&](XRRScreenConfiguration* config) {
            int count = 0;
            const XRRScreenSize* sizes = XRRConfigSizes(config, &count);
            for (int id = 0; id < count; ++id) {
                if (sizes[id].width == width && sizes[id].height == height) {
                    return Apply(config, {width, height, current.rate, id});
                }
            }
            return false;
        });
    }

    bool Restore(const DisplayMode& mode) override {
        return mode.handle >= 0 && WithConfig([&](XRRScreenConfiguration* config) { return Apply(config, mode); });
    }

private:
    template <typename Use>
    bool WithConfig(Use use) {
        if (m_display == nullptr) {
            return false;
        }
        XRRScreenConfiguration* config = XRRGetScreenInfo(m_display, DefaultRootWindow(m_display));
        if (config == nullptr) {
            return false;
        }
        const bool done = use(config);
        XRRFreeScreenConfigInfo(config);
        return done;
    }

    // The mode's size at its rate when that size offers the rate, else at the size's own.
    bool Apply(XRRScreenConfiguration* config, const DisplayMode& mode) {
        Rotation rotation = 0;
        XRRConfigCurrentConfiguration(config, &rotation);
        int rates = 0;
        const short* offered = XRRConfigRates(config, static_cast<int>(mode.handle), &rates);
        short rate = 0;
        for (int i = 0; i < rates; ++i) {
            if (offered[i] == mode.rate) {
                rate = offered[i];
            }
        }
        const Window root = DefaultRootWindow(m_display);
        const Status status = rate != 0
            ? XRRSetScreenConfigAndRate(m_display, config, root, static_cast<SizeID>(mode.handle), rotation, rate, CurrentTime)
            : XRRSetScreenConfig(m_display, config, root, static_cast<SizeID>(mode.handle), rotation, CurrentTime);
        XSync(m_display, False);
        return status == RRSetConfigSuccess;
    }

    Display* m_display;
};

}  // namespace

DisplayModes& DisplayModes::Default() {
    if (Chosen() == nullptr) {
        static std::unique_ptr<DisplayModes> own = MakeXRandrModes();
        return *own;
    }
    return *Chosen();
}

void DisplayModes::SetDefault(DisplayModes* modes) { Chosen() = modes; }

std::unique_ptr<DisplayModes> MakeXRandrModes(const std::string& displayName) {
    return std::make_unique<XRandrModes>(displayName);
}

ScriptedDisplayModes::ScriptedDisplayModes(DisplayMode current, std::initializer_list<DisplayMode> offered)
    : m_current(current), m_offered(offered) {}

bool ScriptedDisplayModes::Current(DisplayMode& mode) {
    mode = m_current;
    return true;
}

bool ScriptedDisplayModes::Change(int width, int height) {
    ++m_changes;
    for (const DisplayMode& mode : m_offered) {
        if (mode.width == width && mode.height == height) {
            m_current = mode;
            return true;
        }
    }
    return false;
}

bool ScriptedDisplayModes::Restore(const DisplayMode& mode) {
    ++m_restores;
    m_current = mode;
    return true;
}

}  // namespace quvo
