// The real-screen tests: the window on the xcb platform of an X server the
// program starts for itself, so what they grab is what a person would see.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <memory>

#include "tests/gui/screen/Screen.h"
#include "tests/gui/screen/XvfbServer.h"

namespace kobalto::test {

namespace {
std::string noScreenReason = "the tests run without a screen";
}

const std::string& NoScreenReason()
{
    return noScreenReason;
}

}  // namespace kobalto::test

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // Listing the tests needs no server.
    if (::testing::GTEST_FLAG(list_tests))
        return RUN_ALL_TESTS();
    kobalto::test::XvfbServer server;
    if (!server.Running()) {
        kobalto::test::noScreenReason = server.Error();
        return RUN_ALL_TESTS();
    }
    kobalto::test::noScreenReason.clear();
    setenv("DISPLAY", server.Display().c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    unsetenv("WAYLAND_DISPLAY");
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Kobalto"));
    return RUN_ALL_TESTS();
}
