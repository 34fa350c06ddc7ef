#pragma once
// File access shared by the readers of the classic and the 4.1.x Palm Desktop databases:
// little-endian primitive reads, counted strings, typed fields and the category table.
//
// Every read is bounded by the file: a length or count taken from the file is checked against
// its capacity and against what is left of the file before anything is allocated or read.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "palm/PalmCategory.h"
#include "palm/PalmRepeat.h"

// Typed field codes.
enum PmFieldType : std::int32_t
{
    kPmTypeInteger = 1,
    kPmTypeDate = 3,
    kPmTypeString = 5,
    kPmTypeBoolean = 6,
    kPmTypeRepeat = 8,
    kPmTypeBinary = 64, // 64..67
    kPmTypeDouble = 68,
};

// Longest text a typed string field keeps; the rest is read and dropped.
inline constexpr std::size_t kPmMaxFieldText = 8191;

// Class marker of a repeat field: no repeat, a class definition follows; anything else refers
// to a class defined earlier in the file.
inline constexpr std::uint16_t kPmRepeatNone = 0;
inline constexpr std::uint16_t kPmRepeatClassDef = 0xFFFF;

class PmDBUtil
{
public:
    PmDBUtil();
    virtual ~PmDBUtil();
    PmDBUtil(const PmDBUtil&) = delete;
    PmDBUtil& operator=(const PmDBUtil&) = delete;

    // Mode 0 read, 1 write, 2 read and write (each: the file must exist), 3 created anew.
    // Modes 1 and 2 refuse a file without write permission, as for a read-only file.
    bool Open(const char* path, int mode);
    void Close();
    bool IsOpen() const { return m_file != nullptr; }
    const std::string& GetPath() const { return m_path; }

    // Primitive reads; each fails when the file delivers fewer bytes than asked.
    bool ReadInt32(std::int32_t& value);
    bool ReadUInt16(std::uint16_t& value);
    bool ReadByte(std::uint8_t& value);
    bool ReadBytes(void* data, std::size_t size);
    // Reads up to size bytes; gives how many arrived (for messages about a short block).
    std::size_t ReadAtMost(void* data, std::size_t size);
    bool SkipBytes(std::uint64_t size);
    std::int64_t GetPosition();
    std::int64_t BytesLeft();

    // Counted string: a length byte, 0xFF then a 16-bit length. A length above capacity fails
    // (needed, when given, learns it) and consumes nothing more.
    bool ReadCString(std::string& text, std::size_t capacity, std::size_t* needed = nullptr);

    // Typed fields. An integer position accepts codes 1, 3 and 6; a string position only 5.
    // A string keeps at most min(width - 1, 8191) characters; the rest is skipped.
    bool ReadIntField(std::int32_t& value);
    bool ReadStringField(std::string& text, std::size_t width);
    // Repeat field payload after its type code 8, with class definitions and back-references.
    bool ReadRepeatField(PmRepeat& repeat);
    // Type code 8, then the payload.
    bool ReadTypedRepeatField(PmRepeat& repeat);

    // The category table of the last category block read; null before.
    PmCategoryMgr* GetCategories() { return m_categories.get(); }
    const PmCategoryMgr* GetCategories() const { return m_categories.get(); }
    // Category name (at most 15 characters) of a record's category value, which is the place
    // (index 0..15) of the category in the table, not its ID; false when no category is there.
    bool GetCategoryName(std::int32_t category, std::string& name) const;

protected:
    std::unique_ptr<PmCategoryMgr> m_categories;
    std::string m_path;

private:
    std::FILE* m_file = nullptr;
    std::int64_t m_size = 0;     // size of the open file, fixed at open
    std::int64_t m_position = 0; // kept here, so that no read needs a seek to learn it
};
