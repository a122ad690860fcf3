#include "graphics/metafile/MetafileLayout.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "base/Exceptions.h"
#include "base/Limits.h"
#include "base/TByteReader.h"
#include "graphics/GraphicsMessages.h"
#include "graphics/metafile/MetafileRecords.h"

namespace kobalto {

namespace {

using namespace mf;

void Truncated(std::string_view)
{
    ThrowInvalidMetafile();
}

// Pixels as int, or a failure beyond the caps.
void SetPictureSize(TMetafileLayout& out, double w, double h)
{
    if (!std::isfinite(w) || !std::isfinite(h) || w < 0 || h < 0 || w > kMaxDimension || h > kMaxDimension)
        ThrowInvalidMetafile();
    const int64_t iw = std::llround(w), ih = std::llround(h);
    if (iw * ih > kMaxPixels)
        ThrowInvalidMetafile();
    out.width = iw > 0 && ih > 0 ? static_cast<int>(iw) : 0;
    out.height = iw > 0 && ih > 0 ? static_cast<int>(ih) : 0;
}

TMetafileLayout ParseEmf(TByteReader& r, const platform::TDisplayMetrics& display)
{
    TMetafileLayout out;
    out.kind = TMetafileKind::Emf;
    r.Seek(4);
    const uint32_t headerSize = r.U32LE();
    if (headerSize < 88 || headerSize % 4 != 0 || headerSize > r.Size())
        ThrowInvalidMetafile();
    const int32_t bounds[4] = {r.I32LE(), r.I32LE(), r.I32LE(), r.I32LE()};
    const int32_t frame[4] = {r.I32LE(), r.I32LE(), r.I32LE(), r.I32LE()};
    if (r.U32LE() != kEmfSignature)
        ThrowInvalidMetafile();
    r.Skip(4 + 4 + 4);  // version, bytes, records: the walk below decides
    out.handles = r.U16LE();
    r.Skip(2 + 4 + 4 + 4);
    double devW = r.I32LE(), devH = r.I32LE();
    double mmW = r.I32LE(), mmH = r.I32LE();
    if (headerSize >= 108) {
        r.Seek(100);
        // The finer size, where it agrees with the millimetres: some
        // writers leave other numbers there.
        const double umW = r.I32LE(), umH = r.I32LE();
        if (umW > 0 && umH > 0 && std::fabs(umW / 1000 - mmW) <= 1 && std::fabs(umH / 1000 - mmH) <= 1)
            mmW = umW / 1000, mmH = umH / 1000;
    }
    if (devW <= 0 || devH <= 0 || mmW <= 0 || mmH <= 0) {
        // No usable reference device: measure against the display.
        devW = static_cast<double>(display.widthPixels), devH = static_cast<double>(display.heightPixels);
        mmW = display.widthHundredthsMm / 100.0, mmH = display.heightHundredthsMm / 100.0;
    }
    out.pxPerMmX = devW / mmW;
    out.pxPerMmY = devH / mmH;

    // The frame, in 0.01 mm, gives the size; without one, the bounds do.
    double fw = static_cast<double>(frame[2]) - frame[0], fh = static_cast<double>(frame[3]) - frame[1];
    if (fw > 0 && fh > 0) {
        out.frameLeft = frame[0] / 100.0 * out.pxPerMmX;
        out.frameTop = frame[1] / 100.0 * out.pxPerMmY;
        out.frameWidth = fw / 100.0 * out.pxPerMmX;
        out.frameHeight = fh / 100.0 * out.pxPerMmY;
        // Drawing that lies mostly outside the frame was placed by its
        // bounds: the frame keeps its size and moves onto the drawing.
        const double bl = bounds[0], bt = bounds[1], br = bounds[2] + 1.0, bb = bounds[3] + 1.0;
        const double ow = std::min(br, out.frameLeft + out.frameWidth) - std::max(bl, out.frameLeft);
        const double oh = std::min(bb, out.frameTop + out.frameHeight) - std::max(bt, out.frameTop);
        if (br > bl && bb > bt && (ow <= 0 || oh <= 0 || ow * oh < (br - bl) * (bb - bt) / 2))
            out.frameLeft = bl, out.frameTop = bt;
    } else {
        const double bw = static_cast<double>(bounds[2]) - bounds[0] + 1;
        const double bh = static_cast<double>(bounds[3]) - bounds[1] + 1;
        if (bw <= 0 || bh <= 0) {
            fw = fh = 0;
        } else {
            out.frameLeft = bounds[0], out.frameTop = bounds[1], out.frameWidth = bw, out.frameHeight = bh;
            fw = bw / out.pxPerMmX * 100, fh = bh / out.pxPerMmY * 100;
        }
    }
    SetPictureSize(out, fw * display.widthPixels / display.widthHundredthsMm,
                   fh * display.heightPixels / display.heightHundredthsMm);

    out.recordsBegin = headerSize;
    size_t pos = headerSize;
    while (r.Size() - pos >= 8) {
        r.Seek(pos);
        const uint32_t type = r.U32LE();
        const uint32_t size = r.U32LE();
        if (size < 8 || size % 4 != 0 || size > r.Size() - pos)
            ThrowInvalidMetafile();
        pos += size;
        if (type == EMR_EOF)
            break;
    }
    out.recordsEnd = pos;
    return out;
}

TMetafileLayout ParseWmf(TByteReader& r, const platform::TDisplayMetrics& display)
{
    TMetafileLayout out;
    out.kind = TMetafileKind::Wmf;
    bool placeable = false;
    int16_t box[4] = {};
    uint16_t inch = 0;
    if (r.U32LE() == kPlaceableKey) {
        placeable = true;
        r.Skip(2);
        for (int16_t& v : box)
            v = static_cast<int16_t>(r.U16LE());
        inch = r.U16LE();
        r.Skip(4 + 2);  // reserved, checksum (not enforced: writers get it wrong)
        if (inch == 0)
            ThrowInvalidMetafile();
    } else {
        r.Seek(0);
    }
    const size_t start = r.Position();
    const uint16_t type = r.U16LE();
    const uint16_t headerWords = r.U16LE();
    if ((type != 1 && type != 2) || headerWords != 9)
        ThrowInvalidMetafile();
    r.Skip(2 + 4);  // version, size
    out.objects = r.U16LE();
    r.Skip(4 + 2);
    out.recordsBegin = start + 18;

    bool haveOrg = false, haveExt = false;
    double orgX = 0, orgY = 0, extX = 0, extY = 0;
    size_t pos = out.recordsBegin;
    while (r.Size() - pos >= 6) {
        r.Seek(pos);
        const uint64_t words = r.U32LE();
        const uint16_t function = r.U16LE();
        if (words < 3 || words * 2 > r.Size() - pos)
            ThrowInvalidMetafile();
        if (function == META_SETWINDOWORG && words >= 5 && !haveOrg) {
            orgY = static_cast<int16_t>(r.U16LE()), orgX = static_cast<int16_t>(r.U16LE());
            haveOrg = true;
        } else if (function == META_SETWINDOWEXT && words >= 5 && !haveExt) {
            extY = static_cast<int16_t>(r.U16LE()), extX = static_cast<int16_t>(r.U16LE());
            haveExt = true;
        }
        pos += static_cast<size_t>(words * 2);
        if (function == META_EOF)
            break;
    }
    out.recordsEnd = pos;

    if (placeable) {
        const double dx = std::abs(box[2] - box[0]), dy = std::abs(box[3] - box[1]);
        out.windowX = std::min(box[0], box[2]), out.windowY = std::min(box[1], box[3]);
        out.windowW = dx, out.windowH = dy;
        // Units per inch to the display's pixels per inch.
        SetPictureSize(out, dx * 2540 * display.widthPixels / (inch * double(display.widthHundredthsMm)),
                       dy * 2540 * display.heightPixels / (inch * double(display.heightHundredthsMm)));
    } else {
        if (!haveExt) {
            // Nothing sizes it: its units are pixels on a landscape A4 page,
            // as drawing programs open such files.
            extX = std::round(29700.0 * display.widthPixels / display.widthHundredthsMm);
            extY = std::round(21000.0 * display.heightPixels / display.heightHundredthsMm);
        }
        out.windowX = orgX, out.windowY = orgY, out.windowW = extX, out.windowH = extY;
        SetPictureSize(out, std::abs(extX), std::abs(extY));
    }
    if (out.windowW == 0 || out.windowH == 0)
        out.width = out.height = 0;
    return out;
}

}  // namespace

void ThrowInvalidMetafile()
{
    throw EInvalidGraphic(msg::kInvalidMetafile);
}

TMetafileLayout ParseMetafileLayout(std::span<const uint8_t> bytes, const platform::TDisplayMetrics& display)
{
    TByteReader r(bytes, "metafile", Truncated);
    if (bytes.size() >= 44) {
        r.Seek(40);
        const uint32_t signature = r.U32LE();
        r.Seek(0);
        if (r.U32LE() == EMR_HEADER && signature == kEmfSignature)
            return ParseEmf(r, display);
    }
    r.Seek(0);
    return ParseWmf(r, display);
}

}  // namespace kobalto
