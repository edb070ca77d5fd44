#pragma once

#include <QLabel>

// A day number of the month view: a label that answers a click of the left mouse button (with
// the hand cursor, so it reads as something to press). A hidden label cannot be clicked.
class DayLabel : public QLabel {
    Q_OBJECT
public:
    explicit DayLabel(QWidget *parent = nullptr);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool m_pressed = false;
};
