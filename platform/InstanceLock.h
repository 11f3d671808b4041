#pragma once

#include <string>
#include <string_view>

// One running copy of an edition per folder: a claim on a name made of the
// caller's prefix, the folder's device and inode and the game code
// ("<prefix>/<device>/<inode>/<game code>"), in the abstract socket namespace.
// It needs no permission on the folder, leaves no file there, and goes with
// the process however it ends (a killed copy leaves nothing behind). The
// descriptor is not inherited by programs started from here.
//
// Its limits: an abstract name is seen only within one network namespace, so
// a copy started in a sandbox without network runs beside the first one; and
// any local user may claim a folder's name first, and the player's copy then
// says it is already running.
class InstanceLock {
  public:
    InstanceLock(std::string_view prefix, const std::string& folder, std::string_view gameCode);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Another process holds the claim for this folder and game.
    bool AlreadyRunning() const { return alreadyRunning_; }
    bool Held() const { return fd_ >= 0; }

  private:
    int fd_ = -1;
    bool alreadyRunning_ = false;
};
