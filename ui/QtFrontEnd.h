#pragma once
// The wizard's front end for the engine: message boxes and the exception dialog on the GUI
// thread, owned by the wizard, the calling thread waiting for the answer; wait views created,
// repainted and closed by queued calls so that the wait window's thread never blocks on the GUI.
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <memory>
#include <string>

#include "engine/FrontEnd.h"

class QtFrontEnd : public QObject, public IFrontEnd
{
    Q_OBJECT

public:
    // Lives on the GUI thread; wizard owns the boxes and dialogs (may be set later).
    explicit QtFrontEnd(QWidget* wizard = nullptr);
    ~QtFrontEnd() override;

    void SetWizard(QWidget* wizard) { m_wizard = wizard; }
    QWidget* Wizard() const { return m_wizard; }

    void MessageBox(ParentWindow parent, const std::string& text, const std::string& caption,
                    MessageIcon icon) override;
    void ShowExceptionDialog(ParentWindow parent, const std::string& what) override;
    std::unique_ptr<IWaitView> CreateWaitView() override;
    void BringToFront(ParentWindow parent) override;

    // The wait windows on the screen now (GUI thread only); tests look at them.
    QList<QWidget*> WaitWidgets() const;

private:
    void ShowMessageOnGui(const std::string& text, const std::string& caption, MessageIcon icon);
    void ShowExceptionOnGui(const std::string& what);
    void HideWaitWidgets();

    QPointer<QWidget> m_wizard;
};

// A message box of the wizard's own pages: through the engine's front end when one is set (so
// that tests can record it), otherwise a modal box over parent. GUI thread only.
void FwMessageBox(QWidget* parent, const std::string& text, const std::string& caption, MessageIcon icon);

// Why a cancel is refused while records are written, over parent. Shown directly, not through
// the front end: the front end's boxes hide the wait window, and the writing goes on.
void ShowCancelRefused(QWidget* parent);
