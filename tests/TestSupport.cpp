#include "tests/TestSupport.h"

#include "data/DataFiles.h"
#include "data/DataUnit.h"
#include "platform/AppError.h"
#include "platform/Cp932.h"

#include <fstream>
#include <signal.h>
#include <sstream>
#include <stdexcept>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vostest-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a temporary folder");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                 ignored);
    std::filesystem::remove_all(path_, ignored);
}

ScopedCurrentDir::ScopedCurrentDir(const std::filesystem::path& dir)
    : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(dir);
}

ScopedCurrentDir::~ScopedCurrentDir() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
}

std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const AppError& e) {
        return e.what();
    }
    return "(no error)";
}

bool PassesInChildProcess(const std::function<bool()>& body) {
    const pid_t child = fork();
    if (child < 0) throw std::runtime_error("cannot fork");
    if (child == 0) _exit(body() ? 0 : 1);
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

HoldingChild::HoldingChild(const std::function<bool()>& take) {
    int ready[2];
    if (pipe(ready) != 0) throw std::runtime_error("cannot make a pipe");
    pid_ = fork();
    if (pid_ < 0) throw std::runtime_error("cannot fork");
    if (pid_ == 0) {
        (void)!write(ready[1], take() ? "y" : "n", 1);
        for (;;)
            pause();
    }
    char answer = 0;
    took_ = read(ready[0], &answer, 1) == 1 && answer == 'y';
    close(ready[0]);
    close(ready[1]);
}

HoldingChild::~HoldingChild() {
    Kill();
}

void HoldingChild::Kill() {
    if (pid_ <= 0) return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

void LimitFileSize(std::size_t bytes) {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{bytes, bytes};
    setrlimit(RLIMIT_FSIZE, &limit);
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error("cannot write " + path);
    out << bytes;
}

SjisString Sj(const char* utf8) {
    return Utf8ToSjis(utf8);
}

void ResetData(const Edition& edition) {
    SetEdition(edition);
    ClearMusicTable();
    MusicCount = 0;
    TotalSkill = 0;
    RemainThreshold = 0;
    MusicNames.clear();
    SetDataLoadComplete(false);
}

TSkillComputer DefaultWeights() {
    TSkillComputer weights;
    weights.Perfect = 80;
    weights.Combo = 20;
    weights.Great = 20;
    weights.Waru = 100;
    return weights;
}

DefaultFormulas::DefaultFormulas()
    : Previous(std::exchange(SkillComputer, std::make_unique<TSkillComputer>(DefaultWeights()))),
      Computer(*SkillComputer) {}

DefaultFormulas::~DefaultFormulas() {
    SkillComputer = std::move(Previous);
}

UnprivilegedScope::UnprivilegedScope(const TempDir& dir) {
    if (geteuid() != 0) return;
    constexpr uid_t kNobody = 65534;
    if (chmod(dir.Path().c_str(), 0777) != 0 || setegid(kNobody) != 0 || seteuid(kNobody) != 0)
        throw std::runtime_error("cannot act as an unprivileged user");
    dropped_ = true;
}

UnprivilegedScope::~UnprivilegedScope() {
    if (!dropped_) return;
    if (seteuid(0) != 0 || setegid(0) != 0) std::abort();
}
