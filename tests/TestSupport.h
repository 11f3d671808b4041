#pragma once

#include "data/DataUnit.h"
#include "data/Edition.h"
#include "data/SkillCmp.h"
#include "platform/SjisString.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

// A fresh temporary folder, removed with everything in it when the test ends.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // The folder as AppDir holds it: with a trailing "/".
    std::string Dir() const { return path_.string() + "/"; }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

  private:
    std::filesystem::path path_;
};

// Makes a folder the current directory for the scope (exports and the network
// log are written there) and returns to the previous one afterwards.
class ScopedCurrentDir {
  public:
    explicit ScopedCurrentDir(const std::filesystem::path& dir);
    ~ScopedCurrentDir();
    ScopedCurrentDir(const ScopedCurrentDir&) = delete;
    ScopedCurrentDir& operator=(const ScopedCurrentDir&) = delete;

  private:
    std::filesystem::path previous_;
};

// The message of the AppError the action raises, or "(no error)".
std::string ErrorOf(const std::function<void()>& action);

// Runs the body in a child process, so that what it does to the process (a
// file size limit, an exit half-way) reaches no other test; true when the
// child ends with status 0: the body returned true, or ended the child so.
bool PassesInChildProcess(const std::function<bool()>& body);

// A child process that runs `take` (it takes a lock, say) and then holds on
// until it is killed, as another running copy of the program would. What
// `take` makes must outlive it: make it with new.
class HoldingChild {
  public:
    explicit HoldingChild(const std::function<bool()>& take);
    ~HoldingChild();
    HoldingChild(const HoldingChild&) = delete;
    HoldingChild& operator=(const HoldingChild&) = delete;

    // What `take` returned.
    bool Took() const { return took_; }
    // Ends it as a power loss would: SIGKILL, then reaps it.
    void Kill();

  private:
    pid_t pid_ = -1;
    bool took_ = false;
};

// Holds every later write of the process to `bytes` bytes a file, as a full
// disk would: the write that crosses it fails.
void LimitFileSize(std::size_t bytes);

// Reads and writes whole files as bytes.
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

// Shift-JIS bytes of a UTF-8 literal, for readable test texts.
SjisString Sj(const char* utf8);

// Puts the process into the given edition with an empty song table.
void ResetData(const Edition& edition);

// A formula object with the weights start-up reads when the settings file has
// none: perfect 80, combo 20, good 0, great 20, waru 100, miss 0, poor 0.
TSkillComputer DefaultWeights();

// While it lives, a process running as root acts as an unprivileged user, so
// permission checks apply (root may write a read-only file). The folder is
// opened to everyone so that user can still reach the files in it.
class UnprivilegedScope {
  public:
    explicit UnprivilegedScope(const TempDir& dir);
    ~UnprivilegedScope();
    UnprivilegedScope(const UnprivilegedScope&) = delete;
    UnprivilegedScope& operator=(const UnprivilegedScope&) = delete;

  private:
    bool dropped_ = false;
};

// Installs a formula object with the default weights as SkillComputer for as
// long as it lives, then puts back the one before.
struct DefaultFormulas {
    DefaultFormulas();
    ~DefaultFormulas();
    DefaultFormulas(const DefaultFormulas&) = delete;
    DefaultFormulas& operator=(const DefaultFormulas&) = delete;

    std::unique_ptr<TSkillComputer> Previous;
    TSkillComputer& Computer; // the one installed
};
