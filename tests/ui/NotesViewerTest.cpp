// The read-only store viewer: each database's items in its table, the search, and a missing
// database reported without losing the others.
#include <QLabel>
#include <QLineEdit>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTest>

#include <cstdio>
#include <cstring>
#include <iterator>
#include <memory>
#include <string>

#include "common/TempHome.h"
#include "notes/NotesStore.h"
#include "ui/NotesViewer.h"

namespace {

template <class Rec> void Insert(const std::string& path, NotesItemKind kind, const Rec& rec)
{
    NotesStore store;
    std::string error;
    QVERIFY2(store.Open(path, error), error.c_str());
    QVERIFY2(store.BeginWrite(kind, error), error.c_str());
    QVERIFY2(store.Insert(&rec, nullptr, error), error.c_str());
    QVERIFY2(store.CommitWrite(error), error.c_str());
}

LNAddrRec Contact(const char* name, const char* email)
{
    LNAddrRec r;
    std::memset(&r, 0, sizeof r);
    std::strcpy(r.DisplayName, name);
    std::strcpy(r.BusinessEmail, email);
    return r;
}

} // namespace

class NotesViewerTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<fwtest::TempHome> m_home;
    std::string m_folder;

private slots:
    void init()
    {
        m_home = std::make_unique<fwtest::TempHome>();
        m_folder = m_home->Path("notes/");
        m_home->WriteFile("notes/.keep", "");
        std::string error;
        for (const char* name : {"names.nsf", "mail.nsf", "notebook.nsf"}) {
            QVERIFY2(NotesStore::Create(m_folder + name, error), error.c_str());
        }
    }

    void cleanup() { m_home.reset(); }

    void showsEachKindAndSearches()
    {
        Insert(m_folder + "names.nsf", NotesItemKind::Contacts, Contact("Ann Smith", "ann@example.org"));
        Insert(m_folder + "names.nsf", NotesItemKind::Contacts, Contact("Bob Jones", "bob@example.org"));
        LNTaskRec task;
        std::memset(&task, 0, sizeof task);
        std::strcpy(task.Subject, "File taxes");
        Insert(m_folder + "mail.nsf", NotesItemKind::Tasks, task);
        LNNoteRec note;
        std::memset(&note, 0, sizeof note);
        std::strcpy(note.Title, "Shopping");
        Insert(m_folder + "notebook.nsf", NotesItemKind::Notes, note);

        NotesViewer viewer(m_folder);
        QVERIFY(viewer.GetError().isEmpty());
        QCOMPARE(viewer.GetTable(0)->rowCount(), 2);
        QCOMPARE(viewer.GetTable(0)->item(1, 0)->text(), QString("Bob Jones"));
        QCOMPARE(viewer.GetTable(0)->item(1, 1)->text(), QString("bob@example.org"));
        QCOMPARE(viewer.GetTable(1)->rowCount(), 0);
        QCOMPARE(viewer.GetTable(2)->item(0, 0)->text(), QString("File taxes"));
        QCOMPARE(viewer.GetTable(3)->item(0, 0)->text(), QString("Shopping"));

        auto* search = viewer.findChild<QLineEdit*>("edtSearch0");
        auto* filter = viewer.findChild<QSortFilterProxyModel*>("filter0");
        QVERIFY(search && filter);
        QTest::keyClicks(search, "ANN@");
        QCOMPARE(filter->rowCount(), 1);
        QCOMPARE(filter->index(0, 0).data().toString(), QString("Ann Smith"));
    }

    // Contacts without a display name (Palm Desktop and most address books give none) are
    // listed by their name, company or e-mail address, never as blank rows.
    void contactsWithoutDisplayNameAreNamed()
    {
        struct Case
        {
            const char* display;
            const char* first;
            const char* middle;
            const char* last;
            const char* company;
            const char* email;
            const char* personalEmail;
            const char* shown; // UTF-8
        };
        const Case cases[] = {
            {"Dr. Ann Lee", "Ann", "", "Lee", "Acme", "ann@x", "", "Dr. Ann Lee"},
            {"", "J\xf6rg", "K.", "M\xfcller", "Acme", "", "", "J\xc3\xb6rg K. M\xc3\xbcller"},
            {"", "", "", "Lee", "Acme", "", "", "Lee"},
            {"   ", "", "", "", "Librairie \x9cuvre", "ann@x", "", "Librairie \xc5\x93uvre"},
            {"", "", "", "", "", "ann@x", "home@y", "ann@x"},
            {"", "", "", "", "", "", "home@y", "home@y"},
        };
        for (const Case& c : cases) {
            LNAddrRec r = Contact(c.display, c.email);
            std::strcpy(r.FirstName, c.first);
            std::strcpy(r.MiddleName, c.middle);
            std::strcpy(r.LastName, c.last);
            std::strcpy(r.Company, c.company);
            std::strcpy(r.PersonalEmail, c.personalEmail);
            Insert(m_folder + "names.nsf", NotesItemKind::Contacts, r);
        }
        NotesViewer viewer(m_folder);
        QCOMPARE(viewer.GetTable(0)->rowCount(), int(std::size(cases)));
        for (int row = 0; row < int(std::size(cases)); ++row) {
            QCOMPARE(viewer.GetTable(0)->item(row, 0)->text(), QString::fromUtf8(cases[row].shown));
        }
        // The search finds a contact by the name it is shown with.
        QTest::keyClicks(viewer.findChild<QLineEdit*>("edtSearch0"), "rg K. M");
        QCOMPARE(viewer.findChild<QSortFilterProxyModel*>("filter0")->rowCount(), 1);
    }

    void missingDatabaseIsReported()
    {
        QVERIFY(std::remove((m_folder + "mail.nsf").c_str()) == 0);
        Insert(m_folder + "names.nsf", NotesItemKind::Contacts, Contact("Ann Smith", "ann@example.org"));
        NotesViewer viewer(m_folder);
        // Calendar and tasks share the database: one line for it.
        QCOMPARE(viewer.GetError().count("mail.nsf"), 1);
        QVERIFY(viewer.findChild<QLabel*>("lblError"));
        QCOMPARE(viewer.GetTable(0)->rowCount(), 1);
        QCOMPARE(viewer.GetTable(1)->rowCount(), 0);
    }
};

QTEST_MAIN(NotesViewerTest)
#include "NotesViewerTest.moc"
