#include "misc/CxFile.h"

#include "common/TempHome.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Cases print as their names, so that test listings stay readable.
template <class Case> auto operator<<(std::ostream& os, const Case& c) -> decltype(c.name, os)
{
    return os << c.name;
}

using namespace std::string_literals;

class CxFileTest : public testing::Test
{
protected:
    std::string PathOf(const char* name) const { return m_home.Path(name); }
    std::string WriteBytes(const char* name, const std::string& bytes) const
    {
        return m_home.WriteFile(name, bytes);
    }
    std::string ReadBytes(const char* name) const { return m_home.ReadFile(name); }

    // Opens a file holding bytes for reading.
    void OpenWith(CxFile& file, const std::string& bytes) const
    {
        ASSERT_TRUE(file.Open(WriteBytes("in.bin", bytes).c_str(), "rb"));
    }

    fwtest::TempHome m_home;
};

// ---- Exact bytes of every write ----

struct WriteCase
{
    const char* name;
    std::function<bool(CxFile&)> write;
    std::string bytes;
};

class CxFileWrite : public CxFileTest, public testing::WithParamInterface<WriteCase>
{
};

TEST_P(CxFileWrite, GivesTheExactBytes)
{
    const std::string path = PathOf("out.bin");
    {
        CxFile file;
        ASSERT_TRUE(file.Open(path.c_str(), "wb"));
        EXPECT_TRUE(GetParam().write(file));
        EXPECT_TRUE(file.Close());
    }
    EXPECT_EQ(ReadBytes("out.bin"), GetParam().bytes);
}

const WriteCase kWrites[] = {
    {"Text", [](CxFile& f) { return f.WriteString("abc"); }, "\x03\0\0\0abc"s},
    {"EmptyText", [](CxFile& f) { return f.WriteString(""); }, "\0\0\0\0"s},
    {"NullText", [](CxFile& f) { return f.WriteString(static_cast<const char*>(nullptr)); }, "\0\0\0\0"s},
    {"TextWithNul", [](CxFile& f) { return f.WriteString("a\0b"s); }, "\x03\0\0\0a\0b"s},
    {"AnsiText", [](CxFile& f) { return f.WriteString("\xE9t\xE9"); }, "\x03\0\0\0\xE9t\xE9"s},
    {"IntOne", [](CxFile& f) { return f.WriteInt(1); }, "\x01\0\0\0"s},
    {"IntNegative", [](CxFile& f) { return f.WriteInt(-2); }, "\xFE\xFF\xFF\xFF"s},
    {"IntByteOrder", [](CxFile& f) { return f.WriteInt(0x12345678); }, "\x78\x56\x34\x12"s},
    {"BoolTrue", [](CxFile& f) { return f.WriteInt(true); }, "\x01\0\0\0"s},
    {"BoolFalse", [](CxFile& f) { return f.WriteInt(false); }, "\0\0\0\0"s},
    {"DoubleOne", [](CxFile& f) { return f.WriteDouble(1.0); }, "\0\0\0\0\0\0\xF0\x3F"s},
    {"DoubleDate", [](CxFile& f) { return f.WriteDouble(41334.5); }, "\0\0\0\0\xD0\x2E\xE4\x40"s},
    {"Line", [](CxFile& f) { return f.WriteLine("log line"); }, "log line\r\n"s},
    {"NullLine", [](CxFile& f) { return f.WriteLine(nullptr); }, "\r\n"s},
    {"RecordWithoutPadding",
     [](CxFile& f) { return f.WriteInt(7) && f.WriteString("x") && f.WriteDouble(0.0) && f.WriteInt(true); },
     "\x07\0\0\0\x01\0\0\0x\0\0\0\0\0\0\0\0\x01\0\0\0"s},
};

INSTANTIATE_TEST_SUITE_P(Encodings, CxFileWrite, testing::ValuesIn(kWrites),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CxFileTest, ARecordReadsBackAsWritten)
{
    const std::string path = PathOf("record.bin");
    {
        CxFile file;
        ASSERT_TRUE(file.Open(path.c_str(), "wb"));
        file.WriteString("Smith");
        file.WriteInt(-123456);
        file.WriteDouble(41334.25);
        file.WriteString("");
        file.WriteInt(true);
    }
    CxFile file;
    ASSERT_TRUE(file.Open(path.c_str(), "rb"));
    char name[16] = "x";
    char empty[16] = "not empty";
    int number = 0;
    int flag = 0;
    double date = 0;
    int length = -1;
    EXPECT_TRUE(file.ReadString(name, &length));
    EXPECT_STREQ(name, "Smith");
    EXPECT_EQ(length, 5);
    EXPECT_TRUE(file.ReadInt(&number));
    EXPECT_EQ(number, -123456);
    EXPECT_TRUE(file.ReadDouble(&date));
    EXPECT_EQ(date, 41334.25);
    EXPECT_TRUE(file.ReadString(empty, &length));
    EXPECT_STREQ(empty, "");
    EXPECT_EQ(length, 0);
    EXPECT_TRUE(file.ReadInt(&flag));
    EXPECT_EQ(flag, 1);
    EXPECT_TRUE(file.AtEnd());
}

// ---- Reading texts: capacities, damaged lengths, truncated files ----

struct ReadStringCase
{
    const char* name;
    std::string bytes; // the file; an int 7 follows where alignment is checked
    int capacity;
    bool result;
    const char* text;  // into the fixed buffer ("prepared" when untouched)
    const char* whole; // into a std::string ("prepared" when untouched)
    int length;        // through the length out
    bool nextIntReads; // whether the value after the text is still there
};

class CxFileReadString : public CxFileTest, public testing::WithParamInterface<ReadStringCase>
{
};

TEST_P(CxFileReadString, IntoAFixedBuffer)
{
    const auto& c = GetParam();
    CxFile file;
    OpenWith(file, c.bytes);
    char buffer[64] = "prepared";
    int length = 12345;
    EXPECT_EQ(file.ReadString(buffer, c.capacity, &length), c.result);
    EXPECT_STREQ(buffer, c.text);
    EXPECT_EQ(length, c.length);
    int next = 0;
    EXPECT_EQ(file.ReadInt(&next), c.nextIntReads);
    EXPECT_EQ(next, c.nextIntReads ? 7 : 0);
}

TEST_P(CxFileReadString, IntoAString)
{
    const auto& c = GetParam();
    CxFile file;
    OpenWith(file, c.bytes);
    std::string text = "prepared";
    int length = 12345;
    EXPECT_EQ(file.ReadString(text, &length), c.result);
    EXPECT_EQ(text, c.whole);
    EXPECT_EQ(length, c.length);
    int next = 0;
    EXPECT_EQ(file.ReadInt(&next), c.nextIntReads);
}

const std::string kSeven = "\x07\0\0\0"s;

const ReadStringCase kReadStrings[] = {
    {"Fits", "\x03\0\0\0abc"s + kSeven, 16, true, "abc", "abc", 3, true},
    {"FitsExactly", "\x03\0\0\0abc"s + kSeven, 4, true, "abc", "abc", 3, true},
    {"CutToCapacity", "\x03\0\0\0abc"s + kSeven, 3, true, "ab", "abc", 3, true},
    {"CapacityOne", "\x03\0\0\0abc"s + kSeven, 1, true, "", "abc", 3, true},
    {"LongTextCut", "\x20\0\0\0"s + std::string(32, 'q') + kSeven, 5, true, "qqqq",
     "qqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqq", 32, true},
    {"LengthZero", "\0\0\0\0"s + kSeven, 16, true, "", "", 0, true},
    {"NegativeLength", "\xFF\xFF\xFF\xFF"s + kSeven + kSeven, 16, false, "", "", -1, false},
    {"MostNegativeLength", "\0\0\0\x80"s + kSeven, 16, false, "", "", INT32_MIN, false},
    {"AbsurdLength", "\xFF\xFF\xFF\x7F"s + "abc" + kSeven, 16, false, "", "", INT32_MAX, false},
    {"LengthPastTheEnd", "\x0A\0\0\0abc"s, 16, false, "", "", 10, false},
    {"LengthOneByteShort", "\x05\0\0\0abcd"s, 16, false, "", "", 5, false},
    {"TextEndsTheFile", "\x03\0\0\0abc"s, 16, true, "abc", "abc", 3, false},
    {"LengthCutShort", "\x03\0"s, 16, false, "prepared", "prepared", 0, false},
    {"EmptyFile", ""s, 16, false, "prepared", "prepared", 0, false},
};

INSTANTIATE_TEST_SUITE_P(Lengths, CxFileReadString, testing::ValuesIn(kReadStrings),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CxFileTest, ArrayDestinationTakesItsOwnCapacity)
{
    CxFile file;
    OpenWith(file, "\x06\0\0\0abcdef"s + kSeven);
    char small[4] = "zz";
    int length = 0;
    EXPECT_TRUE(file.ReadString(small, &length));
    EXPECT_STREQ(small, "abc");
    EXPECT_EQ(length, 6);
    int next = 0;
    EXPECT_TRUE(file.ReadInt(&next));
    EXPECT_EQ(next, 7);
}

// A file that another program is still writing: a length is judged by the file as it is
// when the text is read, not as it was when it was opened.
TEST_F(CxFileTest, TextWrittenAfterOpeningIsRead)
{
    const std::string path = WriteBytes("growing.bin", "\x03\0\0\0abc\x05\0\0\0"s);
    CxFile file;
    ASSERT_TRUE(file.Open(path.c_str(), "rb"));
    char text[16];
    ASSERT_TRUE(file.ReadString(text));
    EXPECT_STREQ(text, "abc");
    std::FILE* writer = std::fopen(path.c_str(), "ab");
    ASSERT_NE(writer, nullptr);
    std::fputs("hello", writer);
    std::fclose(writer);
    int length = 0;
    EXPECT_TRUE(file.ReadString(text, &length));
    EXPECT_STREQ(text, "hello");
    EXPECT_EQ(length, 5);
}

// ---- Reading numbers from truncated files ----

struct ShortReadCase
{
    const char* name;
    std::string bytes;
    bool isDouble;
    bool result;
};

class CxFileNumbers : public CxFileTest, public testing::WithParamInterface<ShortReadCase>
{
};

TEST_P(CxFileNumbers, ShortReadLeavesTheDestination)
{
    const auto& c = GetParam();
    CxFile file;
    OpenWith(file, c.bytes);
    int number = 99;
    double real = 99.0;
    const bool read = c.isDouble ? file.ReadDouble(&real) : file.ReadInt(&number);
    EXPECT_EQ(read, c.result);
    if (!c.result) {
        EXPECT_EQ(number, 99);
        EXPECT_EQ(real, 99.0);
        EXPECT_FALSE(file.ReadInt(&number)) << "nothing follows a short read";
        EXPECT_EQ(number, 99);
    }
}

const ShortReadCase kShortReads[] = {
    {"IntWhole", "\x01\0\0\0"s, false, true},
    {"IntThreeBytes", "\x01\0\0"s, false, false},
    {"IntEmpty", ""s, false, false},
    {"DoubleWhole", "\0\0\0\0\0\0\xF0\x3F"s, true, true},
    {"DoubleSevenBytes", "\0\0\0\0\0\0\xF0"s, true, false},
    {"DoubleFourBytes", "\0\0\0\0"s, true, false},
};

INSTANTIATE_TEST_SUITE_P(Truncated, CxFileNumbers, testing::ValuesIn(kShortReads),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- Arguments and streams ----

TEST_F(CxFileTest, RefusesMissingArgumentsAndClosedStreams)
{
    const std::string path = WriteBytes("present.bin", "\x01\0\0\0"s);
    CxFile file;
    EXPECT_FALSE(file.Open(nullptr, "rb"));
    EXPECT_FALSE(file.Open("", "rb"));
    EXPECT_FALSE(file.Open(path.c_str(), nullptr));
    EXPECT_FALSE(file.Open(path.c_str(), ""));
    EXPECT_FALSE(file.Open(PathOf("missing.bin").c_str(), "rb"));
    EXPECT_FALSE(file.Open(m_home.Root().c_str(), "rb")) << "a folder is not a file";
    EXPECT_FALSE(file.Open(PathOf("no/such/folder/x.bin").c_str(), "wb"));
    EXPECT_FALSE(file.IsOpen());

    char text[8] = "kept";
    int number = 5;
    double real = 5.0;
    EXPECT_FALSE(file.ReadString(text, 8));
    EXPECT_FALSE(file.ReadInt(&number));
    EXPECT_FALSE(file.ReadDouble(&real));
    EXPECT_FALSE(file.WriteString("x"));
    EXPECT_FALSE(file.WriteInt(1));
    EXPECT_FALSE(file.WriteDouble(1.0));
    EXPECT_FALSE(file.WriteLine("x"));
    EXPECT_STREQ(text, "kept");
    EXPECT_EQ(number, 5);
    EXPECT_TRUE(file.Close());

    ASSERT_TRUE(file.Open(path.c_str(), "rb"));
    EXPECT_FALSE(file.ReadString(nullptr, 8));
    EXPECT_FALSE(file.ReadString(text, 0));
    EXPECT_FALSE(file.ReadInt(nullptr));
    EXPECT_FALSE(file.ReadDouble(nullptr));
    EXPECT_TRUE(file.ReadInt(&number)) << "refused calls read nothing";
    EXPECT_EQ(number, 1);
}

TEST_F(CxFileTest, AppendAddsToTheEnd)
{
    const std::string path = WriteBytes("log.txt", "first\r\n");
    CxFile file;
    ASSERT_TRUE(file.Open(path.c_str(), "ab"));
    EXPECT_TRUE(file.WriteLine("second"));
    EXPECT_TRUE(file.Close());
    EXPECT_EQ(ReadBytes("log.txt"), "first\r\nsecond\r\n");
}

// A file written from scratch replaces the old one only when complete, keeps its mode and
// leaves nothing else behind.
TEST_F(CxFileTest, RewriteReplacesTheFileWhenClosed)
{
    const std::string path = WriteBytes("data/params.dat", "old contents");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    {
        CxFile file;
        ASSERT_TRUE(file.Open(path.c_str(), "wb"));
        ASSERT_TRUE(file.WriteInt(1));
        EXPECT_EQ(ReadBytes("data/params.dat"), "old contents") << "readers see the old file meanwhile";
    }
    EXPECT_EQ(ReadBytes("data/params.dat"), "\x01\0\0\0"s);
    struct stat info;
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(PathOf("data"))) {
        ++entries;
    }
    EXPECT_EQ(entries, 1);
}

TEST_F(CxFileTest, OpeningAgainClosesTheFirstFile)
{
    const std::string first = PathOf("first.bin");
    CxFile file;
    ASSERT_TRUE(file.Open(first.c_str(), "wb"));
    file.WriteInt(3);
    ASSERT_TRUE(file.Open(WriteBytes("second.bin", "\x04\0\0\0"s).c_str(), "rb"));
    EXPECT_EQ(ReadBytes("first.bin"), "\x03\0\0\0"s);
    int number = 0;
    EXPECT_TRUE(file.ReadInt(&number));
    EXPECT_EQ(number, 4);
}

TEST_F(CxFileTest, AtEndFollowsTheReads)
{
    CxFile file;
    EXPECT_TRUE(file.AtEnd());
    OpenWith(file, "\x01\0\0\0"s);
    EXPECT_FALSE(file.AtEnd());
    int number = 0;
    EXPECT_TRUE(file.ReadInt(&number));
    EXPECT_TRUE(file.AtEnd());
}

// ---- FileSize ----

TEST_F(CxFileTest, FileSize)
{
    EXPECT_EQ(CxFile::FileSize(nullptr), -1);
    EXPECT_EQ(CxFile::FileSize(""), -1);
    EXPECT_EQ(CxFile::FileSize(PathOf("missing.bin").c_str()), -1);
    EXPECT_EQ(CxFile::FileSize(m_home.Root().c_str()), -1);
    EXPECT_EQ(CxFile::FileSize(WriteBytes("empty.bin", "").c_str()), 0);
    EXPECT_EQ(CxFile::FileSize(WriteBytes("seven.bin", "\x03\0\0\0abc"s).c_str()), 7);
}

TEST_F(CxFileTest, FileSizeBeyondTwoGigabytes)
{
    // A sparse file: the size is real, the disk space is not used.
    const std::string path = WriteBytes("big.bin", "");
    constexpr std::int64_t kSize = 3LL * 1024 * 1024 * 1024 + 5;
    if (::truncate(path.c_str(), kSize) != 0) {
        GTEST_SKIP() << "the temporary folder cannot hold a sparse 3 GB file";
    }
    EXPECT_EQ(CxFile::FileSize(path.c_str()), kSize);

    // A length that points beyond 2 GB within such a file is still read as a length.
    CxFile file;
    ASSERT_TRUE(file.Open(path.c_str(), "rb"));
    char text[8] = "x";
    int length = 1;
    EXPECT_TRUE(file.ReadString(text, &length)) << "the file starts with zero bytes: length 0";
    EXPECT_EQ(length, 0);
}

} // namespace
