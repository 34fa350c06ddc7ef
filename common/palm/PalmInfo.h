#pragma once
// The fronts of the four Palm Desktop databases. Each decides which database generation to
// read, loads it by user or by file, and converts the loaded records into its common store.
#include <cstdint>
#include <memory>
#include <string>

#include "misc/CommAddrMgr.h"
#include "misc/CommDateMgr.h"
#include "misc/CommNoteMgr.h"
#include "misc/CommTaskMgr.h"

// Loaded generation of a front.
enum PmGeneration : int
{
    kPmNothingLoaded = 0,
    kPmClassic = 1,
    kPmEx = 2,  // 4.1.x
    kPmEx2 = 3, // 6.x
    kPmLoadFailed = 255,
};

// File check answers: 0 no path, 1 classic, 2 4.1.x, 3 6.x, 255 not recognised.
int PmCheckAddrFile(const std::string& path);
int PmCheckDateFile(const std::string& path);
int PmCheckTodoFile(const std::string& path);
int PmCheckMemoFile(const std::string& path);

class PmAddrInfo
{
public:
    PmAddrInfo();
    ~PmAddrInfo();
    PmAddrInfo(const PmAddrInfo&) = delete;
    PmAddrInfo& operator=(const PmAddrInfo&) = delete;

    void Clear();
    bool LoadByUser(std::int32_t userId);
    bool LoadByFile(const std::string& path);
    int GetVersionKind() const;
    int GetLoadedGeneration() const;
    // Why the last load failed, for the user: the file and the reason
    // ("<path>: not a Palm Desktop database"); empty after a load that worked.
    const std::string& GetLoadError() const;
    // After a load by user that found no database of this kind in the user's folder (which
    // loads nothing and succeeds): a line saying so; empty otherwise.
    const std::string& GetLoadNotice() const;
    // Records of the last load whose texts lost characters to the ANSI code page (6.x files
    // hold Unicode; the earlier ones are in the code page already).
    int GetLossyRecordCount() const;
    CommAddrMgr* GetStore();
    bool SetMappingSlot(int index, std::int32_t key); // index 0..9
    // The custom field mapping of Palm Desktop (CustomFieldMap.h), slots 1 to 9 into
    // MappedValues 1 to 9.
    void UseCustomFieldMap();
    static int CheckFile(const std::string& path) { return PmCheckAddrFile(path); }

private:
    struct Impl;
    std::unique_ptr<Impl> m;
};

class PmDateInfo
{
public:
    PmDateInfo();
    ~PmDateInfo();
    PmDateInfo(const PmDateInfo&) = delete;
    PmDateInfo& operator=(const PmDateInfo&) = delete;

    void Clear();
    bool LoadByUser(std::int32_t userId);
    bool LoadByFile(const std::string& path);
    int GetVersionKind() const;
    int GetLoadedGeneration() const;
    // Why the last load failed, for the user: the file and the reason
    // ("<path>: not a Palm Desktop database"); empty after a load that worked.
    const std::string& GetLoadError() const;
    // After a load by user that found no database of this kind in the user's folder (which
    // loads nothing and succeeds): a line saying so; empty otherwise.
    const std::string& GetLoadNotice() const;
    // Records of the last load whose texts lost characters to the ANSI code page (6.x files
    // hold Unicode; the earlier ones are in the code page already).
    int GetLossyRecordCount() const;
    CommDateMgr* GetStore();
    static int CheckFile(const std::string& path) { return PmCheckDateFile(path); }

private:
    struct Impl;
    std::unique_ptr<Impl> m;
};

class PmTodoInfo
{
public:
    PmTodoInfo();
    ~PmTodoInfo();
    PmTodoInfo(const PmTodoInfo&) = delete;
    PmTodoInfo& operator=(const PmTodoInfo&) = delete;

    void Clear();
    bool LoadByUser(std::int32_t userId);
    bool LoadByFile(const std::string& path);
    int GetVersionKind() const;
    int GetLoadedGeneration() const;
    // Why the last load failed, for the user: the file and the reason
    // ("<path>: not a Palm Desktop database"); empty after a load that worked.
    const std::string& GetLoadError() const;
    // After a load by user that found no database of this kind in the user's folder (which
    // loads nothing and succeeds): a line saying so; empty otherwise.
    const std::string& GetLoadNotice() const;
    // Records of the last load whose texts lost characters to the ANSI code page (6.x files
    // hold Unicode; the earlier ones are in the code page already).
    int GetLossyRecordCount() const;
    CommTaskMgr* GetStore();
    static int CheckFile(const std::string& path) { return PmCheckTodoFile(path); }

private:
    struct Impl;
    std::unique_ptr<Impl> m;
};

class PmMemoInfo
{
public:
    PmMemoInfo();
    ~PmMemoInfo();
    PmMemoInfo(const PmMemoInfo&) = delete;
    PmMemoInfo& operator=(const PmMemoInfo&) = delete;

    void Clear();
    bool LoadByUser(std::int32_t userId);
    bool LoadByFile(const std::string& path);
    int GetVersionKind() const;
    int GetLoadedGeneration() const;
    // Why the last load failed, for the user: the file and the reason
    // ("<path>: not a Palm Desktop database"); empty after a load that worked.
    const std::string& GetLoadError() const;
    // After a load by user that found no database of this kind in the user's folder (which
    // loads nothing and succeeds): a line saying so; empty otherwise.
    const std::string& GetLoadNotice() const;
    // Records of the last load whose texts lost characters to the ANSI code page (6.x files
    // hold Unicode; the earlier ones are in the code page already).
    int GetLossyRecordCount() const;
    CommNoteMgr* GetStore();
    static int CheckFile(const std::string& path) { return PmCheckMemoFile(path); }

private:
    struct Impl;
    std::unique_ptr<Impl> m;
};
