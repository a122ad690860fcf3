#include "codecs/jpeg/JpegSplit.h"

#include <exception>
#include <system_error>
#include <thread>

#include "platform/SpareCores.h"

namespace kobalto {

namespace {

// Below this many stored pixels a second decoder costs more than it saves.
constexpr long long kSplitFromPixels = 1'000'000;

}  // namespace

int JpegSplitRow(j_decompress_ptr c)
{
    const long long pixels = static_cast<long long>(c->output_width) * c->output_height;
    if (pixels < kSplitFromPixels || jpeg_has_multiple_scans(c) || platform::SpareCores() == 0)
        return 0;
    const int imcuRows = c->max_v_samp_factor * c->min_DCT_scaled_size;
    if (imcuRows <= 0)
        return 0;
    return static_cast<int>(c->output_height) * 7 / 10 / imcuRows * imcuRows;
}

bool RunJpegHalves(const std::function<void()>& upper, const std::function<void()>& lower)
{
    std::exception_ptr upperFault;
    std::thread thread;
    try {
        thread = std::thread([&] {
            try {
                upper();
            } catch (...) {
                upperFault = std::current_exception();
            }
        });
    } catch (const std::system_error&) {
        return false;
    }
    std::exception_ptr lowerFault;
    try {
        lower();
    } catch (...) {
        lowerFault = std::current_exception();
    }
    thread.join();
    if (upperFault)
        std::rethrow_exception(upperFault);
    if (lowerFault)
        std::rethrow_exception(lowerFault);
    return true;
}

}  // namespace kobalto
