#pragma once

#include <QPixmap>

// The program's pictures, drawn rather than shipped as files, so they are sharp at any size.
namespace Pictures {
QPixmap splash(const QSize &size = QSize(960, 720));
QPixmap logo(const QSize &size = QSize(640, 240));
QPixmap banner(const QSize &size);
QPixmap badge(const QSize &size = QSize(88, 31));
} // namespace Pictures
