#include "analogclock.h"

#include <QPainter>
#include <QTimer>

AnalogClock::AnalogClock(QWidget *parent)
    : QWidget(parent)
{
    auto *timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, qOverload<>(&QWidget::update));
    timer->start(1000);
}

void AnalogClock::paintEvent(QPaintEvent *)
{
    const QTime now = QTime::currentTime();
    const int side = std::min(width(), height());
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(width() / 2.0, height() / 2.0);
    p.scale(side / 200.0, side / 200.0);

    p.setPen(QPen(QColor(0x1F, 0x4E, 0x8C), 3));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(0, 0), 96, 96);
    for (int i = 0; i < 60; ++i) {
        p.setPen(QPen(Qt::black, i % 5 == 0 ? 3 : 1));
        p.drawLine(QPointF(0, i % 5 == 0 ? -80 : -86), QPointF(0, -90));
        p.rotate(6.0);
    }
    auto hand = [&](double degrees, double length, double width, const QColor &colour) {
        p.save();
        p.rotate(degrees);
        p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(0, 12), QPointF(0, -length));
        p.restore();
    };
    hand(30.0 * ((now.hour() % 12) + now.minute() / 60.0), 50, 7, Qt::black);
    hand(6.0 * (now.minute() + now.second() / 60.0), 72, 4, Qt::black);
    hand(6.0 * now.second(), 82, 1.5, Qt::red);
    p.setBrush(Qt::red);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(0, 0), 4, 4);
}
