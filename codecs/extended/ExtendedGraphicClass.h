#pragma once
// The class record of the extended readers' base, the parent of theirs.
#include "codecs/registry/TGraphicClass.h"

namespace kobalto {

const TGraphicClass& ExtendedGraphicClass();

}  // namespace kobalto
