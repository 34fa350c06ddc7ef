#pragma once
// Shared ground of the option pages: the heading, text exchange with the settings record (whose
// texts are in the ANSI code page), "..." buttons, the "Error" message boxes and the load and
// comparison of a source page.
#include <QString>
#include <cstddef>
#include <functional>

#include "engine/FrontEnd.h"
#include "misc/AppKind.h"
#include "ui/TfmPage.h"

class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;

// Opens the platform's open-file dialog: owner, starting path, filters in Qt's form
// ("Name (*.ext);;All Files(*.*) (*.*)"; none: a folder is chosen). Returns the chosen path,
// or an empty text on Cancel.
using OpenFileChooser = std::function<QString(QWidget* owner, const QString& start, const QString& filters)>;

class TfmOptionPage : public TfmPage
{
    Q_OBJECT

public:
    explicit TfmOptionPage(const QString& heading, QWidget* parent = nullptr);

    // Replaces the open-file dialog of every page (tests answer it without a modal dialog);
    // an empty chooser restores the platform's dialog.
    static void SetOpenFileChooser(OpenFileChooser chooser);

    // A settings text (ANSI code page) as shown in an edit, and back: the text is cut to at
    // most size - 1 bytes and always terminated.
    static QString FromSettings(const char* text);
    static void ToSettings(const QString& text, char* field, std::size_t size);
    // A path of the file system kept in the settings as its bytes, as shown in an edit, and
    // back: false, with the field unchanged, when the path does not fit in size - 1 bytes.
    static QString PathFromSettings(const char* path);
    static bool PathToSettings(const QString& text, char* field, std::size_t size);

protected:
    // Rows below the heading, in reading order.
    QGridLayout* Grid() const { return m_grid; }
    QLabel* AddLabel(const QString& caption, int row, int column = 0);
    QLineEdit* AddEdit(const char* name, int maxLength, int row, bool password = false);
    QPushButton* AddBrowseButton(const char* name, int row);
    // The source's own mapping box and button, which this product keeps on TfmLNOption2:
    // made for the layout's sake and hidden by HideSourceMapping (from EnterPage).
    void AddSourceMapping(const QString& caption, int row);
    void HideSourceMapping();
    // A version label: the version in blue when there is one, otherwise fallback in red.
    static void ShowVersion(QLabel* label, const char* version, bool known, const QString& fallback);

    // Opens the file dialog for edit, starting at its text or at fallback when it is empty;
    // on OK the chosen path replaces the text. A path longer than the edit takes is refused
    // with a message rather than cut short. title captions the dialog; accept, when given,
    // may refuse the chosen path (it shows its own message), leaving the edit as it was.
    void BrowseInto(QLineEdit* edit, const QString& fallback, const QString& filters,
                    const QString& title = QString(), const std::function<bool(const QString&)>& accept = {});

    // A message box captioned "Error" over the wizard, through the front end when one is set.
    void ShowError(const QString& text, MessageIcon icon);

    // LoadAndCompare(source, Lotus Notes) on the engine thread while the wizard waits.
    bool LoadAndCompareWithNotes(AppKind source);

private:
    QGridLayout* m_grid;
    QWidget* m_sourceMapping[2] = {};
};
