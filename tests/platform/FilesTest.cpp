#include "platform/Files.h"

#include <algorithm>
#include <cstring>
#include <dirent.h>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "common/TempHome.h"

namespace {

using platform::ReadWholeFile;
using platform::WriteFileAtomically;

unsigned ModeOf(const std::string& path)
{
    struct stat st = {};
    return ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0xFFFFFFFF;
}

std::set<std::string> FolderEntries(const std::string& folder)
{
    std::set<std::string> names;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (dirent* entry = ::readdir(dir)) {
            if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) {
                names.insert(entry->d_name);
            }
        }
        ::closedir(dir);
    }
    return names;
}

class FilesTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_EQ(::mkdir(Folder().c_str(), 0700), 0); }
    std::string Folder() const { return m_home.Path("work"); }
    std::string File(const std::string& name = "file") const { return Folder() + "/" + name; }

    fwtest::TempHome m_home;
};

TEST_F(FilesTest, ReadsEveryByte)
{
    const std::string bytes("a\0b\r\n\xFF", 6);
    m_home.WriteFile("work/file", bytes);
    std::string contents = "old";
    ASSERT_TRUE(ReadWholeFile(File(), contents));
    EXPECT_EQ(contents, bytes);
}

TEST_F(FilesTest, ReadRefusesWhatIsNoFile)
{
    std::string contents;
    EXPECT_FALSE(ReadWholeFile(File("missing"), contents));
    EXPECT_FALSE(ReadWholeFile(Folder(), contents));
    ASSERT_EQ(::mkfifo(File("fifo").c_str(), 0600), 0);
    EXPECT_FALSE(ReadWholeFile(File("fifo"), contents)) << "must neither block nor read a pipe";
}

TEST_F(FilesTest, ReadCap)
{
    m_home.WriteFile("work/file", std::string(100, 'x'));
    std::string contents;
    EXPECT_TRUE(ReadWholeFile(File(), contents, 100));
    EXPECT_EQ(contents.size(), 100u);
    EXPECT_FALSE(ReadWholeFile(File(), contents, 99));
    EXPECT_TRUE(contents.empty());
    EXPECT_FALSE(ReadWholeFile(File(), contents, 0));
}

TEST_F(FilesTest, NewFileGetsExactMode)
{
    mode_t old = ::umask(0077);
    bool written = WriteFileAtomically(File(), "data", 0644);
    bool written2 = WriteFileAtomically(File("private"), "data", 0600);
    ::umask(old);
    ASSERT_TRUE(written);
    ASSERT_TRUE(written2);
    EXPECT_EQ(ModeOf(File()), 0644u);
    EXPECT_EQ(ModeOf(File("private")), 0600u);
    EXPECT_EQ(m_home.ReadFile("work/file"), "data");
}

TEST_F(FilesTest, ExistingFileKeepsMode)
{
    for (unsigned mode : {0600u, 0640u, 0664u}) {
        m_home.WriteFile("work/file", "old");
        ASSERT_EQ(::chmod(File().c_str(), mode), 0);
        ASSERT_TRUE(WriteFileAtomically(File(), "new contents", 0644));
        EXPECT_EQ(ModeOf(File()), mode);
        EXPECT_EQ(m_home.ReadFile("work/file"), "new contents");
    }
    EXPECT_EQ(FolderEntries(Folder()), std::set<std::string>{"file"}) << "temporary file left";
}

TEST_F(FilesTest, WritesThroughSymbolicLink)
{
    m_home.WriteFile("work/target", "old");
    ASSERT_EQ(::chmod(File("target").c_str(), 0600), 0);
    ASSERT_EQ(::symlink("target", File("link").c_str()), 0);
    ASSERT_TRUE(WriteFileAtomically(File("link"), "new"));
    struct stat st = {};
    ASSERT_EQ(::lstat(File("link").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode)) << "the link was replaced by a file";
    EXPECT_EQ(m_home.ReadFile("work/target"), "new");
    EXPECT_EQ(ModeOf(File("target")), 0600u);
}

TEST_F(FilesTest, FailureLeavesNothingBehind)
{
    EXPECT_FALSE(WriteFileAtomically(Folder() + "/missing/file", "x"));
    EXPECT_FALSE(WriteFileAtomically("", "x"));
    ASSERT_EQ(::mkdir(File("sub").c_str(), 0700), 0);
    EXPECT_FALSE(WriteFileAtomically(File("sub"), "x")) << "a folder is not replaced";
    EXPECT_EQ(FolderEntries(Folder()), std::set<std::string>{"sub"});
}

TEST_F(FilesTest, ReadOnlyFolderKeepsOldFile)
{
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root writes into read-only folders";
    }
    m_home.WriteFile("work/file", "old");
    ASSERT_EQ(::chmod(Folder().c_str(), 0500), 0);
    EXPECT_FALSE(WriteFileAtomically(File(), "new"));
    ::chmod(Folder().c_str(), 0700);
    EXPECT_EQ(m_home.ReadFile("work/file"), "old");
    EXPECT_EQ(FolderEntries(Folder()), std::set<std::string>{"file"});
}

TEST_F(FilesTest, ConcurrentWritersNeverMix)
{
    // Each writer's text is whole; the file always holds exactly one of them.
    constexpr int kWriters = 4;
    std::vector<std::string> texts;
    for (int i = 0; i < kWriters; ++i) {
        texts.push_back(std::string(64 * 1024, static_cast<char>('a' + i)));
    }
    std::vector<std::thread> threads;
    for (int i = 0; i < kWriters; ++i) {
        threads.emplace_back([&, i] {
            for (int n = 0; n < 10; ++n) {
                EXPECT_TRUE(WriteFileAtomically(File(), texts[i]));
            }
        });
    }
    for (int n = 0; n < 50; ++n) {
        std::string seen;
        if (ReadWholeFile(File(), seen)) {
            EXPECT_NE(std::find(texts.begin(), texts.end(), seen), texts.end()) << "torn file";
        }
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(FolderEntries(Folder()), std::set<std::string>{"file"});
}

} // namespace
