#include "pictures.h"

#include "appinfo.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

// A stylised figure in motion: the mark of a physiotherapy practice.
void drawMark(QPainter &p, const QRectF &box, const QColor &colour)
{
    const double s = std::min(box.width(), box.height());
    const QPointF c = box.center();
    QPen pen(colour, s * 0.07, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(box.adjusted(s * 0.04, s * 0.04, -s * 0.04, -s * 0.04));
    p.setBrush(colour);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(c.x() + s * 0.05, c.y() - s * 0.25), s * 0.08, s * 0.08);
    p.setPen(pen);
    QPainterPath body;
    body.moveTo(c.x() + s * 0.02, c.y() - s * 0.13);
    body.lineTo(c.x() - s * 0.05, c.y() + s * 0.08);
    body.lineTo(c.x() + s * 0.14, c.y() + s * 0.28);
    body.moveTo(c.x() - s * 0.05, c.y() + s * 0.08);
    body.lineTo(c.x() - s * 0.2, c.y() + s * 0.28);
    body.moveTo(c.x() - s * 0.2, c.y() - s * 0.06);
    body.lineTo(c.x() + s * 0.0, c.y() - s * 0.08);
    body.lineTo(c.x() + s * 0.22, c.y() - s * 0.0);
    p.drawPath(body);
}

QPixmap canvas(const QSize &size, const QColor &top, const QColor &bottom)
{
    QPixmap pm(size);
    QPainter p(&pm);
    QLinearGradient g(0, 0, 0, size.height());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.fillRect(pm.rect(), g);
    return pm;
}

} // namespace

namespace Pictures {

QPixmap splash(const QSize &size)
{
    QPixmap pm = canvas(size, QColor(0x1F, 0x4E, 0x8C), QColor(0x0B, 0x24, 0x45));
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const double w = size.width(), h = size.height();
    drawMark(p, QRectF(w * 0.08, h * 0.2, h * 0.42, h * 0.42), QColor(0xA6, 0xCA, 0xF0));
    QFont title(QStringLiteral("DejaVu Sans"));
    title.setPixelSize(int(h * 0.14));
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRectF(w * 0.42, h * 0.22, w * 0.56, h * 0.2), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Orvanta"));
    QFont sub = title;
    sub.setBold(false);
    sub.setPixelSize(int(h * 0.04));
    p.setFont(sub);
    p.setPen(QColor(0xD8, 0xE8, 0xFA));
    p.drawText(QRectF(w * 0.42, h * 0.43, w * 0.56, h * 0.16), Qt::AlignLeft | Qt::TextWordWrap,
               QStringLiteral("Διαχείριση φυσικοθεραπευτηρίου"));
    sub.setPixelSize(int(h * 0.03));
    p.setFont(sub);
    p.drawText(QRectF(w * 0.42, h * 0.55, w * 0.56, h * 0.06), Qt::AlignLeft,
               AppInfo::versionText());
    p.drawText(QRectF(0, h * 0.88, w * 0.95, h * 0.06), Qt::AlignRight,
               QStringLiteral("Κατασκευή: ") + AppInfo::maker());
    return pm;
}

QPixmap logo(const QSize &size)
{
    QPixmap pm(size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const double h = size.height();
    drawMark(p, QRectF(0, 0, h, h), QColor(0x1F, 0x4E, 0x8C));
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(int(h * 0.3));
    f.setBold(true);
    // The name fills the room beside the mark and no more.
    const double room = size.width() - h * 1.1;
    while (f.pixelSize() > 8 && QFontMetrics(f).horizontalAdvance(QStringLiteral("Orvanta")) > room)
        f.setPixelSize(f.pixelSize() - 2);
    p.setFont(f);
    p.setPen(QColor(0x1F, 0x4E, 0x8C));
    p.drawText(QRectF(h * 1.05, 0, size.width() - h * 1.05, h * 0.62),
               Qt::AlignLeft | Qt::AlignBottom, QStringLiteral("Orvanta"));
    f.setPixelSize(int(h * 0.09));
    f.setBold(false);
    while (f.pixelSize() > 6
           && QFontMetrics(f).horizontalAdvance(QStringLiteral("Διαχείριση φυσικοθεραπευτηρίου"))
               > room)
        f.setPixelSize(f.pixelSize() - 1);
    p.setFont(f);
    p.drawText(QRectF(h * 1.07, h * 0.64, size.width() - h * 1.07, h * 0.2),
               Qt::AlignLeft | Qt::AlignTop, QStringLiteral("Διαχείριση φυσικοθεραπευτηρίου"));
    return pm;
}

QPixmap banner(const QSize &size)
{
    QPixmap pm = canvas(size, QColor(0x1F, 0x4E, 0x8C), QColor(0x3A, 0x74, 0xB8));
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(std::max(10, size.height() / 3));
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(pm.rect().adjusted(12, 0, -12, 0), Qt::AlignVCenter | Qt::AlignLeft,
               QStringLiteral("Orvanta · Διαχείριση φυσικοθεραπευτηρίου"));
    return pm;
}

QPixmap badge(const QSize &size)
{
    QPixmap pm = canvas(size, QColor(0xF0, 0xF0, 0xF0), QColor(0xC8, 0xC8, 0xC8));
    QPainter p(&pm);
    p.setPen(QColor(0x1F, 0x4E, 0x8C));
    p.drawRect(pm.rect().adjusted(0, 0, -1, -1));
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(std::max(8, size.height() / 3));
    f.setBold(true);
    p.setFont(f);
    p.drawText(pm.rect(), Qt::AlignCenter, AppInfo::maker());
    return pm;
}

} // namespace Pictures
