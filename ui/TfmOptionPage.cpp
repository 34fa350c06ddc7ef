#include "ui/TfmOptionPage.h"

#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPalette>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstring>
#include <string>

#include "engine/MigrationDriver.h"
#include "platform/CodePage.h"
#include "ui/EngineRunner.h"

namespace {

OpenFileChooser& Chooser()
{
    static OpenFileChooser chooser;
    return chooser;
}

QString PlatformOpenFile(QWidget* owner, const QString& title, const QString& start, const QString& filters)
{
    if (filters.isEmpty()) {
        return QFileDialog::getExistingDirectory(owner, title, start);
    }
    return QFileDialog::getOpenFileName(owner, title, start, filters);
}

} // namespace

TfmOptionPage::TfmOptionPage(const QString& heading, QWidget* parent) : TfmPage(parent)
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(24, 16, 24, 16);
    outer->setSpacing(16);
    auto* title = new QLabel(heading, this);
    title->setObjectName("lblTitle");
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    outer->addWidget(title);
    m_grid = new QGridLayout();
    m_grid->setHorizontalSpacing(8);
    m_grid->setVerticalSpacing(8);
    m_grid->setColumnStretch(1, 1);
    outer->addLayout(m_grid);
    outer->addStretch(1);
}

void TfmOptionPage::SetOpenFileChooser(OpenFileChooser chooser)
{
    Chooser() = std::move(chooser);
}

QString TfmOptionPage::FromSettings(const char* text)
{
    return QString::fromStdString(platform::AnsiToUtf8(text ? text : ""));
}

QString TfmOptionPage::PathFromSettings(const char* path)
{
    return QFile::decodeName(path);
}

bool TfmOptionPage::PathToSettings(const QString& text, char* field, std::size_t size)
{
    const QByteArray bytes = QFile::encodeName(text);
    if (static_cast<std::size_t>(bytes.size()) >= size) {
        return false;
    }
    std::memcpy(field, bytes.constData(), static_cast<std::size_t>(bytes.size()));
    field[bytes.size()] = '\0';
    return true;
}

void TfmOptionPage::ToSettings(const QString& text, char* field, std::size_t size)
{
    if (!field || size == 0) {
        return;
    }
    const std::string ansi = platform::Utf8ToAnsi(text.toStdString());
    const std::size_t length = std::min(ansi.size(), size - 1);
    std::memcpy(field, ansi.data(), length);
    field[length] = '\0';
}

QLabel* TfmOptionPage::AddLabel(const QString& caption, int row, int column)
{
    auto* label = new QLabel(caption, this);
    m_grid->addWidget(label, row, column);
    return label;
}

QLineEdit* TfmOptionPage::AddEdit(const char* name, int maxLength, int row, bool password)
{
    auto* edit = new QLineEdit(this);
    edit->setObjectName(name);
    edit->setMaxLength(maxLength);
    if (password) {
        edit->setEchoMode(QLineEdit::Password);
    }
    m_grid->addWidget(edit, row, 1);
    return edit;
}

QPushButton* TfmOptionPage::AddBrowseButton(const char* name, int row)
{
    auto* button = new QPushButton("...", this);
    button->setObjectName(name);
    button->setFixedWidth(32);
    m_grid->addWidget(button, row, 2);
    return button;
}

void TfmOptionPage::AddSourceMapping(const QString& caption, int row)
{
    auto* box = new QCheckBox(caption, this);
    box->setObjectName("cbFieldMap");
    auto* button = new QPushButton("Setup Field Mapping  Now", this);
    button->setObjectName("btnMap");
    button->setEnabled(false);
    m_grid->addWidget(box, row, 0, 1, 3);
    m_grid->addWidget(button, row + 1, 0, 1, 2, Qt::AlignLeft);
    m_sourceMapping[0] = box;
    m_sourceMapping[1] = button;
}

void TfmOptionPage::HideSourceMapping()
{
    for (QWidget* widget : m_sourceMapping) {
        if (widget) {
            widget->hide();
        }
    }
}

void TfmOptionPage::ShowVersion(QLabel* label, const char* version, bool known, const QString& fallback)
{
    QPalette palette = label->palette();
    // Windows colour values: blue 0xFF0000, red 255.
    palette.setColor(QPalette::WindowText, known ? QColor(0, 0, 255) : QColor(255, 0, 0));
    label->setPalette(palette);
    label->setText(known ? FromSettings(version) : fallback);
}

void TfmOptionPage::BrowseInto(QLineEdit* edit, const QString& fallback, const QString& filters,
                               const QString& title, const std::function<bool(const QString&)>& accept)
{
    const QString start = edit->text().isEmpty() ? fallback : edit->text();
    const QString chosen =
        Chooser() ? Chooser()(this, start, filters) : PlatformOpenFile(this, title, start, filters);
    if (chosen.isEmpty()) {
        return;
    }
    // The edit would silently cut a longer path to a different, wrong one.
    if (platform::Utf8ToAnsi(chosen.toStdString()).size() > static_cast<std::size_t>(edit->maxLength())) {
        ShowError(QString("The chosen path is longer than %1 characters.").arg(edit->maxLength()),
                  MessageIcon::Error);
        edit->setFocus();
        return;
    }
    if (accept && !accept(chosen)) {
        return;
    }
    edit->setText(chosen);
}

void TfmOptionPage::ShowError(const QString& text, MessageIcon icon)
{
    if (IFrontEnd* frontEnd = GetFrontEnd()) {
        frontEnd->MessageBox(window(), text.toStdString(), "Error", icon);
        return;
    }
    QMessageBox box(icon == MessageIcon::Information ? QMessageBox::Information : QMessageBox::Critical,
                    "Error", text, QMessageBox::Ok, window());
    box.exec();
}

bool TfmOptionPage::LoadAndCompareWithNotes(AppKind source)
{
    ParentWindow parent = window();
    return RunOffGuiThread(window(), [parent, source] { return LoadAndCompare(parent, source, kAppNotes); });
}
