#pragma once
// Loading an accepted file into a holder as a picture the scaler can use.
#include <functional>
#include <string>

#include "graphics/TColor.h"
#include "imaging/PictureHolder.h"

namespace kobalto {

// Lets the user interface handle its pending events; may be empty.
using MessagePump = std::function<void()>;

// Loads path into holder: icons through the icon readers, everything else
// through the picture registry; with convert, non-icon pictures become
// working bitmaps as TGraphic::TakeWorkingBitmap makes them (full size,
// upright, 24 bits on white; bitmaps keep their format until they are
// scaled). Without convert the picture stays as its reader left it. False,
// with the holder unchanged, when the file is missing or its extension is not
// accepted. A reader's failure clears the holder and passes on, so a damaged
// file is never mistaken for the picture loaded before it. Ends by letting
// pending events through. forStretch tells the picture that it is taken
// right after (TGraphic::DeferDecoding).
bool LoadImageFile(PictureHolder& holder, const std::string& path, bool convert, const MessagePump& pump = {},
                   bool forStretch = false);

// Loads an icon file; its failures pass to the caller.
void LoadIconFile(PictureHolder& holder, const std::string& path);

// Turns the held picture into a working bitmap as TGraphic::TakeWorkingBitmap
// makes it; raises what the picture raises.
void TakeWorkingBitmap(PictureHolder& holder);

// Turns the held picture into a 24-bit working bitmap; a bitmap of any kind
// is left as it is. False when a step raised.
bool ConvertPictureTo24Bit(PictureHolder& holder);

// Makes the held picture a 24-bit bitmap of the nominal size (at least 2 × 2)
// in one colour. False when a step raised.
bool FillBlankPicture(PictureHolder& holder, TColor color);

}  // namespace kobalto
