#pragma once

#include <QDialog>

class QTimer;

// The splash picture, shown modally at start-up and at the end; it closes itself when its
// 3000 ms timer fires, and only then (neither Esc nor the window manager close it).
class SplashWindow : public QDialog {
    Q_OBJECT
public:
    static constexpr int kDurationMs = 3000;

    explicit SplashWindow(QWidget *parent = nullptr);
    QTimer *timer() const { return m_timer; }

    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QTimer *m_timer;
    bool m_timeUp = false;
};
using TForm4 = SplashWindow;
