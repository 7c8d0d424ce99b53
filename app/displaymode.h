#pragma once

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace quvo {

// A mode of the screen: its size in pixels and refresh rate (Hz, 0 when not known), with the
// display system's own handle of it.
struct DisplayMode {
    int width = 0;
    int height = 0;
    int rate = 0;
    long handle = -1;
    bool operator==(const DisplayMode&) const = default;
};

// The screen's modes, as full screen changes them: read the current one, switch to a size,
// put a read mode back. Every call may fail (no such mode, no way to switch); the caller
// then carries on with the screen as it is.
class DisplayModes {
public:
    virtual ~DisplayModes() = default;
    virtual bool Current(DisplayMode& mode) = 0;
    // Switches to a mode of width x height, at the current rate where the screen offers it.
    virtual bool Change(int width, int height) = 0;
    virtual bool Restore(const DisplayMode& mode) = 0;

    // The layer the program uses: the one set by SetDefault, else the display system's own.
    static DisplayModes& Default();
    static void SetDefault(DisplayModes* modes);
};

// XRandR on the X display `displayName` (empty: $DISPLAY). Where there is no X display or no
// RandR, every call fails and nothing changes.
std::unique_ptr<DisplayModes> MakeXRandrModes(const std::string& displayName = std::string());

// A screen of modes given by a test: it switches among them and records what was asked.
class ScriptedDisplayModes : public DisplayModes {
public:
    ScriptedDisplayModes(DisplayMode current, std::initializer_list<DisplayMode> offered);
    bool Current(DisplayMode& mode) override;
    bool Change(int width, int height) override;
    bool Restore(const DisplayMode& mode) override;

    const DisplayMode& Shown() const { return m_current; }
    int Changes() const { return m_changes; }
    int Restores() const { return m_restores; }

private:
    DisplayMode m_current;
    std::vector<DisplayMode> m_offered;
    int m_changes = 0;
    int m_restores = 0;
};

}  // namespace quvo
