#include "platform/HandOverMessage.h"

#include <algorithm>
#include <iterator>

namespace kobalto::platform {

namespace {

constexpr char kMagic[8] = {'K', 'O', 'B', 'A', 'L', 'T', 'O', '1'};

void PutWord(std::vector<uint8_t>& out, uint32_t word)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(word >> (8 * i)));
}

// Only what the window can open: a path from the root, a real name.
bool IsHandOverPath(const std::string& path)
{
    return !path.empty() && path.front() == '/' && path.size() <= kMaxHandOverPathBytes &&
           path.find('\0') == std::string::npos;
}

}  // namespace

std::vector<uint8_t> EncodeHandOver(const std::vector<std::string>& files)
{
    if (files.size() > kMaxHandOverFiles)
        return {};
    std::vector<uint8_t> out(std::begin(kMagic), std::end(kMagic));
    PutWord(out, static_cast<uint32_t>(files.size()));
    for (const std::string& file : files) {
        if (!IsHandOverPath(file))
            return {};
        PutWord(out, static_cast<uint32_t>(file.size()));
        out.insert(out.end(), file.begin(), file.end());
        if (out.size() > kMaxHandOverBytes)
            return {};
    }
    return out;
}

HandOverParser::State HandOverParser::Fail()
{
    files_.clear();
    path_.clear();
    return state_ = State::Invalid;
}

bool HandOverParser::TakeWord(const uint8_t*& data, size_t& size, uint32_t& word)
{
    while (wordSeen_ < 4 && size > 0) {
        word_[wordSeen_++] = *data++;
        --size;
    }
    if (wordSeen_ < 4)
        return false;
    wordSeen_ = 0;
    word = uint32_t{word_[0]} | uint32_t{word_[1]} << 8 | uint32_t{word_[2]} << 16 | uint32_t{word_[3]} << 24;
    return true;
}

HandOverParser::State HandOverParser::Feed(const uint8_t* data, size_t size)
{
    if (state_ == State::Invalid)
        return state_;
    if (state_ == State::Complete)
        return size == 0 ? state_ : Fail();
    // The total is checked before anything is kept, so a sender cannot make
    // the window hold more than the limit.
    if (size > kMaxHandOverBytes - seen_)
        return Fail();
    seen_ += size;

    while (magicSeen_ < sizeof kMagic && size > 0) {
        if (*data++ != static_cast<uint8_t>(kMagic[magicSeen_++]))
            return Fail();
        --size;
    }
    if (magicSeen_ < sizeof kMagic)
        return state_;
    if (!haveCount_) {
        if (!TakeWord(data, size, count_))
            return state_;
        if (count_ > kMaxHandOverFiles)
            return Fail();
        haveCount_ = true;
    }
    while (files_.size() < count_) {
        if (!haveLength_) {
            if (!TakeWord(data, size, length_))
                return state_;
            if (length_ == 0 || length_ > kMaxHandOverPathBytes)
                return Fail();
            haveLength_ = true;
        }
        const size_t take = std::min<size_t>(size, length_ - path_.size());
        path_.append(reinterpret_cast<const char*>(data), take);
        data += take;
        size -= take;
        if (path_.size() < length_)
            return state_;
        if (!IsHandOverPath(path_))
            return Fail();
        files_.push_back(std::move(path_));
        path_.clear();
        haveLength_ = false;
    }
    if (size > 0)
        return Fail();
    return state_ = State::Complete;
}

}  // namespace kobalto::platform
