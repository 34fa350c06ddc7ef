#include "misc/Base64.h"

#include <cstring>
#include <gtest/gtest.h>
#include <ostream>
#include <string>

namespace {

// Cases print as their names, so that test listings stay readable.
template <class Case> auto operator<<(std::ostream& os, const Case& c) -> decltype(c.name, os)
{
    return os << c.name;
}

using namespace std::string_literals;

// ---- RFC 4648 test vectors, both ways, through both interfaces ----

struct VectorCase
{
    std::string bytes;
    std::string text;
};

void PrintTo(const VectorCase& c, std::ostream* os)
{
    *os << (c.text.empty() ? "empty" : c.text);
}

class Base64Vectors : public testing::TestWithParam<VectorCase>
{
};

TEST_P(Base64Vectors, Encode)
{
    const auto& c = GetParam();
    EXPECT_EQ(Base64Encode(c.bytes), c.text);
    char out[32];
    EXPECT_EQ(Base64Encode(c.bytes.data(), c.bytes.size(), out, sizeof out), !c.text.empty());
    EXPECT_EQ(out, c.text);
}

TEST_P(Base64Vectors, Decode)
{
    const auto& c = GetParam();
    EXPECT_EQ(Base64Decode(c.text), c.bytes);
    unsigned char out[32];
    std::size_t length = 99;
    EXPECT_EQ(Base64Decode(c.text.c_str(), out, sizeof out, &length), !c.bytes.empty());
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(out), length), c.bytes);
    EXPECT_EQ(out[length], 0) << "terminated";
}

INSTANTIATE_TEST_SUITE_P(Rfc4648, Base64Vectors,
                         testing::Values(VectorCase{"", ""}, VectorCase{"f", "Zg=="},
                                         VectorCase{"fo", "Zm8="}, VectorCase{"foo", "Zm9v"},
                                         VectorCase{"foob", "Zm9vYg=="}, VectorCase{"fooba", "Zm9vYmE="},
                                         VectorCase{"foobar", "Zm9vYmFy"}, VectorCase{"abc", "YWJj"},
                                         VectorCase{"ab", "YWI="}, VectorCase{"\0\xFF\xFE"s, "AP/+"},
                                         VectorCase{"\xFB\xEF"s, "++8="}));

TEST(Base64, EveryByteValueSurvivesARoundTrip)
{
    std::string bytes;
    for (int i = 0; i < 256; ++i) {
        bytes.push_back(static_cast<char>(i));
    }
    for (std::size_t length = 0; length <= bytes.size(); length += 37) {
        const std::string part = bytes.substr(bytes.size() - length);
        const std::string text = Base64Encode(part);
        EXPECT_EQ(text.size(), (length + 2) / 3 * 4);
        EXPECT_EQ(Base64Decode(text), part);

        char encoded[400];
        unsigned char decoded[300];
        std::size_t decodedLength = 0;
        Base64Encode(part.data(), part.size(), encoded, sizeof encoded);
        EXPECT_EQ(encoded, text);
        Base64Decode(encoded, decoded, sizeof decoded, &decodedLength);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(decoded), decodedLength), part);
    }
}

// ---- Decoding rules for text that is not clean Base64 ----

struct DecodeCase
{
    const char* name;
    std::string text;
    std::string bytes;
};

class Base64Decoding : public testing::TestWithParam<DecodeCase>
{
};

TEST_P(Base64Decoding, FollowsTheGroupRules)
{
    const auto& c = GetParam();
    EXPECT_EQ(Base64Decode(c.text), c.bytes);
    unsigned char out[32];
    std::memset(out, 0xAA, sizeof out);
    std::size_t length = 99;
    EXPECT_EQ(Base64Decode(c.text.c_str(), out, sizeof out, &length), !c.bytes.empty());
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(out), length), c.bytes);
    EXPECT_EQ(out[length], 0);
}

const DecodeCase kDecoding[] = {
    {"PaddingAtFirstGivesNothing", "=WJjYWJj", "abc"},
    {"PaddingAtSecondGivesNothing", "Y=JjYWJj", "abc"},
    {"PaddingAtThirdGivesOneByte", "YW=j", "a"},
    {"PaddingAtFourthGivesTwoBytes", "YWJ=", "ab"},
    {"PaddingInTheMiddle", "YWI=YWJj", "ababc"},
    {"ForeignAtFirst", "*WJjYWJj", "abc"},
    {"ForeignAtThird", "YW*j", "a"},
    {"ForeignAtFourth", "YWJ*", "ab"},
    {"ShortLastGroupEndsDecoding", "YWJjYW", "abc"},
    {"OneCharacterLeft", "YWJjY", "abc"},
    {"TooShortForAGroup", "YW", ""},
    {"LineBreaksAreCharactersToo", "YWJj\nYWJj", "abc"},
    {"Empty", "", ""},
    {"OnlyPadding", "====", ""},
};

INSTANTIATE_TEST_SUITE_P(Groups, Base64Decoding, testing::ValuesIn(kDecoding),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- Output capacities ----

struct CapacityCase
{
    const char* name;
    std::size_t size;
    bool result;
    const char* output; // what the buffer holds afterwards
};

class Base64EncodeCapacity : public testing::TestWithParam<CapacityCase>
{
};

TEST_P(Base64EncodeCapacity, WholeGroupsOnlyAndNeverPastTheSize)
{
    const auto& c = GetParam();
    char out[16];
    std::memset(out, '#', sizeof out);
    out[sizeof out - 1] = '\0';
    EXPECT_EQ(Base64Encode("foobar", 6, out, c.size), c.result);
    EXPECT_STREQ(out, c.output);
    for (std::size_t i = std::max<std::size_t>(c.size, std::strlen(out) + 1); i < sizeof out - 1; ++i) {
        EXPECT_EQ(out[i], '#') << "byte " << i << " written";
    }
}

const CapacityCase kEncodeCapacities[] = {
    {"SizeZeroTouchesNothing", 0, false, "###############"},
    {"RoomForTheTerminatorOnly", 1, false, ""},
    {"NotAWholeGroup", 4, false, ""},
    {"OneGroup", 5, true, "Zm9v"},
    {"StillOneGroup", 8, true, "Zm9v"},
    {"Everything", 9, true, "Zm9vYmFy"},
};

INSTANTIATE_TEST_SUITE_P(Sizes, Base64EncodeCapacity, testing::ValuesIn(kEncodeCapacities),
                         [](const auto& info) { return std::string(info.param.name); });

class Base64DecodeCapacity : public testing::TestWithParam<CapacityCase>
{
};

TEST_P(Base64DecodeCapacity, AtMostSizeLessOneBytes)
{
    const auto& c = GetParam();
    unsigned char out[16];
    std::memset(out, '#', sizeof out);
    out[sizeof out - 1] = '\0';
    std::size_t length = 99;
    EXPECT_EQ(Base64Decode("Zm9vYmFy", out, c.size, &length), c.result);
    EXPECT_STREQ(reinterpret_cast<const char*>(out), c.output);
    EXPECT_EQ(length, c.size == 0 ? 0 : std::strlen(c.output));
    for (std::size_t i = std::max<std::size_t>(c.size, length + 1); i < sizeof out - 1; ++i) {
        EXPECT_EQ(out[i], '#') << "byte " << i << " written";
    }
}

const CapacityCase kDecodeCapacities[] = {
    {"SizeZeroTouchesNothing", 0, false, "###############"},
    {"RoomForTheTerminatorOnly", 1, false, ""},
    {"TwoBytes", 3, true, "fo"},
    {"FourBytesAcrossGroups", 5, true, "foob"},
    {"Everything", 7, true, "foobar"},
    {"MoreThanEnough", 15, true, "foobar"},
};

INSTANTIATE_TEST_SUITE_P(Sizes, Base64DecodeCapacity, testing::ValuesIn(kDecodeCapacities),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Base64, MissingArguments)
{
    char text[8] = "kept";
    unsigned char bytes[8] = "kept";
    std::size_t length = 99;
    EXPECT_FALSE(Base64Encode(nullptr, 3, text, sizeof text));
    EXPECT_STREQ(text, "");
    EXPECT_FALSE(Base64Encode("abc", 3, nullptr, 8));
    EXPECT_FALSE(Base64Decode(nullptr, bytes, sizeof bytes, &length));
    EXPECT_EQ(bytes[0], 0);
    EXPECT_EQ(length, 0u);
    EXPECT_FALSE(Base64Decode("YWJj", nullptr, 8, &length));
    EXPECT_TRUE(Base64Decode("YWJj", bytes, sizeof bytes)) << "the length out is optional";
    EXPECT_STREQ(reinterpret_cast<const char*>(bytes), "abc");
}

} // namespace
