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

    // False when the folder cannot be opened or the lock was not had in time.
    bool Held() const { return held_; }

  private:
    int fd_ = -1;
    bool held_ = false;
};
