#pragma once

#include <chrono>
#include <string>

// An exclusive advisory lock on a folder, shared by every process of ours
// that works in it (flock on the folder itself, so no lock file is left
// lying about). Released when the object goes, or when the process ends.
class FolderLock {
  public:
    // Waits at most `patience` for another holder to let go.
    FolderLock(const std::string& folder, std::chrono::milliseconds patience);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    bool Held() const { return held_; }
    // True when another holder kept the lock past the patience. A folder that
    // cannot be opened (missing, or with write and search permission but no
    // read permission) or locked at all (a file system without locks) is
    // neither held nor busy: there is nothing to wait for.
    bool Busy() const { return busy_; }

  private:
    int fd_ = -1;
    bool held_ = false;
    bool busy_ = false;
};
