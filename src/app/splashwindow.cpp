#include "splashwindow.h"

#include "pictures.h"
#include "window.h"

#include <QLabel>
#include <QTimer>

SplashWindow::SplashWindow(QWidget *parent) : QDialog(parent), m_timer(new QTimer(this))
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
        accept();
    });
}

void SplashWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    Kit::centre(this);
    m_timer->start();
}
