#pragma once

#include <QString>

// The few values the whole program shares. AppDir and DbConnectionString are set once at
// start-up, before any window opens the database; the flags are set by the windows that own
// the decisions (login, receipt numbering check).
struct Program {
    static inline QString AppDir;
    static inline QString DbConnectionString;
    static inline bool LoginGranted = false;
    static inline bool ReceiptNumberingDefined = false;
};
