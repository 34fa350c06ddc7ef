// The Outlook contacts connector over a scripted Outlook: the load of the Contacts folder with
// its reads in order, the user properties and the field map, every failure's log line, and
// the submit of new, changed and unchanged contacts.
#include "outlook/OlAddrUtil.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "misc/CustomFieldMap.h"
#include "outlook/OutlookFixture.h"

namespace fwtest {
namespace {

LogLine Progress(const char* message)
{
    return LogLine{"OlAddrUtil.cpp", false, message};
}
LogLine Failure(const char* message)
{
    return LogLine{"OlAddrUtil.cpp", true, message};
}

// The properties of a contact item in the order they are read.
const std::vector<std::string> kReads = {"EntryID",
                                         "Account",
                                         "Anniversary",
                                         "AssistantName",
                                         "AssistantTelephoneNumber",
                                         "Birthday",
                                         "Business2TelephoneNumber",
                                         "BusinessAddressCity",
                                         "BusinessAddressCountry",
                                         "BusinessAddressPostalCode",
                                         "BusinessAddressPostOfficeBox",
                                         "BusinessAddressState",
                                         "BusinessAddressStreet",
                                         "BusinessFaxNumber",
                                         "BusinessHomePage",
                                         "BusinessTelephoneNumber",
                                         "CallbackTelephoneNumber",
                                         "CarTelephoneNumber",
                                         "CompanyMainTelephoneNumber",
                                         "CompanyName",
                                         "ComputerNetworkName",
                                         "CustomerID",
                                         "Department",
                                         "Email1Address",
                                         "Email1AddressType",
                                         "Email1DisplayName",
                                         "Email2Address",
                                         "Email2AddressType",
                                         "Email2DisplayName",
                                         "Email3Address",
                                         "Email3AddressType",
                                         "Email3DisplayName",
                                         "FirstName",
                                         "FTPSite",
                                         "FullName",
                                         "Gender",
                                         "Hobby",
                                         "Home2TelephoneNumber",
                                         "HomeAddressCity",
                                         "HomeAddressCountry",
                                         "HomeAddressPostalCode",
                                         "HomeAddressPostOfficeBox",
                                         "HomeAddressState",
                                         "HomeAddressStreet",
                                         "HomeFaxNumber",
                                         "HomeTelephoneNumber",
                                         "IMAddress",
                                         "Initials",
                                         "ISDNNumber",
                                         "JobTitle",
                                         "Language",
                                         "LastName",
                                         "MailingAddressCity",
                                         "MailingAddressCountry",
                                         "MailingAddressPostalCode",
                                         "MailingAddressPostOfficeBox",
                                         "MailingAddressState",
                                         "MailingAddressStreet",
                                         "ManagerName",
                                         "MiddleName",
                                         "MobileTelephoneNumber",
                                         "NickName",
                                         "OtherAddressCity",
                                         "OtherAddressCountry",
                                         "OtherAddressPostalCode",
                                         "OtherAddressPostOfficeBox",
                                         "OtherAddressState",
                                         "OtherAddressStreet",
                                         "OtherTelephoneNumber",
                                         "PagerNumber",
                                         "PersonalHomePage",
                                         "PrimaryTelephoneNumber",
                                         "Profession",
                                         "RadioTelephoneNumber",
                                         "Spouse",
                                         "WebPage",
                                         "Body",
                                         "CreationTime",
                                         "LastModificationTime",
                                         "Categories",
                                         "UserProperties"};

// The reads without the entry id, the times and the user properties: what is written.
std::vector<std::string> Writes()
{
    std::vector<std::string> writes;
    for (const std::string& name : kReads) {
        if (name != "EntryID" && name != "CreationTime" && name != "LastModificationTime" &&
            name != "UserProperties") {
            writes.push_back(name);
        }
    }
    return writes;
}

// A UserProperties collection: Count, Item(index by reference), Find and Add.
class ScriptedUserProps
{
public:
    ScriptedUserProps()
    {
        collection->SetProperty("Count", Long(0));
        collection->SetMethod("Item", [this](const std::vector<OwnedVariant>& args, VARIANT* result) {
            itemArgs.push_back(args.at(0));
            const int index = args.at(0).v.lVal - 1;
            if (index >= 0 && index < static_cast<int>(props.size()) && result != nullptr) {
                *result = platform::MakeDispatch(props[static_cast<std::size_t>(index)]->dispatch());
            }
            return S_OK;
        });
        collection->SetMethod("Find", [](const std::vector<OwnedVariant>&, VARIANT*) { return S_OK; });
        collection->SetMethod("Add", [this](const std::vector<OwnedVariant>& args, VARIANT* result) {
            addArgs.push_back(args);
            ScriptedObject* made = Make(args.at(0).Text().c_str());
            if (result != nullptr) {
                *result = platform::MakeDispatch(made);
            }
            return S_OK;
        });
    }
    static VARIANT Long(LONG value) { return platform::MakeI4(value); }

    ScriptedObject* Make(const char* name)
    {
        props.push_back(std::make_unique<ScriptedRef>());
        ScriptedObject* prop = props.back()->get();
        prop->SetTextProperty("Name", name);
        DeclareProperties(prop, {"Value"});
        return prop;
    }
    // A property that the item has, counted.
    ScriptedObject* Has(const char* name, const VARIANT& value)
    {
        ScriptedObject* prop = Make(name);
        prop->SetProperty("Value", value);
        VARIANT count = Long(static_cast<LONG>(props.size()));
        collection->SetProperty("Count", count);
        return prop;
    }

    ScriptedRef collection;
    std::vector<std::unique_ptr<ScriptedRef>> props;
    std::vector<OwnedVariant> itemArgs;
    std::vector<std::vector<OwnedVariant>> addArgs;
};

class OlAddrUtilTest : public OutlookFixture
{
protected:
    void SetUp() override
    {
        OutlookFixture::SetUp();
        ClearMappedFields();
    }
    void TearDown() override
    {
        ClearMappedFields();
        OutlookFixture::TearDown();
    }

    // A contact item with user properties (none unless the test adds them).
    ScriptedObject* AddContact(ScriptedFolder& folder, const Props& props)
    {
        ScriptedObject* item = AddItem(folder, props);
        userProps.push_back(std::make_unique<ScriptedUserProps>());
        item->SetObjectProperty("UserProperties", userProps.back()->collection.dispatch());
        return item;
    }
    void PrepareNewItem(ScriptedObject* item) override
    {
        DeclareProperties(item, Writes());
        userProps.push_back(std::make_unique<ScriptedUserProps>());
        item->SetObjectProperty("UserProperties", userProps.back()->collection.dispatch());
        AcceptSave(item);
    }

    std::vector<std::unique_ptr<ScriptedUserProps>> userProps;
};

TEST_F(OlAddrUtilTest, LoadsEveryContactOfTheFolder)
{
    ScriptedFolder& folder = outlook.AddFolder(olFolderContacts, "Contacts");
    Props ann;
    ann.Text("FirstName", "Ann")
        .Text("LastName", "Lee")
        .Text("Initials", "ABCDEFGH")
        .Text("Body", std::string(5000, 'b'))
        .Text("CompanyMainTelephoneNumber", "555-0100")
        .Text("EntryID", "00AA")
        .Long("Gender", 2)
        .Date("Birthday", 30000.0);
    ScriptedObject* first = AddContact(folder, ann);
    Props bob;
    bob.Text("FirstName", "Bob");
    AddContact(folder, bob);

    OlAddrUtil::SetFieldMapEntry(0, 18); // "Company Phone"
    OlAddrUtil::SetFieldMapEntry(1, 5);  // "Birthday", a date: no mapped text
    OlAddrUtil connector(Session());
    // Constructing the connector set the map back to nothing; the engine sets it afterwards.
    EXPECT_EQ(OlAddrUtil::GetFieldMapEntry(0), 0);
    EXPECT_TRUE(OlAddrUtil::SetFieldMapEntry(0, 18));
    EXPECT_TRUE(OlAddrUtil::SetFieldMapEntry(1, 5));
    EXPECT_FALSE(OlAddrUtil::SetFieldMapEntry(10, 18));
    EXPECT_FALSE(OlAddrUtil::SetFieldMapEntry(-1, 18));
    SetMappedField(kAppOutlook, 3, 47); // entry 2 through the kind's mapping: "Last Name"
    ASSERT_TRUE(connector.IsFolderOpen());

    ASSERT_TRUE(connector.Load());
    EXPECT_EQ(LogOf("OlAddrUtil.cpp"), (std::vector<LogLine>{
                                           Progress("Got the name of the Contacts folder: Contacts"),
                                           Progress("Got the StoreID of the Contact folder: 0000STORE"),
                                       }));
    EXPECT_EQ(AskedNames(first), kReads);

    CommAddrMgr* store = connector.GetAddrStore();
    ASSERT_EQ(store->GetCount(), 2);
    const CommAddrRec* rec = store->First();
    EXPECT_STREQ(rec->FirstName, "Ann");
    EXPECT_STREQ(rec->LastName, "Lee");
    EXPECT_STREQ(rec->Prefix, "ABCDEFG");
    EXPECT_EQ(std::string(rec->Note), std::string(2047, 'b'));
    EXPECT_EQ(rec->SourceType, SourceOutlook);
    EXPECT_STREQ(rec->MappedValues[0], "555-0100");
    EXPECT_STREQ(rec->MappedValues[1], "");
    EXPECT_STREQ(rec->MappedValues[2], "Lee");
    ASSERT_NE(rec->NativeRecord, nullptr);
    EXPECT_EQ(rec->NativeSize, sizeof(OlAddrRec));
    const auto* native = static_cast<const OlAddrRec*>(rec->NativeRecord);
    EXPECT_STREQ(native->FolderName, "Contacts");
    EXPECT_STREQ(native->StoreID, "0000STORE");
    EXPECT_STREQ(native->EntryID, "00AA");
    EXPECT_EQ(native->Gender, 2);
    EXPECT_EQ(native->Birthday, 30000.0);
    EXPECT_EQ(native->Item, first);
    EXPECT_STREQ(store->Next()->FirstName, "Bob");

    // The connector holds each item its records carry until the store is cleared.
    EXPECT_EQ(folder.contents[0]->OtherRefs(), 1u);
    connector.Clear();
    EXPECT_EQ(folder.contents[0]->OtherRefs(), 0u);
}

TEST_F(OlAddrUtilTest, CarriesTheFirstTenUserPropertiesAsText)
{
    ScriptedFolder& folder = outlook.AddFolder(olFolderContacts, "Contacts");
    Props props;
    props.Text("FirstName", "Ann");
    AddContact(folder, props);
    ScriptedUserProps& user = *userProps.back();
    struct Case
    {
        std::string name;
        VARIANT value;
        std::string label; // as loaded
        std::string text;
    };
    std::vector<Case> cases = {
        {"Long", platform::MakeBstr(std::string(80, 'v').c_str()), "Long", std::string(63, 'v')},
        {"Number", platform::MakeI4(42), "Number", ""},
        {"When", platform::MakeDate(40000.0), "When", ""},
    };
    for (int i = 3; i < 12; ++i) {
        const std::string n = "P" + std::to_string(i);
        cases.push_back({n, platform::MakeBstr(("v" + n).c_str()), n, "v" + n});
    }
    for (Case& c : cases) {
        user.Has(c.name.c_str(), c.value);
        platform::VariantClear(&c.value);
    }

    OlAddrUtil connector(Session());
    ASSERT_TRUE(connector.Load());
    const CommAddrRec* rec = connector.GetAddrStore()->First();
    ASSERT_NE(rec, nullptr);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(rec->CustomLabels[i], cases[static_cast<std::size_t>(i)].label) << i;
        EXPECT_EQ(rec->CustomValues[i], cases[static_cast<std::size_t>(i)].text) << i;
    }
    // Items 1..10, each index passed by reference to a 32-bit integer.
    ASSERT_EQ(user.itemArgs.size(), 10u);
    for (std::size_t i = 0; i < user.itemArgs.size(); ++i) {
        EXPECT_TRUE(user.itemArgs[i].byRef);
        EXPECT_EQ(user.itemArgs[i].Type(), VT_I4);
        EXPECT_EQ(user.itemArgs[i].v.lVal, static_cast<LONG>(i + 1));
    }
}

TEST_F(OlAddrUtilTest, EveryFailureOfTheLoadIsLogged)
{
    enum class Fault
    {
        FolderName,
        StoreId,
        Items,
        UserProperties,
        Count,
        OneProperty,
        PropertyName,
    };
    struct Case
    {
        Fault fault;
        std::vector<LogLine> lines;
        bool loads;
        int records;
    };
    const LogLine name = Progress("Got the name of the Contacts folder: Contacts");
    const LogLine storeId = Progress("Got the StoreID of the Contact folder: 0000STORE");
    const Case cases[] = {
        {Fault::FolderName,
         {Failure("Failed to get the name of the Contact folder. hr=0x80004005"), storeId},
         true,
         1},
        {Fault::StoreId,
         {name, Failure("Failed to get the StoreID of the Contact folder. hr=0x80004005")},
         true,
         1},
        {Fault::Items,
         {name, storeId,
          Failure("Failed to get the \"Items\" property of the Contact folder. hr=0x80004005")},
         false,
         0},
        {Fault::UserProperties,
         {name, storeId, Failure("Failed to get the \"UserProperties\" of contact item, hr=0x80004005.")},
         true,
         1},
        {Fault::Count,
         {name, storeId,
          Failure("Failed to get the \"Count\" property of UserProperties collection, hr=0x80004005")},
         true,
         1},
        {Fault::OneProperty,
         {name, storeId, Failure("One user defined property is not loaded correctly, hr=0x80004005")},
         true,
         1},
        {Fault::PropertyName,
         {name, storeId, Failure("Failed to get the name of user defined property. hr=0x80004005")},
         true,
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.fault));
        ForgetLog();
        userProps.clear();
        ScriptedFolder& folder = outlook.AddFolder(olFolderContacts, "Contacts");
        Props props;
        props.Text("FirstName", "Ann");
        AddContact(folder, props);
        VARIANT value = platform::MakeBstr("red");
        ScriptedObject* prop = userProps.back()->Has("Colour", value);
        platform::VariantClear(&value);
        switch (c.fault) {
        case Fault::FolderName:
            folder.folder->FailCall("Name", E_FAIL);
            break;
        case Fault::StoreId:
            folder.folder->FailCall("StoreID", E_FAIL);
            break;
        case Fault::Items:
            folder.folder->FailCall("Items", E_FAIL);
            break;
        case Fault::UserProperties:
            folder.contents[0]->get()->FailCall("UserProperties", E_FAIL);
            break;
        case Fault::Count:
            userProps.back()->collection->FailCall("Count", E_FAIL);
            break;
        case Fault::OneProperty:
            userProps.back()->collection->FailCall("Item", E_FAIL);
            break;
        case Fault::PropertyName:
            prop->FailCall("Name", E_FAIL);
            break;
        }
        OlAddrUtil connector(Session());
        EXPECT_EQ(connector.Load(), c.loads);
        EXPECT_EQ(LogOf("OlAddrUtil.cpp"), c.lines);
        EXPECT_EQ(connector.GetAddrStore()->GetCount(), c.records);
        if (c.fault == Fault::PropertyName) {
            EXPECT_STREQ(connector.GetAddrStore()->First()->CustomLabels[0], "");
            EXPECT_STREQ(connector.GetAddrStore()->First()->CustomValues[0], "red");
        }
    }
}

TEST_F(OlAddrUtilTest, WithoutItsFolderTheConnectorLoadsNothing)
{
    OlAddrUtil connector(Session());
    EXPECT_FALSE(connector.IsFolderOpen());
    EXPECT_FALSE(connector.IsConnected());
    EXPECT_FALSE(connector.Load());
    EXPECT_TRUE(LogOf("OlAddrUtil.cpp").empty());
    EXPECT_EQ(Session().GetRefCount(), 0);
}

CommAddrRec Contact(const char* first, const char* last)
{
    CommAddrRec rec{};
    CopyText(rec.FirstName, first);
    CopyText(rec.LastName, last);
    return rec;
}

TEST_F(OlAddrUtilTest, ANewContactBecomesANewItem)
{
    ScriptedFolder& folder = outlook.AddFolder(olFolderContacts, "Contacts");
    LetFolderAdd(folder);
    OlAddrUtil connector(Session());
    ASSERT_TRUE(connector.Load());

    CommAddrRec rec = Contact("Ann", "Lee");
    CopyText(rec.WorkPhone, "555-0101");
    CopyText(rec.CustomLabels[2], "Hobby2");
    CopyText(rec.CustomValues[2], "custom");
    CopyText(rec.MappedValues[2], "mapped");
    ASSERT_TRUE(connector.SubmitRecord(rec, true));

    ASSERT_EQ(added.size(), 1u);
    const auto adds = CallsOf(folder.items.get(), "Add");
    ASSERT_EQ(adds.size(), 1u);
    ASSERT_EQ(adds[0].args.size(), 1u);
    EXPECT_EQ(adds[0].args[0].Type(), VT_I4);
    EXPECT_EQ(adds[0].args[0].v.lVal, olContactItem);

    ScriptedObject* item = added[0]->get();
    EXPECT_EQ(CallNames(item, DISPATCH_PROPERTYPUT),
              (std::vector<std::string>{"BusinessTelephoneNumber", "FirstName", "Gender", "LastName"}));
    EXPECT_EQ(item->Value("FirstName").Text(), "Ann");
    EXPECT_EQ(item->Value("Gender").v.lVal, 0); // always written
    EXPECT_FALSE(item->HasValue("Business2TelephoneNumber"));
    // The user properties come after the properties, Save last.
    EXPECT_EQ(CallNames(item, DISPATCH_METHOD), (std::vector<std::string>{"Save"}));
    EXPECT_EQ(item->Calls().back().name, "Save");
    ScriptedUserProps& user = *userProps.back();
    ASSERT_EQ(user.addArgs.size(), 1u);
    const auto& args = user.addArgs[0];
    ASSERT_EQ(args.size(), 4u);
    EXPECT_EQ(args[0].Text(), "Hobby2");
    EXPECT_EQ(args[1].v.lVal, 1);
    EXPECT_EQ(args[2].Type(), VT_BOOL);
    EXPECT_EQ(args[2].v.boolVal, VARIANT_FALSE);
    EXPECT_EQ(args[3].v.lVal, 1);
    EXPECT_EQ(user.props[0]->get()->Value("Value").Text(), "mapped");

    // The record enters the store with the item written as its native record.
    CommAddrMgr* store = connector.GetAddrStore();
    ASSERT_EQ(store->GetCount(), 1);
    ASSERT_NE(store->First()->NativeRecord, nullptr);
    EXPECT_EQ(static_cast<const OlAddrRec*>(store->First()->NativeRecord)->Item, item);
    EXPECT_EQ(rec.NativeRecord, nullptr); // the submitted record is left as it was
}

TEST_F(OlAddrUtilTest, AChangedContactOverwritesTheItemItWasReadFrom)
{
    ScriptedFolder& folder = outlook.AddFolder(olFolderContacts, "Contacts");
    Props other;
    other.Text("FirstName", "Bob");
    AddContact(folder, other);
    Props props;
    props.Text("FirstName", "Ann")
        .Text("LastName", "Lee")
        .Text("BusinessTelephoneNumber", "1")
        .Text("Business2TelephoneNumber", "second");
    ScriptedObject* item = AddContact(folder, props);
    DeclareProperties(item, Writes());
    AcceptSave(item);
    OlAddrUtil connector(Session());
    ASSERT_TRUE(connector.Load());
    item->ForgetCalls();

    // Unchanged: nothing is written.
    EXPECT_FALSE(connector.SubmitRecord(*connector.GetAddrStore()->First(), true));
    EXPECT_TRUE(item->Calls().empty());

    CommAddrRec rec = Contact("Ann", "Lee");
    CopyText(rec.WorkPhone, "2");
    ASSERT_TRUE(connector.SubmitRecord(rec, true));
    // The item read is written, not the one Items.Item would give for the position.
    EXPECT_TRUE(CallsOf(folder.items.get(), "Item").empty());
    EXPECT_EQ(item->Value("BusinessTelephoneNumber").Text(), "2");
    EXPECT_EQ(item->Value("Business2TelephoneNumber").Text(), "second"); // kept from the load
    EXPECT_EQ(item->Calls().back().name, "Save");
    EXPECT_EQ(CallNames(folder.contents[0]->get(), DISPATCH_PROPERTYPUT), std::vector<std::string>{});

    CommAddrMgr* store = connector.GetAddrStore();
    ASSERT_EQ(store->GetCount(), 2);
    store->First();
    EXPECT_STREQ(store->Next()->WorkPhone, "2");
}

TEST_F(OlAddrUtilTest, AFailedAddStillStoresTheRecordAndItsChangeFindsTheItemByPosition)
{
    ScriptedFolder& folder = outlook.AddFolder(olFolderContacts, "Contacts");
    folder.items->FailCall("Add", E_FAIL);
    OlAddrUtil connector(Session());
    ASSERT_TRUE(connector.Load());
    ForgetLog();

    CommAddrRec rec = Contact("Ann", "Lee");
    EXPECT_TRUE(connector.SubmitRecord(rec, true));
    EXPECT_EQ(LogOf("OlAddrUtil.cpp"),
              (std::vector<LogLine>{Failure("Failed to call the \"Add\" method. hr=0x80004005")}));
    CommAddrMgr* store = connector.GetAddrStore();
    ASSERT_EQ(store->GetCount(), 1);
    EXPECT_EQ(store->First()->NativeRecord, nullptr);

    // A change of that record has no item of its own: Items.Item is asked for position + 1.
    folder.items->SetMethod("Item", [](const std::vector<OwnedVariant>&, VARIANT*) { return S_OK; });
    ForgetLog();
    CopyText(rec.WorkPhone, "2");
    EXPECT_TRUE(connector.SubmitRecord(rec, true));
    const auto items = CallsOf(folder.items.get(), "Item");
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].args[0].v.lVal, 1);
    EXPECT_EQ(LogOf("OlAddrUtil.cpp"),
              (std::vector<LogLine>{Failure("Failed to get the Contact item by index: 1. hr=0x1")}));
    EXPECT_STREQ(store->First()->WorkPhone, "2");
}

TEST_F(OlAddrUtilTest, ANewContactWithoutItemsIsLoggedAndStillStored)
{
    ScriptedFolder& folder = outlook.AddFolder(olFolderContacts, "Contacts");
    LetFolderAdd(folder);
    OlAddrUtil connector(Session());
    ASSERT_TRUE(connector.Load());

    ForgetLog();
    // The items fail: logged, no item.
    folder.folder->FailCall("Items", E_FAIL);
    CommAddrRec rec = Contact("Cem", "Ozan");
    CopyText(rec.CustomLabels[0], "Label");
    EXPECT_TRUE(connector.SubmitRecord(rec, true));
    EXPECT_EQ(LogOf("OlAddrUtil.cpp"),
              (std::vector<LogLine>{
                  Failure("Failed to get the \"Items\" property of the Contact folder. hr=0x80004005")}));
    EXPECT_TRUE(added.empty());
    EXPECT_EQ(connector.GetAddrStore()->GetCount(), 1);
}

} // namespace
} // namespace fwtest
