#pragma once
// A small connector of the Lotus Notes family for the exchange tests: notes with a native
// record of change mark, action, item id, title and body. The helper it runs is the fake one.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "exchange/CxHelperRecordUtil.h"
#include "lotus/CxLNBaseUtil.h"
#include "misc/CommNoteMgr.h"
#include "misc/CxFile.h"

struct TestNative
{
    std::int32_t ChangeMark;
    std::int32_t Action;
    std::int32_t ItemId;
    char Title[64];
    char Body[128];
};

inline const CxHelperFiles kTestNoteFiles = {"fw_fake_helper", "LNNote.dat",       "LNNoteParam.dat",
                                             "LNNoteErr.dat",  "LNNoteStatus.dat", "LNNote.ini"};
inline const CxHelperWords kTestNoteWords = {"Start loading Lotus Notes Notes.",
                                             "Load Lotus Notes Notes information successfully.",
                                             "Failed to load Lotus Notes Notes information.",
                                             "Cannot load Lotus Notes Note records from temperary file: %s",
                                             "Cannot save Lotus Notes Notes records to temperary file: %s"};

class TestNoteConnector : public CxHelperRecordUtil<CxLNBaseUtil, TestNative, CommNoteRec, CommNoteMgr>
{
public:
    explicit TestNoteConnector(int databaseParamId = CxLNBaseUtil::kParamDatabase,
                               const CxHelperFiles& files = kTestNoteFiles)
        : CxHelperRecordUtil(files, kTestNoteWords, databaseParamId)
    {
    }

    using CxHelperBaseUtil::ReadErrorFile_;

    // Writes a record file as a helper would.
    static bool WriteRecordFile(const std::string& path, const std::vector<TestNative>& records,
                                int count = -1)
    {
        CxFile file;
        if (!file.Open(path.c_str(), "wb")) {
            return false;
        }
        file.WriteInt(count < 0 ? static_cast<int>(records.size()) : count);
        for (const TestNative& record : records) {
            Write(file, record);
        }
        return file.Close();
    }

    static std::vector<TestNative> ReadRecordFile(const std::string& path)
    {
        std::vector<TestNative> records;
        CxFile file;
        int count = 0;
        if (!file.Open(path.c_str(), "rb") || !file.ReadInt(&count)) {
            return records;
        }
        for (int i = 0; i < count && !file.AtEnd(); ++i) {
            TestNative record{};
            Read(file, record);
            records.push_back(record);
        }
        return records;
    }

    static TestNative Make(int itemId, const char* title, const char* body, int mark = 0, int action = 0)
    {
        TestNative record{};
        record.ChangeMark = mark;
        record.Action = action;
        record.ItemId = itemId;
        std::snprintf(record.Title, sizeof(record.Title), "%s", title);
        std::snprintf(record.Body, sizeof(record.Body), "%s", body);
        return record;
    }

protected:
    bool LoadRecFromFile_(CxFile& file, TestNative& native) override { return Read(file, native); }
    bool SaveRecToFile_(CxFile& file, const TestNative& native) override { return Write(file, native); }
    void NativeToComm_(const TestNative& native, CommNoteRec& record) override
    {
        CopyText(record.Title, native.Title);
        CopyText(record.Body, native.Body);
        std::snprintf(record.EntryId, sizeof(record.EntryId), "%d", native.ItemId);
    }
    void CommToNative_(const CommNoteRec& record, TestNative& native) override
    {
        CopyText(native.Title, record.Title);
        CopyText(native.Body, record.Body);
    }
    void MarkChanged_(TestNative& native, int action) override
    {
        native.ChangeMark = kChangeMarkChanged;
        native.Action = action;
    }

private:
    template <std::size_t N> static void CopyText(char (&dest)[N], const char* text)
    {
        const std::size_t length = strnlen(text, N - 1);
        std::memcpy(dest, text, length);
        dest[length] = '\0';
    }
    static bool Read(CxFile& file, TestNative& native)
    {
        bool good = file.ReadInt(&native.ChangeMark);
        good = good && file.ReadInt(&native.Action);
        good = good && file.ReadInt(&native.ItemId);
        good = good && file.ReadString(native.Title);
        return good && file.ReadString(native.Body);
    }
    static bool Write(CxFile& file, const TestNative& native)
    {
        bool good = file.WriteInt(native.ChangeMark);
        good = file.WriteInt(native.Action) && good;
        good = file.WriteInt(native.ItemId) && good;
        good = file.WriteString(native.Title) && good;
        return file.WriteString(native.Body) && good;
    }
};
