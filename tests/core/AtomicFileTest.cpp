#include "platform/AtomicFile.h"

#include "platform/AppError.h"
#include "tests/TestSupport.h"
#include "ui/ProgramFiles.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::vector<std::string> Listing(const TempDir& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.Path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

TEST(AtomicFile, WritesAndReplacesKeepingPermissionBitsAndNothingElse) {
    TempDir dir;
    const std::string path = dir.File("a.skill");
    WriteFileAtomic(path, "old contents that are longer\r\n");
    EXPECT_EQ(ReadFileBytes(path), "old contents that are longer\r\n");
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    WriteFileAtomic(path, "new");
    EXPECT_EQ(ReadFileBytes(path), "new");
    EXPECT_EQ(ModeOf(path), 0640u);
    EXPECT_EQ(Listing(dir), std::vector<std::string>{"a.skill"});

    const std::string owners = dir.File("vostrane.ini");
    WriteFileAtomic(owners, "password", 0600);
    EXPECT_EQ(ModeOf(owners), 0600u);
    ASSERT_EQ(chmod(owners.c_str(), 0644), 0);
    WriteFileAtomic(owners, "kept", 0600);
    EXPECT_EQ(ModeOf(owners), 0644u);
}

// A folder shared by a group: whoever saves last, the file stays the group's,
// so every member can still replace it.
TEST(AtomicFile, AReplacedFileKeepsItsOwnerAndGroupWhereTheSystemAllows) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to stand in for two users";
    TempDir dir;
    const std::string path = dir.File("vostrane.ini");
    auto owner = [&] {
        struct stat st {};
        stat(path.c_str(), &st);
        return std::pair<uid_t, gid_t>(st.st_uid, st.st_gid);
    };
    WriteFileBytes(path, "old");
    // Owner and group both kept; the mode is set after the change of owner,
    // which would clear the set-group-id bit.
    ASSERT_EQ(chown(path.c_str(), 65534, 65534), 0);
    ASSERT_EQ(chmod(path.c_str(), 02775), 0);
    WriteFileAtomic(path, "new", 0600);
    EXPECT_EQ(owner(), (std::pair<uid_t, gid_t>(65534, 65534)));
    EXPECT_EQ(ModeOf(path), 02775u);

    // Another member of the file's group replaces it: the owner cannot be
    // given away, the group still is kept.
    ASSERT_EQ(chown(path.c_str(), 0, 0), 0);
    ASSERT_EQ(chmod(path.c_str(), 0664), 0);
    EXPECT_TRUE(PassesInChildProcess([&] {
        const gid_t shared = 0;
        if (setgroups(1, &shared) != 0) return false;
        UnprivilegedScope unprivileged(dir);
        WriteFileAtomic(path, "by the other member", 0600);
        return true;
    }));
    EXPECT_EQ(ReadFileBytes(path), "by the other member");
    EXPECT_EQ(owner(), (std::pair<uid_t, gid_t>(65534, 0)));
    EXPECT_EQ(ModeOf(path), 0664u);
}

TEST(AtomicFile, FollowsSymbolicLink) {
    TempDir dir;
    const std::string real = dir.File("real.txt");
    const std::string link = dir.File("link.txt");
    WriteFileBytes(real, "old");
    fs::create_symlink(real, link);
    WriteFileAtomic(link, "new");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadFileBytes(real), "new");
}

TEST(AtomicFile, UnwritableTargetFailsNamingTarget) {
    TempDir dir;
    const std::string path = dir.File("a.comment");
    ASSERT_EQ(mkdir(path.c_str(), 0755), 0);
    EXPECT_EQ(ErrorOf([&] { WriteFileAtomic(path, "x"); }), CannotCreateMessage(path));
    EXPECT_EQ(CannotCreateMessage(path), Sj("ファイル ") + path + Sj(" を作成できません"));
    EXPECT_EQ(Listing(dir), std::vector<std::string>{"a.comment"});
    const std::string inMissingFolder = dir.File("none/a.txt");
    EXPECT_EQ(ErrorOf([&] { WriteFileAtomic(inMissingFolder, "x"); }), CannotCreateMessage(inMissingFolder));
    // A pipe without a reader must not hold the writer up.
    const std::string pipe = dir.File("network_log.txt");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0644), 0);
    EXPECT_EQ(ErrorOf([&] { WriteFileAtomic(pipe, "x"); }), CannotCreateMessage(pipe));
}

TEST(AtomicFile, ReadOnlyTargetFailsAndStaysUnchanged) {
    TempDir dir;
    const std::string path = dir.File("a.favorite");
    WriteFileBytes(path, "old");
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    {
        UnprivilegedScope unprivileged(dir);
        EXPECT_EQ(ErrorOf([&] { WriteFileAtomic(path, "new"); }), CannotCreateMessage(path));
    }
    EXPECT_EQ(ReadFileBytes(path), "old");
    EXPECT_EQ(Listing(dir), std::vector<std::string>{"a.favorite"});
}

// A write that fails half-way (here: the file size limit, as a full disk
// would) must leave the old file whole and no temporary file behind. Run in a
// child process so the limit does not reach other tests.
TEST(AtomicFile, FailedWriteKeepsOldFileAndRemovesTemporary) {
    TempDir dir;
    const std::string path = dir.File("a.skill");
    WriteFileBytes(path, "old");
    EXPECT_TRUE(PassesInChildProcess([&] {
        LimitFileSize(10);
        return ErrorOf([&] { WriteFileAtomic(path, std::string(1000, 'n')); }) == CannotCreateMessage(path);
    }));
    EXPECT_EQ(ReadFileBytes(path), "old");
    EXPECT_EQ(Listing(dir), std::vector<std::string>{"a.skill"});
}

// A kill between writing and renaming leaves the old file whole; the
// temporary file it leaves is removed at the next start, but never one whose
// writer still runs (the other edition's).
TEST(AtomicFile, AKillBeforeTheRenameKeepsTheOldFileAndItsLeftoverIsRemovedLater) {
    TempDir dir;
    const std::string path = dir.File("vostrane.ini");
    WriteFileBytes(path, "old");
    ASSERT_TRUE(PassesInChildProcess([&] {
        SetBeforeRenameHookForTests([] { _exit(0); });
        WriteFileAtomic(path, "new");
        return false; // the hook has ended the child before
    }));
    EXPECT_EQ(ReadFileBytes(path), "old");

    const std::vector<std::string> before = Listing(dir);
    ASSERT_EQ(before.size(), 2u);
    const std::string leftover = before[1];
    ASSERT_EQ(leftover.rfind("vostrane.ini.tmp", 0), 0u) << leftover;
    const std::string mark = "vostrane.ini.tmp";
    const std::string deadWriter = leftover.substr(mark.size(), leftover.rfind('-') - mark.size());

    // Only exactly the writer's names of the program's own files go.
    std::vector<std::string> kept = {
        "DrumManiaV3.skill.tmp" + std::to_string(getpid()) + "-0", // its writer runs
        "notes.tmp" + deadWriter + "-0",                           // not a file of ours
        "GuitarFreaksV3.skill.tmp20240501-2",                      // a dated backup: no such process id
        "vostrane.ini.tmp0-0",
        "vostrane.ini.tmp0" + deadWriter + "-0",
        "vostrane.ini.tmp" + deadWriter + "-01",
        "vostrane.ini.tmp" + deadWriter + "-100",
        "vostrane.ini.tmp" + deadWriter + "-1x",
        ".tmp" + deadWriter + "-1",
    };
    if (geteuid() == 0) {
        const std::string foreign = "GuitarFreaksV3.comment.tmp" + deadWriter + "-0";
        WriteFileBytes(dir.File(foreign), "another user's");
        ASSERT_EQ(chown(dir.File(foreign).c_str(), 65534, 65534), 0);
        kept.push_back(foreign);
    }
    for (const std::string& name : kept)
        if (!fs::exists(dir.File(name))) WriteFileBytes(dir.File(name), "kept");
    const std::string stale = "GuitarFreaksV3.txt.tmp" + deadWriter + "-99";
    WriteFileBytes(dir.File(stale), "stale");
    RemoveStaleTemporaries(dir.Dir(), [](std::string_view name) { return IsProgramFileName(name, false); });
    kept.push_back("vostrane.ini");
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(Listing(dir), kept);
}

TEST(AtomicFile, ReaderTellsMissingFromUnreadable) {
    TempDir dir;
    std::string bytes = "left";
    EXPECT_FALSE(ReadWholeFile(dir.File("missing.txt"), bytes));
    EXPECT_FALSE(ReadWholeFile(dir.File("none/missing.txt"), bytes));

    const std::string folder = dir.File("folder.txt");
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    EXPECT_EQ(ErrorOf([&] { ReadWholeFile(folder, bytes); }), Sj("ファイル ") + folder + Sj(" を開けません"));

    // Anything but a plain file of a sane size is refused at once: a pipe
    // would wait for a writer, a device or a huge file would never end.
    const std::string pipe = dir.File("pipe.skill");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0644), 0);
    const std::string device = dir.File("zero.skill");
    fs::create_symlink("/dev/zero", device);
    const std::string huge = dir.File("huge.skill");
    WriteFileBytes(huge, "");
    ASSERT_EQ(truncate(huge.c_str(), static_cast<off_t>(kLocalFileLimit) + 1), 0);
    for (const std::string& path : {pipe, device, huge})
        EXPECT_EQ(ErrorOf([&] { ReadWholeFile(path, bytes); }), CannotOpenMessage(path)) << path;
    ASSERT_EQ(truncate(huge.c_str(), static_cast<off_t>(kLocalFileLimit)), 0);
    EXPECT_TRUE(ReadWholeFile(huge, bytes));

    WriteFileBytes(dir.File("a.txt"), std::string("a\r\n\0b\n", 6));
    ASSERT_TRUE(ReadWholeFile(dir.File("a.txt"), bytes));
    EXPECT_EQ(bytes, std::string("a\r\n\0b\n", 6));
}

TEST(AtomicFile, MessagePathsAreConvertedFromUtf8) {
    EXPECT_EQ(PathForMessage("/tmp/ギター/a.txt"), Sj("/tmp/ギター/a.txt"));
    EXPECT_EQ(PathForMessage("/tmp/\xff.txt"), "/tmp/\xff.txt");
}

} // namespace
