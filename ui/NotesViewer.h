#pragma once
// ferrywise-notes: a small read-only window onto the local Lotus Notes store, one searchable
// table per kind of item (contacts, calendar, tasks, notes).
#include <QString>
#include <QWidget>

#include <string>

class QStandardItemModel;
class QTabWidget;

class NotesViewer : public QWidget
{
    Q_OBJECT

public:
    // dataFolder: the folder of names.nsf, mail.nsf and notebook.nsf, ending in '/'.
    explicit NotesViewer(const std::string& dataFolder, QWidget* parent = nullptr);

    // The data folder the local setup registered; empty when there is none.
    static std::string RegisteredDataFolder();

    // The table of one kind: 0 contacts, 1 calendar, 2 tasks, 3 notes.
    QStandardItemModel* GetTable(int kind) const { return m_tables[kind]; }
    // Why a database could not be read; empty when every one was.
    const QString& GetError() const { return m_error; }

private:
    void LoadTable(int kind, const std::string& database);
    void AddError(const std::string& error);

    QTabWidget* m_tabs = nullptr;
    QStandardItemModel* m_tables[4] = {};
    QString m_error;
};
