#include "base/Warnings.h"

#include <utility>

namespace kobalto {

namespace {
thread_local WarningSink currentSink;
}

ScopedWarningSink::ScopedWarningSink(WarningSink sink) : previous_(std::move(currentSink))
{
    currentSink = std::move(sink);
}

ScopedWarningSink::~ScopedWarningSink() { currentSink = std::move(previous_); }

void ReportWarning(std::string_view title, std::string_view text)
{
    if (currentSink)
        currentSink(title, text);
}

}  // namespace kobalto
