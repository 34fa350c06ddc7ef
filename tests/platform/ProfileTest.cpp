#include "platform/Profile.h"

#include <cstring>
#include <dirent.h>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "common/TempHome.h"

namespace {

using namespace std::string_literals;
using namespace std::string_view_literals;
using platform::GetPrivateProfileInt;
using platform::GetPrivateProfileString;
using platform::WritePrivateProfileString;

constexpr const char* kFile = "test.ini";

unsigned ModeOf(const std::string& path)
{
    struct stat st = {};
    return ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0xFFFFFFFF;
}

std::vector<std::string> FolderEntries(const std::string& folder)
{
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (dirent* entry = ::readdir(dir)) {
            if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) {
                names.push_back(entry->d_name);
            }
        }
        ::closedir(dir);
    }
    return names;
}

class ProfileTest : public ::testing::Test
{
protected:
    std::string Write(const std::string& contents) { return m_home.WriteFile(kFile, contents); }
    std::string Path() const { return m_home.Path(kFile); }
    std::string Contents() const { return m_home.ReadFile(kFile); }
    bool Exists() const { return ::access(Path().c_str(), F_OK) == 0; }

    fwtest::TempHome m_home;
};

// ---- reading strings ----

struct ReadCase
{
    const char* name;
    std::string_view file;
    const char* section;
    const char* key;
    const char* defaultValue;
    std::uint32_t size;
    const char* expected;
};

void PrintTo(const ReadCase& c, std::ostream* os)
{
    *os << c.name;
}

const ReadCase kReadCases[] = {
    {"PlainValue", "[s]\r\nkey=value\r\n", "s", "key", "def", 64, "value"},
    {"SectionAndKeyIgnoreCase", "[Section1]\r\nName1=val\r\n", "SECTION1", "nAME1", "def", 64, "val"},
    {"BlanksInsideBrackets", "[ section1 ]\r\nname=val\r\n", "section1", "name", "def", 64, "val"},
    {"BlanksAroundNameAndValue", "[s]\r\n  name \t=  some value \t\r\n", "s", "name", "def", 64,
     "some value"},
    {"BlanksAroundQueriedNames", "[s]\r\nname=v\r\n", " s ", " name ", "def", 64, "v"},
    {"QuotesStripped", "[s]\r\nname=\"val2\"\r\n", "s", "name", "def", 64, "val2"},
    {"QuotesStrippedAfterTrim", "[s]\r\nname=  \" padded \"  \r\n", "s", "name", "def", 64, " padded "},
    {"LoneQuoteKept", "[s]\r\nname=\"\r\n", "s", "name", "def", 64, "\""},
    {"OneSidedQuoteKept", "[s]\r\nname=\"open\r\n", "s", "name", "def", 64, "\"open"},
    {"SingleQuotesKept", "[s]\r\nname='v'\r\n", "s", "name", "def", 64, "'v'"},
    {"EqualsInsideValue", "[s]\r\nname=a=b\r\n", "s", "name", "def", 64, "a=b"},
    {"LineWithoutEqualsIsNoKey", "[s]\r\nname1\r\n", "s", "name1", "def", 64, "def"},
    {"EmptyValueIsAKey", "[s]\r\nname2=\r\n", "s", "name2", "def", 64, ""},
    {"LfOnly", "[s]\nA=1\nB=2\n", "s", "b", "def", 64, "2"},
    {"CrOnly", "[s]\rA=1\rB=2\r", "s", "b", "def", 64, "2"},
    {"MixedLineEnds", "[t]\r\nx=0\n[s]\rA=1\r\nB=2", "s", "B", "def", 64, "2"},
    {"NoTrailingNewline", "[s]\r\nlast=end", "s", "last", "def", 64, "end"},
    {"MissingSection", "[s]\r\nkey=value\r\n", "other", "key", "def", 64, "def"},
    {"MissingKey", "[s]\r\nkey=value\r\n", "s", "nokey", "def", 64, "def"},
    {"KeyOfAnotherSection", "[a]\r\nk=1\r\n[b]\r\nj=2\r\n", "b", "k", "def", 64, "def"},
    {"KeyBeforeFirstSection", "k=1\r\n[s]\r\nj=2\r\n", "s", "k", "def", 64, "def"},
    {"DefaultTrailingBlanksRemoved", "[s]\r\n", "s", "k", "default  \t", 64, "default"},
    {"DefaultLeadingBlanksKept", "[s]\r\n", "s", "k", "  default", 64, "  default"},
    {"NullDefaultIsEmpty", "[s]\r\n", "s", "k", nullptr, 64, ""},
    {"ValueCut", "[s]\r\nk=value\r\n", "s", "k", "def", 4, "val"},
    {"ValueCutToNothing", "[s]\r\nk=value\r\n", "s", "k", "def", 1, ""},
    {"DefaultCut", "[s]\r\n", "s", "k", "default", 4, "def"},
    {"FirstOfDuplicateKeys", "[s]\r\nk=1\r\nK=2\r\n", "s", "k", "def", 64, "1"},
    {"FirstOfDuplicateSections", "[s]\r\na=1\r\n[S]\r\na=2\r\nb=3\r\n", "s", "a", "def", 64, "1"},
    {"BracketWithoutCloseIsNoSection", "[s]\r\n[broken\r\nk=1\r\n", "s", "k", "def", 64, "1"},
    {"TextAfterCloseBracket", "[s] ; note\r\nk=1\r\n", "s", "k", "def", 64, "1"},
    {"CommentLinesIgnored", "; top\r\n[s]\r\n; k=x\r\n# c\r\nk=1\r\n", "s", "k", "def", 64, "1"},
    {"Utf8MarkBeforeFirstSection", "\xEF\xBB\xBF[s]\r\nk=1\r\n", "s", "k", "def", 64, "1"},
    {"ValueStopsAtNul", "[s]\r\nk=ab\0cd\r\n"sv, "s", "k", "def", 64, "ab"},
    {"EmptySectionName", "[]\r\nk=1\r\n", "", "k", "def", 64, "1"},
    {"EmptyFile", "", "s", "k", "def", 64, "def"},
};

class ProfileReadTest : public ProfileTest, public ::testing::WithParamInterface<ReadCase>
{
};

TEST_P(ProfileReadTest, GivesValueOrDefault)
{
    const ReadCase& c = GetParam();
    Write(std::string(c.file));
    char buffer[64];
    std::memset(buffer, 'X', sizeof buffer);
    std::uint32_t n =
        GetPrivateProfileString(c.section, c.key, c.defaultValue, buffer, c.size, Path().c_str());
    EXPECT_STREQ(buffer, c.expected);
    EXPECT_EQ(n, std::strlen(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Cases, ProfileReadTest, ::testing::ValuesIn(kReadCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProfileTest, MissingFileGivesDefault)
{
    char buffer[16];
    EXPECT_EQ(GetPrivateProfileString("s", "k", "fallback ", buffer, sizeof buffer, Path().c_str()), 8u);
    EXPECT_STREQ(buffer, "fallback");
    EXPECT_EQ(GetPrivateProfileString("s", "k", "x", buffer, sizeof buffer, nullptr), 1u);
    EXPECT_EQ(GetPrivateProfileString("s", "k", "x", buffer, sizeof buffer, m_home.Root().c_str()), 1u);
}

TEST_F(ProfileTest, SizeZeroLeavesBufferUntouched)
{
    Write("[s]\r\nk=value\r\n");
    char buffer[4] = {'a', 'b', 'c', 'd'};
    EXPECT_EQ(GetPrivateProfileString("s", "k", "def", buffer, 0, Path().c_str()), 0u);
    EXPECT_EQ(GetPrivateProfileString("s", "missing", "def", buffer, 0, Path().c_str()), 0u);
    EXPECT_EQ(std::string(buffer, 4), "abcd");
    EXPECT_EQ(GetPrivateProfileString("s", "k", "def", nullptr, 10, Path().c_str()), 0u);
}

TEST_F(ProfileTest, NullSectionOrKeyGivesDefault)
{
    Write("[s]\r\nk=value\r\n");
    char buffer[16];
    EXPECT_EQ(GetPrivateProfileString(nullptr, "k", "def", buffer, sizeof buffer, Path().c_str()), 3u);
    EXPECT_STREQ(buffer, "def");
    EXPECT_EQ(GetPrivateProfileString("s", nullptr, "def", buffer, sizeof buffer, Path().c_str()), 3u);
    EXPECT_STREQ(buffer, "def");
}

TEST_F(ProfileTest, HugeLineAndJunkDoNotHideLaterKeys)
{
    std::string junk(1 << 20, 'x');
    junk += std::string("\0\x01\xFF[\r=\n", 7);
    Write(junk + "[s]\r\nk=found\r\n");
    char buffer[16];
    EXPECT_EQ(GetPrivateProfileString("s", "k", "def", buffer, sizeof buffer, Path().c_str()), 5u);
    EXPECT_STREQ(buffer, "found");
}

TEST_F(ProfileTest, FindTellsMissingFromEmpty)
{
    Write("[s]\r\nempty=\r\n");
    std::string value = "junk";
    EXPECT_TRUE(platform::FindPrivateProfileValue("s", "empty", Path().c_str(), value));
    EXPECT_EQ(value, "");
    value = "junk";
    EXPECT_FALSE(platform::FindPrivateProfileValue("s", "missing", Path().c_str(), value));
    EXPECT_EQ(value, "");
}

// ---- reading integers ----

struct IntCase
{
    const char* value; // null: no such key
    int defaultValue;
    std::uint32_t expected;
};

class ProfileIntTest : public ProfileTest, public ::testing::WithParamInterface<IntCase>
{
};

TEST_P(ProfileIntTest, ParsesLikeWindows)
{
    const IntCase& c = GetParam();
    Write(c.value != nullptr ? std::string("[s]\r\nn=") + c.value + "\r\n" : "[s]\r\n");
    EXPECT_EQ(GetPrivateProfileInt("s", "n", c.defaultValue, Path().c_str()), c.expected)
        << (c.value ? c.value : "(missing)");
}

INSTANTIATE_TEST_SUITE_P(Cases, ProfileIntTest,
                         ::testing::Values(IntCase{"42", 7, 42u}, IntCase{"  12  ", 7, 12u},
                                           IntCase{"+5", 7, 5u}, IntCase{"-1", 7, 0xFFFFFFFFu},
                                           IntCase{"4294967297", 7, 1u}, IntCase{"42A9", 7, 42u},
                                           IntCase{"\"15\"", 7, 15u}, IntCase{"abc", 7, 0u},
                                           IntCase{"", 7, 0u}, IntCase{"- 5", 7, 0u}, IntCase{"+", 7, 0u},
                                           IntCase{"0x10", 7, 0u}, IntCase{nullptr, 7, 7u},
                                           IntCase{nullptr, -3, 0xFFFFFFFDu}));

// ---- writing ----

struct WriteCase
{
    const char* name;
    const char* before; // null: no file
    const char* section;
    const char* key;
    const char* value;
    const char* after; // null: no file
};

void PrintTo(const WriteCase& c, std::ostream* os)
{
    *os << c.name;
}

const WriteCase kWriteCases[] = {
    {"NewFile", nullptr, "s", "k", "v", "[s]\r\nk=v\r\n"},
    {"NewKeyAfterLastKey", "[s]\r\na=1\r\nb=2\r\n[t]\r\nc=3\r\n", "s", "new", "x",
     "[s]\r\na=1\r\nb=2\r\nnew=x\r\n[t]\r\nc=3\r\n"},
    {"NewKeyBeforeTrailingBlankAndComment", "[s]\r\na=1\r\n; note\r\n\r\n[t]\r\n", "s", "new", "x",
     "[s]\r\na=1\r\nnew=x\r\n; note\r\n\r\n[t]\r\n"},
    {"NewKeyInEmptySection", "[s]\r\n\r\n[t]\r\n", "s", "new", "x", "[s]\r\nnew=x\r\n\r\n[t]\r\n"},
    {"NewKeyAfterUnterminatedLastLine", "[s]\r\na=1", "s", "b", "2", "[s]\r\na=1\r\nb=2\r\n"},
    {"NewKeyAfterUnterminatedHeader", "[s]", "s", "b", "2", "[s]\r\nb=2\r\n"},
    {"NewSectionAtEnd", "[s]\r\na=1\r\n", "t", "b", "2", "[s]\r\na=1\r\n[t]\r\nb=2\r\n"},
    {"NewSectionAfterUnterminatedLine", "[s]\r\na=1", "t", "b", "2", "[s]\r\na=1\r\n[t]\r\nb=2\r\n"},
    {"NewSectionInEmptyFile", "", "t", "b", "2", "[t]\r\nb=2\r\n"},
    {"ReplaceKeepsOtherLinesByteForByte", "junk\n[s]\ra=1\nb = old \r\nc=3\n", "S", "B", "new",
     "junk\n[s]\ra=1\nb=new\r\nc=3\n"},
    {"ReplaceInBracketsWithBlanks", "[ s ]\r\nk=1\r\n", "s", "k", "2", "[ s ]\r\nk=2\r\n"},
    {"ReplaceFirstOfDuplicateSections", "[s]\r\nk=1\r\n[s]\r\nk=2\r\n", "s", "k", "9",
     "[s]\r\nk=9\r\n[s]\r\nk=2\r\n"},
    {"EmptyValueWritesKeyEquals", "[s]\r\nk=1\r\n", "s", "k", "", "[s]\r\nk=\r\n"},
    {"EmptyValueNewKey", "[s]\r\n", "s", "k", "", "[s]\r\nk=\r\n"},
    {"SameValueLeavesFileAlone", "[s]\nk=1\n", "s", "k", "1", "[s]\nk=1\n"},
    {"NullValueDeletesKey", "[s]\r\na=1\r\nk=2\r\nb=3\r\n", "s", "K", nullptr, "[s]\r\na=1\r\nb=3\r\n"},
    {"NullValueDeletesEveryCopyInSection", "[s]\r\nk=1\r\na=2\r\nK=3\r\n[t]\r\nk=4\r\n", "s", "k", nullptr,
     "[s]\r\na=2\r\n[t]\r\nk=4\r\n"},
    {"NullValueMissingKey", "[s]\r\na=1\r\n", "s", "k", nullptr, "[s]\r\na=1\r\n"},
    {"NullValueMissingFile", nullptr, "s", "k", nullptr, nullptr},
    {"NullKeyDeletesSection", "top\r\n[a]\r\nx=1\r\n; c\r\n[s]\r\nk=1\r\n\r\n[b]\r\ny=2\r\n", "S", nullptr,
     nullptr, "top\r\n[a]\r\nx=1\r\n; c\r\n[b]\r\ny=2\r\n"},
    {"NullKeyDeletesEveryCopy", "[s]\r\na=1\r\n[t]\r\n[s]\r\nb=2\r\n", "s", nullptr, nullptr, "[t]\r\n"},
    {"NullKeyMissingSection", "[a]\r\n", "s", nullptr, nullptr, "[a]\r\n"},
    {"BytesBeforeFirstSectionKept", "\xEF\xBB\xBF; header\r\norphan=1\r\n[s]\r\n", "s", "k", "v",
     "\xEF\xBB\xBF; header\r\norphan=1\r\n[s]\r\nk=v\r\n"},
    {"MarkKeptWhenFirstSectionDeleted", "\xEF\xBB\xBF[s]\r\nk=1\r\n[t]\r\n", "s", nullptr, nullptr,
     "\xEF\xBB\xBF[t]\r\n"},
    {"NamesTrimmedOnWrite", "[s]\r\n", " s ", " k ", "v", "[s]\r\nk=v\r\n"},
    {"ValueWrittenAsGiven", "", "s", "k", " \"q\" ", "[s]\r\nk= \"q\" \r\n"},
};

class ProfileWriteTest : public ProfileTest, public ::testing::WithParamInterface<WriteCase>
{
};

TEST_P(ProfileWriteTest, GivesExactFileText)
{
    const WriteCase& c = GetParam();
    if (c.before != nullptr) {
        Write(c.before);
    }
    EXPECT_TRUE(WritePrivateProfileString(c.section, c.key, c.value, Path().c_str()));
    if (c.after == nullptr) {
        EXPECT_FALSE(Exists());
    } else {
        EXPECT_EQ(Contents(), c.after);
    }
    if (c.key != nullptr && c.value != nullptr) {
        std::string back;
        EXPECT_TRUE(platform::FindPrivateProfileValue(c.section, c.key, Path().c_str(), back));
    }
    EXPECT_EQ(FolderEntries(m_home.Root()).size(), c.after == nullptr ? 2u : 3u) << "temporary file left";
}

INSTANTIATE_TEST_SUITE_P(Cases, ProfileWriteTest, ::testing::ValuesIn(kWriteCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct RefusedCase
{
    const char* name;
    const char* section;
    const char* key;
    const char* value;
};

void PrintTo(const RefusedCase& c, std::ostream* os)
{
    *os << c.name;
}

class ProfileRefusedWriteTest : public ProfileTest, public ::testing::WithParamInterface<RefusedCase>
{
};

// Each of these would read back as something else, or inject lines into the file.
TEST_P(ProfileRefusedWriteTest, LeavesFileUnchanged)
{
    const RefusedCase& c = GetParam();
    const std::string before = "[s]\r\nk=1\r\n";
    Write(before);
    EXPECT_FALSE(WritePrivateProfileString(c.section, c.key, c.value, Path().c_str()));
    EXPECT_EQ(Contents(), before);
}

INSTANTIATE_TEST_SUITE_P(Cases, ProfileRefusedWriteTest,
                         ::testing::Values(RefusedCase{"ValueWithNewline", "s", "k", "x\r\n[evil]\r\nk=2"},
                                           RefusedCase{"ValueWithCr", "s", "k", "a\rb"},
                                           RefusedCase{"KeyWithEquals", "s", "a=b", "v"},
                                           RefusedCase{"KeyWithNewline", "s", "a\nb", "v"},
                                           RefusedCase{"EmptyKey", "s", "", "v"},
                                           RefusedCase{"BlankKey", "s", "  ", "v"},
                                           RefusedCase{"KeyLikeSection", "s", "[t", "]"},
                                           RefusedCase{"SectionWithNewline", "s]\n[t", "k", "v"},
                                           RefusedCase{"NullSection", nullptr, "k", "v"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProfileTest, WriteNeedsAPath)
{
    EXPECT_FALSE(WritePrivateProfileString("s", "k", "v", nullptr));
    EXPECT_FALSE(WritePrivateProfileString("s", "k", "v", ""));
}

TEST_F(ProfileTest, RewriteKeepsPermissionBits)
{
    for (unsigned mode : {0600u, 0640u, 0644u}) {
        Write("[s]\r\nk=1\r\n");
        ASSERT_EQ(::chmod(Path().c_str(), mode), 0);
        ASSERT_TRUE(WritePrivateProfileString("s", "k", "secret", Path().c_str()));
        EXPECT_EQ(ModeOf(Path()), mode);
    }
}

TEST_F(ProfileTest, NewFileIsPrivateWhateverTheUmask)
{
    mode_t old = ::umask(0);
    bool written = WritePrivateProfileString("s", "password", "c2VjcmV0", Path().c_str());
    ::umask(old);
    ASSERT_TRUE(written);
    EXPECT_EQ(ModeOf(Path()), 0600u);
}

TEST_F(ProfileTest, UnreadableOrOversizedFileIsNotReplaced)
{
    // A folder in the file's place cannot be read; nothing may be written over it.
    std::string folder = m_home.Path("folder.ini");
    ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
    EXPECT_FALSE(WritePrivateProfileString("s", "k", "v", folder.c_str()));

    Write("[s]\r\nk=1\r\n");
    ASSERT_EQ(::truncate(Path().c_str(), platform::kMaxProfileFileBytes + 1), 0);
    EXPECT_FALSE(WritePrivateProfileString("s", "k", "2", Path().c_str()));
    char buffer[8];
    EXPECT_EQ(GetPrivateProfileString("s", "k", "def", buffer, sizeof buffer, Path().c_str()), 3u);
    struct stat st = {};
    ASSERT_EQ(::stat(Path().c_str(), &st), 0);
    EXPECT_EQ(static_cast<std::uint32_t>(st.st_size), platform::kMaxProfileFileBytes + 1);
}

TEST_F(ProfileTest, WritesFromManyThreadsAreNotLost)
{
    constexpr int kThreads = 4;
    constexpr int kKeys = 25;
    std::vector<std::thread> threads;
    const std::string path = Path();
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t, &path] {
            for (int k = 0; k < kKeys; ++k) {
                std::string key = "t" + std::to_string(t) + "k" + std::to_string(k);
                WritePrivateProfileString("s", key.c_str(), key.c_str(), path.c_str());
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    for (int t = 0; t < kThreads; ++t) {
        for (int k = 0; k < kKeys; ++k) {
            std::string key = "t" + std::to_string(t) + "k" + std::to_string(k);
            char buffer[16];
            GetPrivateProfileString("s", key.c_str(), "", buffer, sizeof buffer, path.c_str());
            EXPECT_EQ(buffer, key);
        }
    }
}

} // namespace

// ---- several writes in one cycle ----

TEST_F(ProfileTest, EditorGivesTheSameFileAsSeparateWritesButWritesOnce)
{
    struct Step
    {
        const char* section;
        const char* key;
        const char* value;
    };
    const Step steps[] = {{"s", "a", "1"},       {"s", "b", "2"},       {"t", "c", "3"},
                          {"S", "A", "changed"}, {"s", "b", nullptr},   {"t", nullptr, nullptr},
                          {"u", "d", ""},        {"s", "bad\nkey", "x"}};
    const std::string before = "; top\r\n[s]\r\na=0\r\n";
    std::string separate = m_home.WriteFile("separate.ini", before);
    for (const Step& step : steps) {
        WritePrivateProfileString(step.section, step.key, step.value, separate.c_str());
    }

    Write(before);
    platform::ProfileEditor editor(Path().c_str());
    int refused = 0;
    for (const Step& step : steps) {
        refused += editor.WriteString(step.section, step.key, step.value) ? 0 : 1;
    }
    EXPECT_EQ(refused, 1); // the key with a line break
    EXPECT_EQ(Contents(), before) << "nothing is written before Commit";
    EXPECT_TRUE(editor.Commit());
    EXPECT_EQ(Contents(), m_home.ReadFile("separate.ini"));
    EXPECT_EQ(Contents(), "; top\r\n[s]\r\na=changed\r\n[u]\r\nd=\r\n");
}

TEST_F(ProfileTest, EditorWithoutCommitLeavesTheFileAlone)
{
    Write("[s]\r\na=1\r\n");
    {
        platform::ProfileEditor editor(Path().c_str());
        EXPECT_TRUE(editor.WriteString("s", "a", "2"));
    }
    EXPECT_EQ(Contents(), "[s]\r\na=1\r\n");
    EXPECT_TRUE(WritePrivateProfileString("s", "a", "3", Path().c_str())) << "the lock was released";
    EXPECT_EQ(Contents(), "[s]\r\na=3\r\n");
}
