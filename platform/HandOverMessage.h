#pragma once
// The message a later start sends to the running window: the files to open,
// or none to only bring the window forward.
//
//   "KOBALTO1"                  8 bytes
//   count                       u32, little-endian
//   count × (length, bytes)     u32 length, then the path without a zero
//
// The reply is the single byte kHandOverTaken once the window has the files.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kobalto::platform {

inline constexpr uint8_t kHandOverTaken = 'K';
// Far above what a command line can carry, so only a broken or hostile
// sender meets them.
inline constexpr uint32_t kMaxHandOverFiles = 65536;
inline constexpr uint32_t kMaxHandOverPathBytes = 4096;
inline constexpr size_t kMaxHandOverBytes = size_t{16} << 20;

// The bytes of a message; empty when a path is not absolute, holds a zero
// byte or the files exceed the limits above.
std::vector<uint8_t> EncodeHandOver(const std::vector<std::string>& files);

// Reads a message arriving in pieces.
class HandOverParser {
public:
    enum class State { NeedMore, Complete, Invalid };

    // Takes the next bytes. Once Invalid or Complete it stays so; bytes after
    // a complete message make it Invalid.
    State Feed(const uint8_t* data, size_t size);
    State GetState() const { return state_; }
    // The paths, when Complete.
    const std::vector<std::string>& Files() const { return files_; }

private:
    State Fail();
    bool TakeWord(const uint8_t*& data, size_t& size, uint32_t& word);

    State state_ = State::NeedMore;
    size_t seen_ = 0;
    size_t magicSeen_ = 0;
    bool haveCount_ = false;
    uint32_t count_ = 0;
    bool haveLength_ = false;
    uint32_t length_ = 0;
    uint8_t word_[4] = {};
    size_t wordSeen_ = 0;
    std::string path_;
    std::vector<std::string> files_;
};

}  // namespace kobalto::platform
