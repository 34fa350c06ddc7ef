#include "palm/PalmDBUtil.h"

#include <algorithm>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

PmDBUtil::PmDBUtil() = default;

PmDBUtil::~PmDBUtil()
{
    Close();
}

bool PmDBUtil::Open(const char* path, int mode)
{
    if (path == nullptr || *path == '\0') {
        return false;
    }
    Close();
    int flags = 0;
    const char* fmode = nullptr;
    switch (mode) {
    case 0:
        flags = O_RDONLY;
        fmode = "rb";
        break;
    case 1:
        flags = O_WRONLY;
        fmode = "wb"; // fdopen does not truncate
        break;
    case 2:
        flags = O_RDWR;
        fmode = "r+b";
        break;
    case 3:
        flags = O_RDWR | O_CREAT | O_TRUNC;
        fmode = "w+b";
        break;
    default:
        return false;
    }
    const int fd = ::open(path, flags | O_CLOEXEC, 0644);
    if (fd < 0) {
        return false;
    }
    struct stat st = {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        // A file nobody may write is the read-only file that a writing open must refuse, even
        // for a user whom the system would let write it anyway.
        ((mode == 1 || mode == 2) && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)) {
        ::close(fd);
        return false;
    }
    m_file = ::fdopen(fd, fmode);
    if (m_file == nullptr) {
        ::close(fd);
        return false;
    }
    m_size = static_cast<std::int64_t>(st.st_size);
    m_position = 0;
    m_path = path;
    return true;
}

void PmDBUtil::Close()
{
    if (m_file != nullptr) {
        std::fclose(m_file);
        m_file = nullptr;
    }
    m_size = 0;
    m_position = 0;
}

std::size_t PmDBUtil::ReadAtMost(void* data, std::size_t size)
{
    if (m_file == nullptr || size == 0) {
        return 0;
    }
    const std::size_t got = std::fread(data, 1, size, m_file);
    m_position += static_cast<std::int64_t>(got);
    return got;
}

bool PmDBUtil::ReadBytes(void* data, std::size_t size)
{
    return ReadAtMost(data, size) == size;
}

bool PmDBUtil::ReadInt32(std::int32_t& value)
{
    std::uint8_t b[4];
    if (!ReadBytes(b, sizeof b)) {
        return false;
    }
    value = static_cast<std::int32_t>(
        static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
        (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24));
    return true;
}

bool PmDBUtil::ReadUInt16(std::uint16_t& value)
{
    std::uint8_t b[2];
    if (!ReadBytes(b, sizeof b)) {
        return false;
    }
    value = static_cast<std::uint16_t>(b[0] | (b[1] << 8));
    return true;
}

bool PmDBUtil::ReadByte(std::uint8_t& value)
{
    return ReadBytes(&value, 1);
}

bool PmDBUtil::SkipBytes(std::uint64_t size)
{
    if (m_file == nullptr) {
        return false;
    }
    if (size == 0) {
        return true;
    }
    const std::int64_t left = BytesLeft();
    if (left < 0 || size > static_cast<std::uint64_t>(left)) {
        return false;
    }
    if (::fseeko(m_file, static_cast<off_t>(size), SEEK_CUR) != 0) {
        return false;
    }
    m_position += static_cast<std::int64_t>(size);
    return true;
}

std::int64_t PmDBUtil::GetPosition()
{
    return m_file != nullptr ? m_position : -1;
}

std::int64_t PmDBUtil::BytesLeft()
{
    if (m_file == nullptr) {
        return 0;
    }
    return std::max<std::int64_t>(0, m_size - m_position);
}

bool PmDBUtil::ReadCString(std::string& text, std::size_t capacity, std::size_t* needed)
{
    std::uint8_t shortLength = 0;
    if (!ReadByte(shortLength)) {
        return false;
    }
    std::size_t length = shortLength;
    if (shortLength == 0xFF) {
        std::uint16_t longLength = 0;
        if (!ReadUInt16(longLength)) {
            return false;
        }
        length = longLength;
    }
    if (length > capacity) {
        if (needed != nullptr) {
            *needed = length;
        }
        return false;
    }
    if (static_cast<std::int64_t>(length) > BytesLeft()) {
        return false;
    }
    text.resize(length);
    return ReadBytes(text.data(), length);
}

bool PmDBUtil::ReadIntField(std::int32_t& value)
{
    std::int32_t type = 0;
    if (!ReadInt32(type)) {
        return false;
    }
    if (type != kPmTypeInteger && type != kPmTypeDate && type != kPmTypeBoolean) {
        return false;
    }
    return ReadInt32(value);
}

bool PmDBUtil::ReadStringField(std::string& text, std::size_t width)
{
    std::int32_t type = 0;
    std::int32_t ignored = 0;
    if (!ReadInt32(type) || type != kPmTypeString || !ReadInt32(ignored)) {
        return false;
    }
    std::uint8_t shortLength = 0;
    if (!ReadByte(shortLength)) {
        return false;
    }
    std::size_t length = shortLength;
    if (shortLength == 0xFF) {
        std::uint16_t longLength = 0;
        if (!ReadUInt16(longLength)) {
            return false;
        }
        length = longLength;
    }
    if (static_cast<std::int64_t>(length) > BytesLeft()) {
        return false;
    }
    // The whole string is read from the file; only what the field holds is kept.
    const std::size_t keep = std::min({length, width > 0 ? width - 1 : 0, kPmMaxFieldText});
    text.resize(keep);
    return ReadBytes(text.data(), keep) && SkipBytes(length - keep);
}

bool PmDBUtil::ReadRepeatField(PmRepeat& repeat)
{
    repeat = PmRepeat{};
    std::uint16_t exceptions = 0;
    if (!ReadUInt16(exceptions)) {
        return false;
    }
    // The exception dates are not used; their count must still fit in what is left.
    if (!SkipBytes(static_cast<std::uint64_t>(exceptions) * 4)) {
        return false;
    }
    std::uint16_t marker = 0;
    if (!ReadUInt16(marker)) {
        return false;
    }
    if (marker == kPmRepeatNone) {
        return true;
    }
    if (marker == kPmRepeatClassDef) {
        std::uint16_t schema = 0;
        std::uint16_t nameLength = 0;
        if (!ReadUInt16(schema) || schema != 1 || !ReadUInt16(nameLength) || !SkipBytes(nameLength)) {
            return false;
        }
    }
    // Any other marker refers to a class defined earlier: the common values follow directly.
    if (!ReadInt32(repeat.kind) || !ReadInt32(repeat.interval) || !ReadInt32(repeat.endDate) ||
        !ReadInt32(repeat.firstDayOfWeek)) {
        return false;
    }
    switch (repeat.kind) {
    case 1:
        return ReadInt32(repeat.dayIndex);
    case 2:
        return ReadInt32(repeat.dayIndex) && ReadByte(repeat.dayMask);
    case 3:
        return ReadInt32(repeat.dayIndex) && ReadInt32(repeat.weekIndex);
    case 4:
        return ReadInt32(repeat.dayOfMonth);
    case 5:
        return ReadInt32(repeat.dayOfMonth) && ReadInt32(repeat.monthIndex);
    default:
        return true; // kind 6 and unknown kinds carry no data
    }
}

bool PmDBUtil::ReadTypedRepeatField(PmRepeat& repeat)
{
    std::int32_t type = 0;
    if (!ReadInt32(type) || type != kPmTypeRepeat) {
        return false;
    }
    return ReadRepeatField(repeat);
}

bool PmDBUtil::GetCategoryName(std::int32_t category, std::string& name) const
{
    if (!m_categories) {
        return false;
    }
    // A record names its category by the category's place in the table (0..15), not by the
    // category's ID.
    const PmCategory* found = m_categories->GetByIndex(category);
    if (found == nullptr) {
        return false;
    }
    name = found->GetName().substr(0, 15);
    return true;
}
