#pragma once
// A virtual X server of the test's own, on a display number it picks itself.
#include <string>
#include <sys/types.h>

namespace kobalto::test {

class XvfbServer {
public:
    // Starts Xvfb; when it cannot, Error() says why.
    XvfbServer();
    ~XvfbServer();
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    bool Running() const { return !display_.empty(); }
    // ":N", for DISPLAY.
    const std::string& Display() const { return display_; }
    const std::string& Error() const { return error_; }

private:
    pid_t pid_ = -1;
    std::string display_;
    std::string error_;
};

}  // namespace kobalto::test
