#include "app/Settings.h"

#include <algorithm>

#include "app/WindowTexts.h"
#include "base/Messages.h"
#include "base/Text.h"
#include "platform/FileSystem.h"
#include "platform/ProfileFile.h"

namespace kobalto {

using namespace platform;

WindowSettings LoadWindowSettings(const std::string& file, int width, int height, const ScreenArea& startArea,
                                  const std::function<ScreenArea(int x, int y)>& areaAt)
{
    WindowSettings s;
    WindowRect& r = s.rect;
    const int defaultTop = startArea.top + (startArea.bottom - startArea.top - height) / 2;
    const int defaultLeft = startArea.left + (startArea.right - startArea.left - width) / 2;
    r.top = ReadProfileInt(file, "MAIN", "Top", defaultTop);
    r.left = ReadProfileInt(file, "MAIN", "Left", defaultLeft);
    // Window systems place windows in 16-bit coordinates: an edited size
    // beyond them is cut to the largest they can show.
    r.width = std::clamp(ReadProfileInt(file, "MAIN", "Width", width), kMinimumWidth, kMaximumExtent);
    r.height = std::clamp(ReadProfileInt(file, "MAIN", "Height", height), kMinimumHeight, kMaximumExtent);

    // Into the free area of the screen the window lands on: first its
    // top-left corner, then its right and bottom edges. A window larger than
    // the area keeps its size and sticks out at the left or top.
    const ScreenArea area = areaAt(r.left, r.top);
    r.left = std::max(r.left, area.left);
    r.top = std::max(r.top, area.top);
    if (r.left > area.right - r.width)
        r.left = area.right - r.width;
    if (r.top > area.bottom - r.height)
        r.top = area.bottom - r.height;

    s.maximised = ReadProfileBool(file, "MAIN", "Maxim", false);
    s.percentMode = ReadProfileBool(file, "OPT", "Mode", false);
    s.zoom = ReadProfileString(file, "OPT", "Zoom", "80");
    return s;
}

int LoadMessageTime(const std::string& file)
{
    return ReadProfileInt(file, "OPT", "Time", kDefaultMessageTime);
}

namespace {

void Check(bool written, const std::string& file)
{
    if (!written)
        throw ESettingsWriteError(msg::Format(texts::kCannotWriteSettings, {file}));
}

}  // namespace

void SaveWindowSettings(const std::string& file, const WindowSettings& s)
{
    const std::string folder = FolderPart(file);
    if (!folder.empty())
        EnsureFolder(folder);
    Check(WriteProfileInt(file, "MAIN", "Top", s.rect.top), file);
    Check(WriteProfileInt(file, "MAIN", "Left", s.rect.left), file);
    Check(WriteProfileInt(file, "MAIN", "Width", s.rect.width), file);
    Check(WriteProfileInt(file, "MAIN", "Height", s.rect.height), file);
    Check(WriteProfileInt(file, "OPT", "Time", kStoredMessageTime), file);
    Check(WriteProfileString(file, "OPT", "Zoom", s.zoom), file);
    Check(WriteProfileBool(file, "OPT", "Mode", s.percentMode), file);
    Check(WriteProfileBool(file, "MAIN", "Maxim", s.maximised), file);
}

}  // namespace kobalto
