#pragma once
// Two decoders over one file on two cores. The second skips to a row near
// the bottom and decodes from there, while the first decodes the rows above
// and stops: skipping still entropy-decodes what it passes, so the rows come
// out as from one decoder, and each decoder's libjpeg state stays on its own
// thread.
#include <functional>

#include "codecs/jpeg/JpegErrorManager.h"

namespace kobalto {

// The stored row where the second decoder takes over, on an iMCU row's
// start at about 70 % of the picture: skipping there costs the second
// decoder only the entropy decoding of the rows above, which for photos is
// roughly half to two thirds of decoding them, so both then take about as
// long. 0 when one decoder does it all: no spare core, a small picture, or
// a file whose scans must all be read before the first row (progressive
// ones). c has its header read and its output dimensions calculated.
int JpegSplitRow(j_decompress_ptr c);

// Runs upper on a thread of its own and lower on this one. A fault in upper
// is the one a single decoder would have met first, so it is raised before
// one in lower. False, with neither run, when no thread can be had.
bool RunJpegHalves(const std::function<void()>& upper, const std::function<void()>& lower);

}  // namespace kobalto
