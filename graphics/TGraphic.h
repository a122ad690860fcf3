#pragma once
// The picture contract every codec fulfils: create empty; load from a file or
// a stream; save to a file or a stream; take a bitmap; draw into a bitmap;
// width and height.
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "base/TStream.h"

namespace kobalto {

class TRowGate;

class TBitmap;

class TGraphic {
public:
    virtual ~TGraphic() = default;

    virtual const char* ClassName() const = 0;
    virtual std::unique_ptr<TGraphic> Clone() const = 0;

    virtual int Width() const = 0;
    virtual int Height() const = 0;
    bool Empty() const { return Width() <= 0 || Height() <= 0; }

    virtual void LoadFromStream(TStream& stream) = 0;
    // Kinds that cannot be written raise EInvalidGraphicOperation.
    virtual void SaveToStream(TStream& stream) const;
    // Opens the file and reads it as a stream.
    void LoadFromFile(const std::string& path);
    // Written through a temporary file: complete, or not at all.
    void SaveToFile(const std::string& path) const;

    // Takes over the picture of a bitmap. Kinds that cannot raise
    // EInvalidGraphicOperation.
    virtual void AssignBitmap(const TBitmap& source);

    // Draws the picture 1:1 with its top-left corner at (x, y) of target.
    // Transparent parts leave the target's pixels as they were.
    virtual void Draw(TBitmap& target, int x, int y) const = 0;

    // The picture as the scaler's working bitmap: full size, upright, 24 bits
    // with transparent parts on white (a bitmap keeps its format and its own
    // pixels). The picture may hand its pixels over and be empty afterwards.
    // By default it draws itself onto a white bitmap; kinds with a cheaper
    // way override this.
    virtual std::unique_ptr<TBitmap> TakeWorkingBitmap();

    // The stretch target's width and height for a working bitmap of
    // width × height.
    using TStretchTarget = std::function<std::pair<int, int>(int width, int height)>;
    // The working bitmap already stretched by the plain nearest-neighbour
    // stretch: the very pixels of TakeWorkingBitmap followed by StretchBitmap
    // onto a fresh 24-bit bitmap of the size targetFor gives, for kinds that
    // can make them without the whole picture (a decoder that decodes only
    // the lines the stretch picks). Null when this picture cannot; it is
    // then unchanged, and the caller takes the working bitmap and stretches it.
    // With rows, a kind may publish the rows there as it fills them from the
    // top, for a reader on another thread; publishing the rest is the
    // caller's.
    virtual std::unique_ptr<TBitmap> TakeStretchedBitmap(const TStretchTarget& targetFor, TRowGate* rows = nullptr);
    // Said before loading by a caller that takes the picture right after
    // with TakeStretchedBitmap (or TakeWorkingBitmap, should that give
    // null): a kind that decodes its pixels on loading may then keep its
    // file and decode when taken, knowing the size it is wanted at. Errors
    // in the pixel data are then raised by the taking, not the loading.
    virtual void DeferDecoding() {}

    bool Transparent() const { return transparent_; }
    virtual void SetTransparent(bool on) { transparent_ = on; }

    // The holder never marks these transparent.
    virtual bool IsMetafile() const { return false; }
    virtual bool IsPlatformIcon() const { return false; }

protected:
    TGraphic() = default;
    TGraphic(const TGraphic&) = default;
    TGraphic& operator=(const TGraphic&) = default;

private:
    bool transparent_ = false;
};

}  // namespace kobalto
