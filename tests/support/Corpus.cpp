#include "tests/support/Corpus.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace kobalto::test {

namespace {

std::string Trimmed(const std::string& cell)
{
    const size_t first = cell.find_first_not_of(' ');
    const size_t last = cell.find_last_not_of(' ');
    return first == std::string::npos ? "" : cell.substr(first, last - first + 1);
}

// "4000x3000" into its two numbers; "—" (identify could not read it) leaves
// them 0.
void ReadSize(const std::string& cell, CorpusFile& file)
{
    const size_t x = cell.find('x');
    if (x == std::string::npos || x == 0 || cell.find_first_not_of("0123456789x") != std::string::npos)
        return;
    file.width = std::stoi(cell.substr(0, x));
    file.height = std::stoi(cell.substr(x + 1));
}

}  // namespace

std::string CorpusDir() { return KOBALTO_CORPUS_DIR; }

bool HaveCorpus() { return std::filesystem::is_directory(CorpusDir()); }

std::vector<CorpusFile> CorpusFiles(const std::string& format)
{
    // Rows read | folder | `name` | WxH | expected | description | ... (no
    // <regex>: under the sanitizers it draws warnings from the library).
    std::vector<CorpusFile> files;
    std::ifstream readme(CorpusDir() + "/README.md");
    const std::string start = "| " + format + " | `";
    std::string line;
    while (std::getline(readme, line)) {
        if (line.rfind(start, 0) != 0)
            continue;
        std::istringstream cells(line);
        std::string skip, name, size, expected;
        std::getline(cells, skip, '|');  // before the first bar
        std::getline(cells, skip, '|');  // the folder
        std::getline(cells, name, '|');
        std::getline(cells, size, '|');
        std::getline(cells, expected, '|');
        name = Trimmed(name);
        if (name.size() < 3 || name.front() != '`' || name.back() != '`')
            continue;
        CorpusFile file;
        file.name = name.substr(1, name.size() - 2);
        file.path = CorpusDir() + "/" + format + "/" + file.name;
        file.expected = Trimmed(expected);
        ReadSize(Trimmed(size), file);
        files.push_back(file);
    }
    return files;
}

}  // namespace kobalto::test
