#pragma once
// Application kinds and kinds of data, as the settings file and every connector number them.

enum AppKind : int
{
    kAppNone = 0,
    kAppACT = 1,
    kAppGoogle = 2,
    kAppOutlook = 3,
    kAppNotes = 4,
    kAppPalm = 5,
    kAppDynamics = 6,
    kAppSalesForce = 7,
    kAppSugarCRM = 8,
};

constexpr bool IsValidAppKind(int kind)
{
    return kind >= kAppACT && kind <= kAppSugarCRM;
}

// Always handled in this order.
enum DataType : int
{
    kDataContacts = 0,
    kDataCalendar = 1,
    kDataTasks = 2,
    kDataNotes = 3,
};

constexpr int kDataTypeCount = 4;
constexpr DataType kAllDataTypes[kDataTypeCount] = {kDataContacts, kDataCalendar, kDataTasks, kDataNotes};
