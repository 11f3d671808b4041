#include "platform/PrivateProfile.h"

#include "platform/AtomicFile.h"
#include "platform/FolderLock.h"

#include "tests/TestSupport.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct LookupCase {
    const char* name;
    std::string text;
    std::string section;
    std::string key;
    std::string expected; // the default is always "DEF"
};

TEST(Ini, LookupRules) {
    const LookupCase cases[] = {
        {"EmptyFile", "", "a", "k", "DEF"},
        {"MissingSection", "[b]\r\nk=1\r\n", "a", "k", "DEF"},
        {"MissingKey", "[a]\r\nj=1\r\n", "a", "k", "DEF"},
        {"PresentEmptyKey", "[a]\r\nk=\r\n", "a", "k", ""},
        {"CaseInsensitiveNames", "[Config]\r\nKeY=v\r\n", "CONFIG", "key", "v"},
        {"NamesTrimmed", "  [ list ]  \r\n\t swA  =  TRUE \t\r\n", " list", "swA ", "TRUE"},
        {"FirstSectionWins", "[a]\r\nk=1\r\n[A]\r\nk=2\r\nj=3\r\n", "a", "k", "1"},
        {"LaterSameSectionUnseen", "[a]\r\nk=1\r\n[A]\r\nj=3\r\n", "a", "j", "DEF"},
        {"FirstKeyWins", "[a]\r\nk=1\r\nK=2\r\n", "a", "k", "1"},
        {"KeyOfNextSectionUnseen", "[a]\r\n[b]\r\nk=1\r\n", "a", "k", "DEF"},
        {"KeysBeforeAnySectionUnseen", "k=1\r\n[a]\r\n", "a", "k", "DEF"},
        {"ValueAfterFirstEquals", "[a]\r\nk=x=y\r\n", "a", "k", "x=y"},
        {"DoubleQuotesRemoved", "[a]\r\nk= \" x y \" \r\n", "a", "k", " x y "},
        {"SingleQuotesRemoved", "[a]\r\nk='x'\r\n", "a", "k", "x"},
        {"UnmatchedQuotesKept", "[a]\r\nk=\"x'\r\n", "a", "k", "\"x'"},
        {"LoneQuoteKept", "[a]\r\nk=\"\r\n", "a", "k", "\""},
        {"EmptyQuotes", "[a]\r\nk=\"\"\r\n", "a", "k", ""},
        {"OnlyOnePairRemoved", "[a]\r\nk=\"\"x\"\"\r\n", "a", "k", "\"x\""},
        {"CommentLineIsNoKey", "[a]\r\n;k=1\r\n  ;k=2\r\n", "a", "k", "DEF"},
        {"NoInlineComment", "[a]\r\nk=1 ; note\r\n", "a", "k", "1 ; note"},
        {"LineWithoutEqualsIsNoKey", "[a]\r\nk\r\n", "a", "k", "DEF"},
        {"LfLineEnds", "[a]\nk=1\nj=2", "a", "j", "2"},
        // Files from other systems: every lone CR ends a line too.
        {"CrLineEnds", "[config]\rplay=1\rtop=2\r", "config", "top", "2"},
        {"LoneCrInCrLfFile", "[form]\r\ntop=2\rleft=3\r\n", "form", "top", "2"},
        {"LfCrLineEnds", "[a]\n\rk=1\n\r", "a", "k", "1"},
        {"CrCrLfLeavesNoCr", "[a]\r\r\nk=TRUE\r\r\n", "a", "k", "TRUE"},
        {"ByteOrderMarkSkipped", "\xEF\xBB\xBF[a]\r\nk=1\r\n", "a", "k", "1"},
        // "ア" is 83 41 and "ヂ" 83 61: their trail bytes differ only in ASCII case.
        {"DoubleByteNamesExact", "[\x83\x61]\r\nk=1\r\n", "\x83\x41", "k", "DEF"},
        {"DoubleByteNamesMatch", "[\x83\x41x]\r\nk=1\r\n", "\x83\x41X", "k", "1"},
    };
    for (const LookupCase& c : cases) {
        EXPECT_EQ(ProfileLookup(c.text, c.section, c.key, "DEF"), c.expected) << c.name;
        // An image of the same text answers alike, also when asked again.
        const ProfileImage image(c.text);
        EXPECT_EQ(image.Lookup(c.section, c.key, "DEF"), c.expected) << c.name;
        EXPECT_EQ(image.Lookup(c.section, c.key, "DEF"), c.expected) << c.name;
    }
}

TEST(Ini, ValuesAndDefaultsAreCutTo2047Bytes) {
    const std::string longValue(3000, 'v');
    EXPECT_EQ(ProfileLookup("[a]\r\nk=" + longValue + "\r\n", "a", "k", ""), std::string(2047, 'v'));
    EXPECT_EQ(ProfileLookup("", "a", "k", longValue), std::string(2047, 'v'));
}

struct UpdateCase {
    const char* name;
    std::string before;
    std::string section;
    std::string key;
    std::string value;
    std::string after;
};

// Each rewrite also reads back the value written, line breaks as blanks.
TEST(Ini, UpdateRules) {
    const UpdateCase cases[] = {
        {"NewFile", "", "s", "k", "v", "[s]\r\nk=v\r\n"},
        {"ReplaceInPlaceKeepsOtherLines", "; top\n[s]\nk=old\nj=2\n", "s", "k", "v",
         "; top\n[s]\nk=v\r\nj=2\n"},
        {"ReplaceKeepsFileKeyName", "[S]\r\n  KEY = 1\r\n", "s", "key", "2", "[S]\r\nKEY=2\r\n"},
        {"ReplaceOnlyFirstKey", "[a]\r\nk=1\r\nk=2\r\n", "a", "k", "v", "[a]\r\nk=v\r\nk=2\r\n"},
        {"AppendAfterLastNonBlankLine", "[a]\r\nx=1\r\n\r\n[b]\r\ny=2\r\n", "a", "k", "v",
         "[a]\r\nx=1\r\nk=v\r\n\r\n[b]\r\ny=2\r\n"},
        {"AppendIntoEmptySection", "[a]\r\n\r\n[b]\r\n", "a", "k", "v", "[a]\r\nk=v\r\n\r\n[b]\r\n"},
        {"AppendAfterCommentLine", "[a]\r\n;k=1\r\n", "a", "k", "v", "[a]\r\n;k=1\r\nk=v\r\n"},
        {"AppendToUnterminatedLastLine", "[a]\r\nx=1", "a", "k", "v", "[a]\r\nx=1\r\nk=v\r\n"},
        {"AppendIntoFirstOfTwoSections", "[a]\r\nx=1\r\n[a]\r\nk=2\r\n", "a", "k", "v",
         "[a]\r\nx=1\r\nk=v\r\n[a]\r\nk=2\r\n"},
        {"NewSectionAtEnd", "[a]\r\nx=1\r\n", "b", "k", "v", "[a]\r\nx=1\r\n\r\n[b]\r\nk=v\r\n"},
        {"NewSectionAfterBlankLine", "[a]\r\nx=1\r\n\r\n", "b", "k", "v", "[a]\r\nx=1\r\n\r\n[b]\r\nk=v\r\n"},
        {"NewSectionAfterUnterminatedLine", "[a]\nx=1", "b", "k", "v", "[a]\nx=1\r\n\r\n[b]\r\nk=v\r\n"},
        {"LineBreaksInValueBecomeBlanks", "", "s", "k", "a\r\nb\rc", "[s]\r\nk=a  b c\r\n"},
        {"UntouchedLinesKeepTheirEnds", "[a]\rx=1\n\rk=old\r\r\n", "a", "k", "v", "[a]\rx=1\n\rk=v\r\n\r\n"},
        {"AppendAfterLoneCrLine", "[a]\rx=1\r", "a", "k", "v", "[a]\rx=1\rk=v\r\n"},
        {"ByteOrderMarkKeptInPlace", "\xEF\xBB\xBF[a]\r\nk=1\r\n", "a", "k", "2",
         "\xEF\xBB\xBF[a]\r\nk=2\r\n"},
        {"ByteOrderMarkBeforeNewSection", "\xEF\xBB\xBF", "a", "k", "v", "\xEF\xBB\xBF[a]\r\nk=v\r\n"},
        {"BareKeyLineFilledIn", "[config]\r\n play \r\nx=1\r\n", "config", "PLAY", "1",
         "[config]\r\nplay=1\r\nx=1\r\n"},
        {"KeyLineWinsOverBareLine", "[a]\r\nk\r\nk=1\r\n", "a", "k", "2", "[a]\r\nk\r\nk=2\r\n"},
    };
    for (const UpdateCase& c : cases) {
        const std::string after = ProfileUpdate(c.before, c.section, c.key, c.value);
        EXPECT_EQ(after, c.after) << c.name;
        std::string readBack = c.value;
        for (char& ch : readBack)
            if (ch == '\r' || ch == '\n') ch = ' ';
        EXPECT_EQ(ProfileLookup(after, c.section, c.key, "DEF"), readBack) << c.name;
    }
}

TEST(IniFile, WrittenValueReadsBack) {
    TempDir dir;
    const std::string path = dir.File("vostrane.ini");
    EXPECT_EQ(ReadProfileString(path, "list", "swA", "FALSE"), "FALSE");
    ASSERT_TRUE(WriteProfileString(path, "list", "swA", "TRUE"));
    ASSERT_TRUE(WriteProfileString(path, "list", "swB", "1"));
    EXPECT_EQ(ReadProfileString(path, "list", "swA", "x"), "TRUE");
    EXPECT_EQ(ReadFileBytes(path), "[list]\r\nswA=TRUE\r\nswB=1\r\n");
    // It holds the account's password: a new file is its owner's alone.
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

// Two editions closing together in one folder: each write reads, changes and
// replaces the file under one lock, so no process loses another's keys.
TEST(IniFile, WritersInSeveralProcessesLoseNoKey) {
    TempDir dir;
    const std::string path = dir.File("vostrane.ini");
    constexpr int kProcesses = 4;
    constexpr int kKeys = 15;
    std::vector<pid_t> children;
    for (int p = 0; p < kProcesses; ++p) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            bool ok = true;
            for (int k = 0; k < kKeys; ++k)
                ok = WriteProfileString(path, "s" + std::to_string(k % 3),
                                        "p" + std::to_string(p) + "k" + std::to_string(k), "v") &&
                     ok;
            _exit(ok ? 0 : 1);
        }
        children.push_back(child);
    }
    for (pid_t child : children) {
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    for (int p = 0; p < kProcesses; ++p)
        for (int k = 0; k < kKeys; ++k)
            EXPECT_EQ(ReadProfileString(path, "s" + std::to_string(k % 3),
                                        "p" + std::to_string(p) + "k" + std::to_string(k), "lost"),
                      "v")
                << p << " " << k;
}

// A writer that does not let go makes the write fail in time, not hang.
TEST(IniFile, ALockHeldElsewhereFailsTheWriteInTime) {
    TempDir dir;
    const std::string path = dir.File("vostrane.ini");
    WriteFileBytes(path, "[s]\r\nk=old\r\n");
    HoldingChild other([&] { return (new FolderLock(dir.Dir(), std::chrono::milliseconds(0)))->Held(); });
    ASSERT_TRUE(other.Took());
    EXPECT_FALSE(WriteProfileStrings(path, {{"s", "k", "new"}}, std::chrono::milliseconds(50)));
    other.Kill();
    EXPECT_EQ(ProfileLookup(ReadFileBytes(path), "s", "k", ""), "old");
    EXPECT_TRUE(WriteProfileString(path, "s", "k", "new"));
}

TEST(IniFile, FolderInPlaceOfFileReadsDefaultAndFailsWrite) {
    TempDir dir;
    EXPECT_FALSE(WriteProfileString(dir.File("none/vostrane.ini"), "s", "k", "v"));
    const std::string path = dir.File("vostrane.ini");
    ASSERT_EQ(mkdir(path.c_str(), 0755), 0);
    EXPECT_EQ(ReadProfileString(path, "s", "k", "d"), "d");
    EXPECT_FALSE(WriteProfileString(path, "s", "k", "v"));
    // A named pipe neither blocks the reader nor takes the write.
    const std::string pipe = dir.File("pipe.ini");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0644), 0);
    EXPECT_EQ(ReadProfileString(pipe, "s", "k", "d"), "d");
    EXPECT_FALSE(WriteProfileString(pipe, "s", "k", "v"));
}

// Write and search permission are all a whole-file replacement needs; the
// folder cannot be locked then, and is written without the lock.
TEST(IniFile, AFolderWithoutReadPermissionStillSaves) {
    TempDir dir;
    const std::filesystem::path folder = dir.Path() / "shared";
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    ASSERT_EQ(chmod(folder.c_str(), 0333), 0);
    const std::string path = (folder / "vostrane.ini").string();
    {
        UnprivilegedScope unprivileged(dir);
        EXPECT_TRUE(WriteProfileString(path, "s", "k", "v"));
        EXPECT_EQ(ReadProfileString(path, "s", "k", ""), "v");
    }
    ASSERT_EQ(chmod(folder.c_str(), 0755), 0);
}

// A settings file the reader would refuse is never written.
TEST(IniFile, AWriteBeyondWhatTheReaderTakesFails) {
    TempDir dir;
    const std::string path = dir.File("vostrane.ini");
    const std::string full = "[s]\r\nbig=" + std::string(kLocalFileLimit - 16, 'x') + "\r\n";
    WriteFileBytes(path, full);
    EXPECT_EQ(ProbeProfileWrite(path, {{"s", "k", "0123456789"}}), ReplaceProbe::FileRefuses);
    EXPECT_FALSE(WriteProfileString(path, "s", "k", "0123456789"));
    EXPECT_EQ(ReadFileBytes(path), full);
    EXPECT_EQ(ProbeProfileWrite(path, {{"s", "k", "1"}}), ReplaceProbe::Replaceable);
    EXPECT_TRUE(WriteProfileString(path, "s", "k", "1"));
}

TEST(IniFile, ReadOnlyFileFailsWriteAndStaysUnchanged) {
    TempDir dir;
    const std::string path = dir.File("vostrane.ini");
    WriteFileBytes(path, "[s]\r\nk=old\r\n");
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    {
        UnprivilegedScope unprivileged(dir);
        EXPECT_FALSE(WriteProfileString(path, "s", "k", "new"));
    }
    EXPECT_EQ(ReadFileBytes(path), "[s]\r\nk=old\r\n");
}

} // namespace
