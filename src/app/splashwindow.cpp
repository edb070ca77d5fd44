#include "splashwindow.h"

#include "pictures.h"
#include "window.h"

#include <QCloseEvent>
#include <QLabel>
#include <QTimer>

SplashWindow::SplashWindow(QWidget *parent)
    : QDialog(parent)
    , m_timer(new QTimer(this))
{
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setModal(true);
    setFixedSize(977, 735);
    Kit::paintSkyBlue(this);
    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("splashPicture"));
    picture->setGeometry(8, 8, 960, 720);
    picture->setScaledContents(true);
    picture->setPixmap(Pictures::splash());
    m_timer->setSingleShot(true);
    m_timer->setInterval(kDurationMs);
    connect(m_timer, &QTimer::timeout, this, [this] {
        m_timer->stop();
        m_timeUp = true;
        accept();
    });
}

void SplashWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    Kit::centre(this);
    m_timer->start();
}

void SplashWindow::reject()
{
    // Esc and every other way of cancelling: the timer alone ends the splash.
}

void SplashWindow::closeEvent(QCloseEvent *event)
{
    if (!m_timeUp) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
