#include "ui/TfmBanner.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include "ui/DesktopOpen.h"

namespace {

QPixmap LogoPixmap(int height)
{
    const qreal ratio = qGuiApp != nullptr ? qGuiApp->devicePixelRatio() : 1.0;
    QPixmap pixmap(QSize(300, height) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    // A small ferry on a wave: the product's mark.
    const int base = height / 2 + 10;
    QPainterPath hull;
    hull.moveTo(8, base - 8);
    hull.lineTo(52, base - 8);
    hull.lineTo(44, base + 2);
    hull.lineTo(16, base + 2);
    hull.closeSubpath();
    painter.fillPath(hull, Qt::white);
    painter.fillRect(QRectF(20, base - 20, 20, 10), QColor(255, 255, 255, 220));
    painter.fillRect(QRectF(26, base - 28, 6, 8), QColor(255, 200, 60));
    QPen wave(QColor(255, 255, 255, 180), 2);
    painter.setPen(wave);
    QPainterPath line;
    line.moveTo(2, base + 8);
    for (int x = 2; x <= 58; x += 8) {
        line.quadTo(x + 2, base + 4, x + 4, base + 8);
        line.quadTo(x + 6, base + 12, x + 8, base + 8);
    }
    painter.drawPath(line);

    QFont title("Verdana");
    title.setPixelSize(26);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(Qt::white);
    painter.drawText(QRect(66, 0, 234, height / 2 + 8), Qt::AlignLeft | Qt::AlignBottom, "Ferrywise");
    QFont sub("Verdana");
    sub.setPixelSize(12);
    painter.setFont(sub);
    painter.setPen(QColor(220, 236, 250));
    painter.drawText(QRect(68, height / 2 + 10, 232, 20), Qt::AlignLeft | Qt::AlignTop, "for Lotus Notes");
    return pixmap;
}

// Decoration: three overlapping cards, the data on its way.
QPixmap CardsPixmap(int height)
{
    const qreal ratio = qGuiApp != nullptr ? qGuiApp->devicePixelRatio() : 1.0;
    QPixmap pixmap(QSize(150, height) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const int top = (height - 50) / 2;
    for (int i = 0; i < 3; ++i) {
        const QRectF card(10 + i * 34, top + (2 - i) * 4, 52, 40);
        painter.setPen(QPen(QColor(255, 255, 255, 200), 1));
        painter.setBrush(QColor(255, 255, 255, 60 + i * 50));
        painter.drawRoundedRect(card, 4, 4);
        painter.setPen(QPen(QColor(0, 80, 140, 140), 2));
        for (int row = 0; row < 3; ++row) {
            const qreal y = card.top() + 11 + row * 9;
            painter.drawLine(QPointF(card.left() + 8, y), QPointF(card.right() - 8 - row * 8, y));
        }
    }
    return pixmap;
}

} // namespace

TfmBanner::TfmBanner(int height, QWidget* parent) : QWidget(parent)
{
    setFixedHeight(height);
    setAutoFillBackground(false);

    m_imgText = new QLabel(this);
    m_imgText->setObjectName("imgText");
    m_imgText->setPixmap(LogoPixmap(height));
    m_imgText->setCursor(Qt::PointingHandCursor);
    m_imgText->setToolTip("Open the user guide");
    m_imgText->installEventFilter(this);

    auto* cards = new QLabel(this);
    cards->setObjectName("imgCards");
    cards->setPixmap(CardsPixmap(height));

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(16, 0, 16, 0);
    layout->addWidget(m_imgText);
    layout->addStretch();
    layout->addWidget(cards);
}

bool TfmBanner::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_imgText && event->type() == QEvent::MouseButtonRelease) {
        OpenUserGuide(window());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TfmBanner::paintEvent(QPaintEvent*)
{
    // The first decorative image: the band's sky.
    QPainter painter(this);
    QLinearGradient sky(0, 0, width(), height());
    sky.setColorAt(0.0, QColor(0, 84, 150));
    sky.setColorAt(1.0, QColor(0, 128, 192));
    painter.fillRect(rect(), sky);
    painter.setPen(QColor(0, 60, 110));
    painter.drawLine(0, height() - 1, width(), height() - 1);
}

QString TfmBanner::UserGuideName()
{
    const QString folder =
        QCoreApplication::instance() != nullptr ? QCoreApplication::applicationDirPath() : QString();
    return folder + "/user-guide.html";
}

QString TfmBanner::UserGuidePath()
{
    QStringList candidates;
    if (QCoreApplication::instance() != nullptr) {
        candidates << UserGuideName();
    }
#ifdef FW_SOURCE_DIR
    candidates << QStringLiteral(FW_SOURCE_DIR "/docs/user-guide.html");
#endif
    for (const QString& candidate : candidates) {
        if (QFileInfo(candidate).isFile()) {
            return QFileInfo(candidate).absoluteFilePath();
        }
    }
    return QString();
}

bool TfmBanner::OpenUserGuide(QWidget* parent, const QString& section)
{
    const QString path = UserGuidePath();
    return OpenFileOrTell(parent, "the user guide", path.isEmpty() ? UserGuideName() : path, section);
}
