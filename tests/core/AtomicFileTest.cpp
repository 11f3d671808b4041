#include "platform/AtomicFile.h"

#include "platform/AppError.h"
#include "tests/TestSupport.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <functional>
#include <grp.h>
#include <gtest/gtest.h>
#include <string_view>
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

// A link is written through and never replaced, also when the file it names
// is not there yet; one that cannot be followed refuses the write and the
// read, and is left as it is.
TEST(AtomicFile, WritesThroughLinksAndRefusesOnesThatCannotBeFollowed) {
    TempDir dir;
    ASSERT_TRUE(fs::create_directory(dir.Path() / "sync"));
    const std::string real = dir.File("sync/real.txt");
    const std::string link = dir.File("link.txt");
    WriteFileBytes(real, "old");
    fs::create_symlink("sync/real.txt", link);
    WriteFileAtomic(link, "new");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadFileBytes(real), "new");

    // A first start through a chain of relative links: each text is taken from
    // its own link's folder.
    const std::string chain = dir.File("chain.skill");
    fs::create_symlink("sync/hop.skill", chain);
    fs::create_symlink("../sync/made.skill", dir.File("sync/hop.skill")); // "sync/../sync/made.skill"
    std::string bytes = "left";
    EXPECT_FALSE(ReadWholeFile(chain, bytes));
    EXPECT_EQ(ProbeReplace(chain, kOrdinaryFileMode), ReplaceProbe::Replaceable);
    WriteFileAtomic(chain, "first");
    EXPECT_TRUE(fs::is_symlink(chain));
    EXPECT_EQ(ReadFileBytes(dir.File("sync/made.skill")), "first");

    // A drive not mounted, a loop, a chain longer than the system follows.
    const std::string absent = dir.File("absent.skill");
    fs::create_symlink(dir.File("unmounted/GuitarFreaksV3.skill"), absent);
    const std::string loop = dir.File("loop.ini");
    fs::create_symlink("loop.ini", loop);
    const std::string deep = dir.File("deep0");
    for (int k = 0; k <= 40; ++k)
        fs::create_symlink("deep" + std::to_string(k + 1), dir.File("deep" + std::to_string(k)));
    WriteFileBytes(dir.File("deep41"), "end");
    for (const std::string& path : {absent, loop, deep}) {
        EXPECT_EQ(ErrorOf([&] { ReadWholeFile(path, bytes); }), CannotOpenMessage(path)) << path;
        EXPECT_EQ(ErrorOf([&] { WriteFileAtomic(path, "x"); }), CannotCreateMessage(path)) << path;
        EXPECT_EQ(ProbeReplace(path, kOrdinaryFileMode), ReplaceProbe::FileRefuses) << path;
        EXPECT_TRUE(fs::is_symlink(path)) << path;
    }
    EXPECT_FALSE(fs::exists(dir.Path() / "unmounted"));
    // Forty links are still followed.
    ASSERT_TRUE(ReadWholeFile(dir.File("deep1"), bytes));
    EXPECT_EQ(bytes, "end");
}

// FAT, exFAT and NTFS mounted for everyone give every file one mode and
// refuse a change of it: a new file that grants nothing more than the old one
// is saved; one that would open the file to others is not. The start-up
// check comes to the same answer.
TEST(AtomicFile, AModeChangeTheFileSystemRefusesFailsOnlyWhenItWouldGrantMore) {
    TempDir dir;
    const mode_t umaskBefore = umask(022);
    SetModeChangeForTests([](int, mode_t) {
        errno = EPERM;
        return -1;
    });
    const std::string shared = dir.File("GuitarFreaksV3.skill");
    const std::string own = dir.File("vostrane.ini");
    WriteFileBytes(shared, "old");
    WriteFileBytes(own, "old");
    ASSERT_EQ(chmod(shared.c_str(), 0666), 0);
    ASSERT_EQ(chmod(own.c_str(), 0600), 0);

    EXPECT_EQ(ProbeReplace(shared, kOrdinaryFileMode), ReplaceProbe::Replaceable);
    WriteFileAtomic(shared, "new");
    EXPECT_EQ(ReadFileBytes(shared), "new");
    EXPECT_EQ(ModeOf(shared), 0644u); // as made: the umask took the rest

    EXPECT_EQ(ProbeReplace(own, kOrdinaryFileMode), ReplaceProbe::FileRefuses);
    EXPECT_EQ(ErrorOf([&] { WriteFileAtomic(own, "new"); }), CannotCreateMessage(own));
    EXPECT_EQ(ReadFileBytes(own), "old");
    EXPECT_EQ(ModeOf(own), 0600u);
    EXPECT_EQ(Listing(dir), (std::vector<std::string>{"GuitarFreaksV3.skill", "vostrane.ini"}));

    SetModeChangeForTests({});
    umask(umaskBefore);
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
    // The program's files among the targets above ("notes" and "" are not).
    const auto isOurFile = [](std::string_view name) {
        for (const char* ours : {"vostrane.ini", "GuitarFreaksV3.txt", "GuitarFreaksV3.skill",
                                 "GuitarFreaksV3.comment", "DrumManiaV3.skill"})
            if (name == ours) return true;
        return false;
    };
    const auto sweep = [&] { RemoveStaleTemporaries(dir.Dir(), isOurFile); };
    sweep();
    kept.push_back("vostrane.ini");
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(Listing(dir), kept);

    // On a file system without owners per file, every file, ours included,
    // belongs to the mount's owner: what we make there is ours.
    if (geteuid() == 0) {
        SetNewFileOwnerForTests(65534);
        sweep();
        SetNewFileOwnerForTests(std::nullopt);
        kept.erase(std::find(kept.begin(), kept.end(), "GuitarFreaksV3.comment.tmp" + deadWriter + "-0"));
        EXPECT_EQ(Listing(dir), kept);
    }
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
