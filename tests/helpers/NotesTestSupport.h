#pragma once
// Shared by the helper tests: records with every field set, field-by-field comparison, and
// a working folder with a registered Lotus Notes data folder in which the helper programs
// can be run as real child processes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/TempHome.h"
#include "exchange/CxParamParser.h"
#include "lotus/LNRecords.h"
#include "misc/CxFile.h"
#include "notes/NotesStore.h"
#include "platform/Process.h"
#include "platform/Profile.h"

namespace notestest {

inline bool IsCarried(const LNFieldDesc& field)
{
    return std::strcmp(field.Name, "ChangeMark") != 0 && std::strcmp(field.Name, "Action") != 0 &&
           std::strcmp(field.Name, "ItemID") != 0;
}

// Sets every field but the change mark, action and identifier to a value made of the field
// and seed; texts fill their whole capacity, so a cut anywhere shows.
inline void FillRecord(std::span<const LNFieldDesc> fields, void* rec, int seed)
{
    auto* base = static_cast<unsigned char*>(rec);
    int index = 0;
    for (const LNFieldDesc& field : fields) {
        ++index;
        if (!IsCarried(field)) {
            continue;
        }
        unsigned char* at = base + field.Offset;
        switch (field.Kind) {
        case LNFieldKind::Text: {
            std::string unit = std::string(field.Name) + "#" + std::to_string(seed) + ";";
            std::string text;
            while (text.size() < static_cast<std::size_t>(field.Capacity - 1)) {
                text += unit;
            }
            text.resize(static_cast<std::size_t>(field.Capacity - 1));
            std::memcpy(at, text.c_str(), text.size() + 1);
            break;
        }
        case LNFieldKind::Date: {
            double value = 40000.25 + seed * 100 + index;
            std::memcpy(at, &value, sizeof value);
            break;
        }
        case LNFieldKind::Boolean: {
            int value = (seed + index) % 2;
            std::memcpy(at, &value, sizeof value);
            break;
        }
        case LNFieldKind::Integer: {
            int value = seed * 1000 + index;
            std::memcpy(at, &value, sizeof value);
            break;
        }
        }
    }
}

// The names of the carried fields in which a and b differ.
inline std::vector<std::string> DifferentFields(std::span<const LNFieldDesc> fields, const void* a,
                                                const void* b)
{
    std::vector<std::string> names;
    for (const LNFieldDesc& field : fields) {
        if (!IsCarried(field)) {
            continue;
        }
        std::size_t size = field.Kind == LNFieldKind::Text   ? static_cast<std::size_t>(field.Capacity)
                           : field.Kind == LNFieldKind::Date ? sizeof(double)
                                                             : sizeof(int);
        if (std::memcmp(static_cast<const char*>(a) + field.Offset,
                        static_cast<const char*>(b) + field.Offset, size) != 0) {
            names.emplace_back(field.Name);
        }
    }
    return names;
}

template <class Rec>
Rec MakeRecord(std::span<const LNFieldDesc> fields, int seed, int changeMark = 0, int action = 0,
               const char* itemId = "")
{
    Rec rec{};
    FillRecord(fields, &rec, seed);
    rec.ChangeMark = changeMark;
    rec.Action = action;
    std::snprintf(rec.ItemID, sizeof rec.ItemID, "%s", itemId);
    return rec;
}

struct KindCase
{
    NotesItemKind kind;
    const char* helper;     // program file name
    const char* recordFile; // in the working folder
    const char* controlFile;
    int databaseParam;
};

inline const KindCase kContacts{NotesItemKind::Contacts, "fw-notes-contacts", "LNAddr.dat", "LNAddr.ini",
                                1009};
inline const KindCase kCalendar{NotesItemKind::Calendar, "fw-notes-calendar", "LNDate.dat", "LNDate.ini",
                                1008};
inline const KindCase kTasks{NotesItemKind::Tasks, "fw-notes-tasks", "LNTask.dat", "LNTask.ini", 1008};
inline const KindCase kNotes{NotesItemKind::Notes, "fw-notes-notes", "LNNote.dat", "LNNote.ini", 1008};

// A temporary home with a registered data folder and a working folder.
class NotesHome
{
public:
    NotesHome()
    {
        m_data = m_home.Path("notesdata/");
        m_work = m_home.Path("work/");
        m_home.WriteFile("notesdata/.keep", "");
        m_home.WriteFile("work/.keep", "");
        m_home.WriteFile("registry.ini",
                         "[HKEY_CURRENT_USER\\SOFTWARE\\Lotus\\Notes\\Installer]\r\nDATADIR=" + m_data +
                             "\r\n");
    }

    const std::string& Data() const { return m_data; }
    const std::string& Work() const { return m_work; }
    fwtest::TempHome& Home() { return m_home; }

    std::string CreateDatabase(const std::string& name)
    {
        std::string path = m_data + name;
        std::string error;
        EXPECT_TRUE(NotesStore::Create(path, error)) << error;
        return path;
    }

    // Writes the parameter file of a Lotus Notes connector, as the connector orders it.
    std::string WriteParams(const KindCase& kind, int command, const std::string& database)
    {
        CxParamParser params;
        std::string stem = std::string(kind.recordFile).substr(0, std::strlen(kind.recordFile) - 4);
        params.SetParam(1000, "");
        params.SetParam(1001, "");
        params.SetParam(1002, "");
        params.SetParam(1003, kind.recordFile);
        params.SetParam(1004, m_work.c_str());
        params.SetParam(1005, std::to_string(command).c_str());
        params.SetParam(1006, (stem + "Err.dat").c_str());
        params.SetParam(1007, (stem + "Status.dat").c_str());
        params.SetParam(kind.databaseParam, database.c_str());
        params.SetParam(1010, m_work.c_str());
        params.SetParam(1011, "appdebug.log");
        params.SetParam(1012, "3");
        params.SetParam(1013, "1");
        params.SetParam(1014, "");
        std::string path = m_work + stem + "Param.dat";
        EXPECT_TRUE(params.WriteParamFile(path.c_str()));
        return path;
    }

    // Starts the helper and gives its exit code (-1 when it did not start or end in time).
    int Start(const KindCase& kind, const std::string& paramPath, platform::Process& process)
    {
        std::string error;
        std::string program = std::string(FW_HELPER_DIR) + "/" + kind.helper;
        if (!process.Start({program, paramPath}, "", error)) {
            ADD_FAILURE() << error;
            return -1;
        }
        return 0;
    }
    int Run(const KindCase& kind, int command, const std::string& database)
    {
        platform::Process process;
        if (Start(kind, WriteParams(kind, command, database), process) != 0) {
            return -1;
        }
        if (process.Wait(60000) != platform::Process::WaitResult::Exited) {
            ADD_FAILURE() << "helper did not end";
            return -1;
        }
        return process.ExitCode();
    }

    // The last error of the error file, "" when it reports none.
    std::string LastError(const KindCase& kind) const
    {
        std::string stem = std::string(kind.recordFile).substr(0, std::strlen(kind.recordFile) - 4);
        std::string path = m_work + stem + "Err.dat";
        int count = static_cast<int>(platform::GetPrivateProfileInt("Error", "Error.Count", 0, path.c_str()));
        if (count <= 0) {
            return "";
        }
        char text[1024] = {};
        platform::GetPrivateProfileString("Error", ("Error." + std::to_string(count)).c_str(), "", text,
                                          sizeof text, path.c_str());
        return text;
    }

    template <class Rec> void WriteRecords(const KindCase& kind, const std::vector<Rec>& records)
    {
        CxFile file;
        ASSERT_TRUE(file.Open((m_work + kind.recordFile).c_str(), "wb"));
        ASSERT_TRUE(SaveLNRecordFile(file, std::span<const Rec>(records)));
        ASSERT_TRUE(file.Close());
    }
    // Reads the record file; false when there is none or it is damaged.
    template <class Rec> bool ReadRecords(const KindCase& kind, std::vector<Rec>& records)
    {
        records.clear();
        CxFile file;
        return file.Open((m_work + kind.recordFile).c_str(), "rb") && LoadLNRecordFile(file, records);
    }

private:
    fwtest::TempHome m_home;
    std::string m_data;
    std::string m_work;
};

} // namespace notestest
