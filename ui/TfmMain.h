#pragma once
// The wizard's main window: a top band, the client panel with one visible page, and the
// button band. The frame owns the step counter and chooses the page of each step.
#include <QWidget>
#include <map>

#include "misc/AppKind.h"
#include "misc/CxAppDescriptor.h"

class QLabel;
class QPushButton;
class TfmPage;

class TfmMain : public QWidget
{
    Q_OBJECT

public:
    // Begins the driver's session with the program's application kinds (borrowed for the
    // wizard's life), creates every page hidden (the option and data pages of each source
    // kind as its descriptor names them) and shows step 0.
    explicit TfmMain(const CxAppRegistry& apps, QWidget* parent = nullptr);
    // Ends the driver's session, which saves the settings.
    ~TfmMain() override;

    int CurrentStep() const { return m_CurrentStep; }
    int StepCount() const { return m_StepCount; }

    // The page of a step for the chosen source; null when there is none.
    TfmPage* PageOfStep(int step) const;
    // The page shown now; null when none is.
    TfmPage* VisiblePage() const;

    void ShowStep();
    void Next();
    void Prev();
    // Back to the first step without reloading the settings.
    void Restart();
    void ShowOptions();
    void ShowHelp();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    TfmPage* SourcePage(int step) const;

    int m_CurrentStep = 0;
    int m_StepCount = 0;
    TfmPage* m_source = nullptr;
    TfmPage* m_lnOption1 = nullptr;
    TfmPage* m_lnOption2 = nullptr;
    struct SourcePages
    {
        TfmPage* options = nullptr;
        TfmPage* data = nullptr;
    };
    std::map<int, SourcePages> m_sourcePages; // by application kind
    TfmPage* m_finish = nullptr;
    QWidget* m_pClient = nullptr;
    QLabel* m_imgText = nullptr;
    QPushButton* m_btnHelp = nullptr;
    QPushButton* m_btnOption = nullptr;
    QPushButton* m_btnPrev = nullptr;
    QPushButton* m_btnNext = nullptr;
    QPushButton* m_btnClose = nullptr;
};
