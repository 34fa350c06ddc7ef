#pragma once
// The top band shared by the main window and the two dialogs: the product logo `imgText`
// (a click opens the user guide) and two decorative images, drawn in code.
#include <QLabel>
#include <QWidget>

class TfmBanner : public QWidget
{
    Q_OBJECT

public:
    TfmBanner(int height, QWidget* parent = nullptr);

    QLabel* Logo() const { return m_imgText; }

    // The user guide shipped beside the program (or in the source tree); empty when missing.
    static QString UserGuidePath();
    // Where the user guide is looked for first: beside the program.
    static QString UserGuideName();
    // Opens the user guide with the desktop's "open", at a section (an anchor of the guide)
    // when one is given; when it cannot be found or no program can open it, a message box over
    // parent says so, naming the file, and false.
    static bool OpenUserGuide(QWidget* parent, const QString& section = QString());

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* m_imgText;
};
