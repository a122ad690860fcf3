#pragma once

namespace kobalto {

class TFileFormatsList;
class TFileFormatList;

// Fills both registries, in the order the codecs register at start-up.
void RegisterFormats(TFileFormatsList& pictures, TFileFormatList& extended);

}  // namespace kobalto
