#pragma once
#include <string>

namespace kobalto::test {

// Empty when the tests have an X server; else why they have none.
const std::string& NoScreenReason();

}  // namespace kobalto::test

#define KOBALTO_SKIP_WITHOUT_SCREEN()                        \
    if (!::kobalto::test::NoScreenReason().empty())          \
    GTEST_SKIP() << ::kobalto::test::NoScreenReason()
