#pragma once
// Record interpreters: each plays a checked metafile's records, in order,
// into a drawing context. A record whose fields do not fit its size, or
// that names objects the file never made, is skipped.
#include <cstdint>
#include <span>

#include "graphics/metafile/GdiCanvas.h"
#include "graphics/metafile/MetafileLayout.h"

namespace kobalto::mf {

void PlayEmf(std::span<const uint8_t> bytes, const TMetafileLayout& layout, TGdiCanvas& canvas);
void PlayWmf(std::span<const uint8_t> bytes, const TMetafileLayout& layout, TGdiCanvas& canvas);

}  // namespace kobalto::mf
