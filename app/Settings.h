#pragma once
// The window's settings file: placement, mode, percentage and how long the
// introduction stays. Read when the window is shown, written when it closes.
#include <functional>
#include <string>

#include "base/Exceptions.h"

namespace kobalto {

// A window's outer position with its client size, in pixels.
struct WindowRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// A screen's area free of panels; right and bottom are exclusive.
struct ScreenArea {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

struct WindowSettings {
    WindowRect rect;  // the normal (restored) rectangle
    bool maximised = false;
    bool percentMode = false;
    std::string zoom = "80";
};

inline constexpr int kMinimumWidth = 475;
inline constexpr int kMinimumHeight = 396;
inline constexpr int kMaximumExtent = 32767;
inline constexpr int kDefaultMessageTime = 10000;
// Every later run shows the introduction this long.
inline constexpr int kStoredMessageTime = 2000;

// A write of the settings file failed; the text names the file.
class ESettingsWriteError : public Exception {
    using Exception::Exception;
};

// Reads the settings: the position defaults to width × height centred in
// startArea, the size to width × height, raised to the minimum; the result is
// pulled inside the area that areaAt gives for its top-left corner.
WindowSettings LoadWindowSettings(const std::string& file, int width, int height, const ScreenArea& startArea,
                                  const std::function<ScreenArea(int x, int y)>& areaAt);

// The introduction's display time in milliseconds.
int LoadMessageTime(const std::string& file);

// Writes every value, creating the file's folder when needed; raises
// ESettingsWriteError at the first value that cannot be written, leaving the
// later ones unwritten.
void SaveWindowSettings(const std::string& file, const WindowSettings& settings);

}  // namespace kobalto
