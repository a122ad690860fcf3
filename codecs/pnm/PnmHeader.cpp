#include "codecs/pnm/PnmHeader.h"

#include "codecs/extended/ExtendedError.h"
#include "codecs/extended/ExtendedMessages.h"

namespace kobalto {

namespace {

[[noreturn]] void Invalid() { RaiseExtended(msg::kInvalidImageFormat, {msg::kFormatPnm}); }

bool IsSpace(uint8_t c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// Steps over white space and comments; false at the end of the data.
bool SkipSpace(TByteReader& file)
{
    while (file.Remaining() > 0) {
        const uint8_t c = file.Bytes()[file.Position()];
        if (c == '#') {
            while (file.Remaining() > 0 && file.U8() != '\n') {
            }
        } else if (IsSpace(c)) {
            file.Skip(1);
        } else {
            return true;
        }
    }
    return false;
}

// A header number; more digits than any size or maximum needs are refused.
long HeaderNumber(TByteReader& file)
{
    if (!SkipSpace(file))
        Invalid();
    long value = 0;
    int digits = 0;
    while (file.Remaining() > 0) {
        const uint8_t c = file.Bytes()[file.Position()];
        if (c < '0' || c > '9')
            break;
        file.Skip(1);
        if (++digits > 9)
            Invalid();
        value = value * 10 + (c - '0');
    }
    if (digits == 0)
        Invalid();
    return value;
}

}  // namespace

TPnmHeader ParsePnmHeader(TByteReader& file)
{
    if (file.Remaining() < 2 || file.U8() != 'P')
        Invalid();
    const uint8_t digit = file.U8();
    if (digit < '1' || digit > '6')
        Invalid();
    TPnmHeader h;
    h.kind = digit - '0';
    h.binary = h.kind >= 4;
    h.samples = h.kind == 3 || h.kind == 6 ? 3 : 1;
    const long width = HeaderNumber(file);
    const long height = HeaderNumber(file);
    const bool bitmap = h.kind == 1 || h.kind == 4;
    const long maxValue = bitmap ? 1 : HeaderNumber(file);
    if (width < 1 || height < 1 || maxValue < 1 || maxValue > 65535)
        Invalid();
    h.width = static_cast<int>(width);
    h.height = static_cast<int>(height);
    h.maxValue = static_cast<int>(maxValue);
    // One white-space byte ends the header of a binary file.
    if (file.Remaining() == 0 || !IsSpace(file.U8()))
        Invalid();
    h.rasterOffset = file.Position();
    return h;
}

long TPnmTextReader::Next(bool singleDigit)
{
    if (!SkipSpace(file_))
        return -1;
    long value = 0;
    int digits = 0;
    while (file_.Remaining() > 0) {
        const uint8_t c = file_.Bytes()[file_.Position()];
        if (c < '0' || c > '9')
            break;
        file_.Skip(1);
        if (value <= 65535)
            value = value * 10 + (c - '0');  // larger ones are cut to the maximum anyway
        ++digits;
        if (singleDigit)
            break;
    }
    if (digits == 0)
        RaiseExtended(msg::kInvalidImageFormat, {msg::kFormatPnm});
    return value;
}

}  // namespace kobalto
