#pragma once
// The corpus tables of the PCX, PNM, Photoshop, Paintshop Pro, RLA and
// Autodesk readers, and the check that runs one of them.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "codecs/extended/TExtendedGraphic.h"
#include "graphics/TColor.h"

namespace kobalto::test {

struct TPin {
    int x, y;
    TColor colour;
};
// The size and a few pixels of a file no peer reads, checked by hand.
struct TPinned {
    int width, height;
    std::vector<TPin> pins;
};
struct TClassCount {
    int files = 0;
    int decoded = 0;
    bool operator==(const TClassCount&) const = default;
};

struct CorpusCase {
    std::string folder;
    std::string pattern;  // the file names of the folder that are this format
    std::function<std::unique_ptr<TExtendedGraphic>()> make;
    bool peerReads = true;  // ImageMagick decodes the format
    bool alphaMatted = false;  // colours already lie on white: alpha is not applied again
    std::map<std::string, std::string> pillow;  // file: why Pillow is the peer here
    std::map<std::string, std::string> refused;  // file: our message
    std::map<std::string, int> tolerance;        // file: largest channel difference to the peer
    std::map<std::string, std::string> skipPeer; // file: why its pixels are not compared
    std::map<std::string, TPinned> pinned;
    std::map<std::string, TClassCount> counts;   // valid, questionable, broken
};

std::vector<CorpusCase> ExtendedCorpusCases();
void CheckCorpusFormat(const CorpusCase& format);

}  // namespace kobalto::test
