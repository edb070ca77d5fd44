#pragma once

#include <QTime>
#include <QWidget>

// A round clock face with hour, minute and second hands, showing the current time.
class AnalogClock : public QWidget {
    Q_OBJECT
public:
    explicit AnalogClock(QWidget *parent = nullptr);
    QSize sizeHint() const override { return {150, 150}; }

protected:
    void paintEvent(QPaintEvent *event) override;
};
