#pragma once
// Warnings a reader gives while it goes on: a titled text passed to whoever
// listens on this thread (the batch forwards them to its view). Without a
// listener they are dropped.
#include <functional>
#include <string_view>

namespace kobalto {

using WarningSink = std::function<void(std::string_view title, std::string_view text)>;

// Listens on this thread while it lives; the previous listener returns after.
class ScopedWarningSink {
public:
    explicit ScopedWarningSink(WarningSink sink);
    ~ScopedWarningSink();
    ScopedWarningSink(const ScopedWarningSink&) = delete;
    ScopedWarningSink& operator=(const ScopedWarningSink&) = delete;

private:
    WarningSink previous_;
};

void ReportWarning(std::string_view title, std::string_view text);

}  // namespace kobalto
