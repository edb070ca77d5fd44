#pragma once

#include <QString>

// Starts other programs without waiting for them and without reporting a failure.
namespace Launcher {
// The web browser with an address, or the mail program with a "mailto:" address.
void openAddress(const QString &address);
// The desktop's calculator.
void calculator();
} // namespace Launcher
