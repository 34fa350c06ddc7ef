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
    // Opens the user guide with the desktop's "open"; false when it cannot be found.
    static bool OpenUserGuide();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* m_imgText;
};
