#include "ui/TfmAddrFieldMap.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <iterator>
#include <vector>

#include "engine/MigrationDriver.h"
#include "misc/CxAppDescriptor.h"
#include "misc/Settings.h"
#include "ui/TfmBanner.h"
#include "ui/TfmOptionPage.h"

namespace {

constexpr char kNotesContacts[] = "Lotus Notes Contacts";
constexpr char kNotSet[] = "[Not Set]";
constexpr int kListWidth = 170;

struct MappingSource
{
    AppKind kind;
    const char* code; // of the control names: tACT, cbACTCustom1, imgACT
    const char* name; // S of the texts
    const char* tabCaption;
    int firstID;             // the source's first slot in FWSettings::CustomID
    const char* labelButton; // caption of the custom-labels button; null: none
    QColor colour;           // of the image's badge
    const char* badge;
};

const MappingSource kMappingSources[] = {
    {kAppACT, "ACT", "ACT! Contacts", "ACT! Contacts Field Mapping", kCustomIDACT, nullptr,
     QColor(178, 34, 34), "ACT!"},
    {kAppGoogle, "GG", "Google Contacts", "Google Contacts Field Mapping", kCustomIDGoogle,
     "Edit Google Contacts Custom Labels", QColor(26, 115, 232), "Google"},
    {kAppOutlook, "OL", "Outlook Contacts", "Outlook Contacts Field Mapping", kCustomIDOutlook,
     "Edit Outlook Contacts Custom Labels", QColor(0, 94, 184), "Outlook"},
    {kAppPalm, "PD", "Palm Desktop Contacts", "Palm Desktop Contacts Field Mapping", kCustomIDPalm, nullptr,
     QColor(46, 125, 50), "Palm Desktop"},
};

int SourceIndex(AppKind kind)
{
    for (int i = 0; i < static_cast<int>(std::size(kMappingSources)); ++i) {
        if (kMappingSources[i].kind == kind) {
            return i;
        }
    }
    return -1;
}

// An application's image: its name on a badge of its colour.
QPixmap Badge(const QColor& colour, const QString& text, const QWidget* owner)
{
    const qreal ratio = owner->devicePixelRatioF();
    QPixmap pixmap(QSize(120, 40) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawRoundedRect(QRectF(0.5, 0.5, 119, 39), 8, 8);
    QFont font = owner->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.1);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(0, 0, 120, 40), Qt::AlignCenter, text);
    return pixmap;
}

QString Text(const char* format, const char* s, const char* t)
{
    return QString::asprintf(format, s, t);
}

} // namespace

TfmAddrFieldMap::TfmAddrFieldMap(QWidget* parent) : QDialog(parent)
{
    setObjectName("TfmAddrFieldMap");
    setWindowTitle("Contacts Custom Field Mapping");

    // The top band: the title and the chosen source's image.
    auto* band = new QWidget(this);
    band->setObjectName("pTop");
    band->setAutoFillBackground(true);
    QPalette white = band->palette();
    white.setColor(QPalette::Window, Qt::white);
    band->setPalette(white);
    m_lblTitle = new QLabel("Set contacts custom fields mapping.", band);
    m_lblTitle->setObjectName("lblTitle");
    m_lblTitle->setWordWrap(true);
    QFont bold = m_lblTitle->font();
    bold.setBold(true);
    m_lblTitle->setFont(bold);
    auto* bandLayout = new QHBoxLayout(band);
    bandLayout->setContentsMargins(16, 10, 16, 10);
    bandLayout->addWidget(m_lblTitle, 1);
    for (int i = 0; i <= kSourceCount; ++i) {
        const bool notes = i == kSourceCount;
        m_images[i] = new QLabel(band);
        m_images[i]->setObjectName(notes ? QString("imgLN") : QString("img") + kMappingSources[i].code);
        m_images[i]->setPixmap(notes ? Badge(QColor(255, 193, 7), "Lotus Notes", this)
                                     : Badge(kMappingSources[i].colour, kMappingSources[i].badge, this));
        m_images[i]->setFixedSize(120, 40);
        m_images[i]->hide();
        bandLayout->addWidget(m_images[i]);
    }

    m_lblTopLine1 =
        new QLabel(Text("If the custom field mapping information is not set, the %s fields will be "
                        "copied to with %s",
                        "source", kNotesContacts),
                   this);
    m_lblTopLine1->setObjectName("lblTopLine1");
    m_lblTopLine1->setWordWrap(true);
    auto* topLine2 = new QLabel(
        "custom fields. Otherwise, the specified fields here will be migrated to the custom fields..", this);
    topLine2->setObjectName("lblTopLine2");
    m_lblRef = new QLabel("More about migrating fields ...", this);
    m_lblRef->setObjectName("lblRef");
    m_lblRef->setStyleSheet("color: #0000ee; text-decoration: underline;");
    m_lblRef->setCursor(Qt::PointingHandCursor);
    m_lblRef->setToolTip("Open the user guide about custom field mapping");
    m_lblRef->installEventFilter(this);

    m_pMap = new QTabWidget(this);
    m_pMap->setObjectName("pMap");
    for (int s = 0; s < kSourceCount; ++s) {
        const MappingSource& source = kMappingSources[s];
        auto* tab = new QWidget(m_pMap);
        tab->setObjectName(QString("t") + source.code);
        m_tabs[s] = tab;
        auto* tabLayout = new QVBoxLayout(tab);
        tabLayout->setContentsMargins(12, 10, 12, 10);
        tabLayout->setSpacing(6);
        for (int line = 0; line < 2; ++line) {
            m_detail[s][line] = new QLabel(tab);
            m_detail[s][line]->setObjectName(QString("lbl%1Detail%2").arg(source.code).arg(line + 1));
            m_detail[s][line]->setWordWrap(true);
            tabLayout->addWidget(m_detail[s][line]);
        }
        m_detail[s][0]->setText(
            Text("In this sheet, you may choose which %s fields should be mapped to %s custom "
                 "fields.",
                 source.name, kNotesContacts));
        m_detail[s][1]->setText(Text("%s Fields ==> %s Custom Fields", source.name, kNotesContacts));
        m_detail[s][1]->setFont(bold);

        // Custom 1..5 on the left, 6..9 on the right.
        auto* grid = new QGridLayout;
        grid->setHorizontalSpacing(8);
        grid->setVerticalSpacing(6);
        grid->setContentsMargins(0, 6, 0, 0);
        grid->setColumnMinimumWidth(2, 40);
        grid->setColumnStretch(5, 1);
        for (int slot = 0; slot < kSlots; ++slot) {
            auto* list = new QComboBox(tab);
            list->setObjectName(QString("cb%1Custom%2").arg(source.code).arg(slot + 1));
            list->setFixedWidth(kListWidth);
            list->setMaxVisibleItems(20);
            auto* label = new QLabel(QString("Custom %1:").arg(slot + 1), tab);
            label->setBuddy(list);
            const int row = slot % 5;
            const int column = slot < 5 ? 0 : 3;
            grid->addWidget(label, row, column);
            grid->addWidget(list, row, column + 1);
            m_lists[s][slot] = list;
        }
        tabLayout->addLayout(grid);
        if (source.labelButton != nullptr) {
            auto* button = new QPushButton(source.labelButton, tab);
            button->setObjectName(QString("btn%1Label").arg(source.code));
            // Custom labels are not edited in this product.
            tabLayout->addSpacing(4);
            tabLayout->addWidget(button, 0, Qt::AlignLeft);
        }
        tabLayout->addStretch(1);
        m_pMap->addTab(tab, source.tabCaption);
    }

    auto* btnOK = new QPushButton("&OK", this);
    auto* btnCancel = new QPushButton("&Cancel", this);
    btnOK->setObjectName("btnOK");
    btnCancel->setObjectName("btnCancel");
    btnOK->setDefault(true);
    btnOK->setFixedSize(80, 27);
    btnCancel->setFixedSize(80, 27);
    connect(btnOK, &QPushButton::clicked, this, &TfmAddrFieldMap::accept);
    connect(btnCancel, &QPushButton::clicked, this, &TfmAddrFieldMap::reject);

    auto* body = new QVBoxLayout;
    body->setContentsMargins(16, 12, 16, 12);
    body->setSpacing(4);
    body->addWidget(m_lblTopLine1);
    body->addWidget(topLine2);
    body->addSpacing(4);
    body->addWidget(m_lblRef, 0, Qt::AlignLeft);
    body->addSpacing(8);
    body->addWidget(m_pMap);
    body->addSpacing(8);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    body->addLayout(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(band);
    layout->addLayout(body);
    FitHeight();
}

void TfmAddrFieldMap::FitHeight()
{
    // The width is fixed; the height follows the texts, which wrap.
    setFixedSize(kClientWidth, layout()->totalHeightForWidth(kClientWidth));
}

void TfmAddrFieldMap::Prepare(AppKind source)
{
    m_source = SourceIndex(source);
    if (m_source >= 0) {
        const char* name = kMappingSources[m_source].name;
        m_lblTitle->setText(Text("Set %s and %s custom fields mapping.", name, kNotesContacts));
        m_lblTopLine1->setText(
            Text("If the custom field mapping information is not set, the %s fields will be "
                 "copied to with %s",
                 name, kNotesContacts));
    }
    for (int s = 0; s < kSourceCount; ++s) {
        m_pMap->setTabVisible(s, s == m_source);
        m_images[s]->setVisible(s == m_source);
    }
    m_images[kSourceCount]->hide();
    FitHeight();
    if (m_source < 0) {
        return;
    }
    m_pMap->setCurrentWidget(m_tabs[m_source]);

    std::vector<CxAppField> fields;
    const CxAppDescriptor* app = ConnectorRegistry::Instance().App(source);
    if (app != nullptr && app->contactFields) {
        fields = app->contactFields();
    }
    const FWSettings& settings = g_Settings();
    for (int slot = 0; slot < kSlots; ++slot) {
        QComboBox* list = m_lists[m_source][slot];
        list->clear();
        list->addItem(kNotSet, 0);
        for (const CxAppField& field : fields) {
            list->addItem(TfmOptionPage::FromSettings(field.label.c_str()), field.id);
        }
        const int stored = settings.CustomID[kMappingSources[m_source].firstID + slot];
        const int entry = stored != 0 ? list->findData(stored) : 0;
        list->setCurrentIndex(entry > 0 ? entry : 0);
    }
}

void TfmAddrFieldMap::accept()
{
    if (m_source >= 0) {
        FWSettings& settings = g_Settings();
        for (int slot = 0; slot < kSlots; ++slot) {
            settings.CustomID[kMappingSources[m_source].firstID + slot] =
                m_lists[m_source][slot]->currentData().toInt();
        }
    }
    QDialog::accept();
}

bool TfmAddrFieldMap::OpenMappingHelp(QWidget* parent)
{
    return TfmBanner::OpenUserGuide(parent, "field-mapping");
}

bool TfmAddrFieldMap::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_lblRef && event->type() == QEvent::MouseButtonRelease) {
        OpenMappingHelp(this);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
