#pragma once
// The last page: how many records of each type were migrated, the migration log, Lotus Notes,
// and a new migration.
#include "ui/TfmPage.h"

class QLabel;

class TfmFinish : public TfmPage
{
    Q_OBJECT

public:
    explicit TfmFinish(QWidget* parent = nullptr);

    void EnterPage() override;

signals:
    // "Perform New Migration": the frame returns to the first step.
    void NewMigration();

private:
    void ViewLog();
    void OpenNotes();

    QLabel* m_lblCount[4];
};
