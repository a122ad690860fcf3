#pragma once
// The shared corpus (../shared/corpus): real-world files of other projects,
// one folder per format, each listed in the corpus README with what a
// reader should make of it. Tests that use it skip themselves, saying so,
// when it is absent.
#include <string>
#include <vector>

namespace kobalto::test {

struct CorpusFile {
    std::string name;      // the file's name in its format folder
    std::string path;      // where it is
    std::string expected;  // valid, questionable or broken
    int width = 0;         // as the peer's identify saw it; 0 when it could not
    int height = 0;
};

std::string CorpusDir();
bool HaveCorpus();

// The README's rows for one format folder ("bmp", "png", "tiff", ...), in
// its order; empty when the corpus is absent.
std::vector<CorpusFile> CorpusFiles(const std::string& format);

}  // namespace kobalto::test
