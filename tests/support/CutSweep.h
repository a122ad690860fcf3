#pragma once
// Files cut short at every length: the truncation sweep every reader gets.
// A reader must raise its format's error or give its defined partial
// picture for each cut, and never crash.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/Exceptions.h"

namespace kobalto::test {

// Calls check(cut, length) for every proper prefix of file, the empty one
// included, with the length in the failure messages.
template <typename Check>
void ForEveryCut(const std::vector<uint8_t>& file, Check check)
{
    for (size_t length = 0; length < file.size(); ++length) {
        SCOPED_TRACE("cut at " + std::to_string(length) + " of " + std::to_string(file.size()) + " bytes");
        const std::vector<uint8_t> cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length));
        check(cut, length);
    }
}

struct CutOutcomes {
    int loaded = 0;
    int refused = 0;
};

// Loads every proper prefix of file with load(cut). Each must load or raise
// Refusal; any other exception fails the test (a crash ends it).
template <typename Refusal = Exception, typename Load>
CutOutcomes LoadEveryCut(const std::vector<uint8_t>& file, Load load)
{
    CutOutcomes outcomes;
    ForEveryCut(file, [&](const std::vector<uint8_t>& cut, size_t) {
        try {
            load(cut);
            ++outcomes.loaded;
        } catch (const Refusal&) {
            ++outcomes.refused;
        } catch (const std::exception& e) {
            ADD_FAILURE() << "raised something else: " << e.what();
        }
    });
    return outcomes;
}

}  // namespace kobalto::test
