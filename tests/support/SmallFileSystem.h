#pragma once
// A file system of a few kilobytes (tmpfs) mounted for one test, to fill up
// or to turn read-only under files already written. Mounting needs root;
// elsewhere Mounted() is false and Reason() says why, for GTEST_SKIP.
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace kobalto::test {

class SmallFileSystem {
public:
    // Mounts a tmpfs of the given size at folder, an existing empty folder.
    SmallFileSystem(const std::string& folder, const std::string& size) : folder_(folder)
    {
        if (::geteuid() != 0) {
            reason_ = "mounting a small file system needs root";
            return;
        }
        const std::string options = "size=" + size + ",mode=0755";
        if (::mount("tmpfs", folder.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) != 0) {
            reason_ = std::string("cannot mount a tmpfs: ") + std::strerror(errno);
            return;
        }
        mounted_ = true;
    }
    ~SmallFileSystem()
    {
        if (mounted_)
            ::umount2(folder_.c_str(), MNT_DETACH);
    }
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    bool Mounted() const { return mounted_; }
    const std::string& Reason() const { return reason_; }

    // Remounts read-only, files and all; even root cannot write there then.
    bool MakeReadOnly()
    {
        return mounted_ && ::mount("tmpfs", folder_.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY | MS_NOSUID | MS_NODEV,
                                   nullptr) == 0;
    }

private:
    std::string folder_;
    bool mounted_ = false;
    std::string reason_;
};

}  // namespace kobalto::test
