#pragma once
// Faults of the machine, made on purpose for a test: a file-size limit that makes
// every write past it fail (for root too, and inherited by a program the test
// starts), and a small tmpfs that can be filled to the last byte. Mounting needs
// root with the right to mount; where that is missing the disk says so and the test
// skips.
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <string>
#include <vector>

// Writes fail beyond `bytes` for as long as it lives. SIGXFSZ is ignored so that the
// write reports EFBIG instead of ending the process.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) : old_handler_(std::signal(SIGXFSZ, SIG_IGN)) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        const rlimit limited{bytes, saved_.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, old_handler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    void (*old_handler_)(int);
    rlimit saved_{};
};

// A tmpfs of `bytes` on `folder` (which must exist) until it goes out of scope.
class TinyDisk {
  public:
    TinyDisk(const std::string& folder, std::size_t bytes)
        : folder_(folder),
          mounted_(mount("tmpfs", folder.c_str(), "tmpfs", MS_NOSUID | MS_NODEV,
                         ("size=" + std::to_string(bytes) + ",mode=0777").c_str()) == 0) {}
    ~TinyDisk() {
        if (mounted_) umount2(folder_.c_str(), MNT_DETACH);
    }
    TinyDisk(const TinyDisk&) = delete;
    TinyDisk& operator=(const TinyDisk&) = delete;

    bool Mounted() const { return mounted_; }

    // Fills every free byte with a file of its own. True when the disk said it is full.
    bool Fill() const {
        const int fd = open((folder_ + "/filler").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0) return false;
        const std::vector<char> block(4096, 'x');
        // Smaller and smaller writes fill the last page too; the cap stops a disk that
        // never fills.
        std::size_t size = block.size();
        for (int writes = 0; size > 0 && writes < (1 << 16); ++writes)
            if (write(fd, block.data(), size) < 0 && errno == ENOSPC) size /= 2;
        close(fd);
        return size == 0;
    }

  private:
    std::string folder_;
    bool mounted_;
};
