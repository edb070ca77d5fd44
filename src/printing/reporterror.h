#pragma once

#include "dberror.h"

// A failure of the report engine (a layout file missing or unreadable). It is shown in the same
// error dialog as a failure of the database layer, so every window that guards its actions with
// Kit::guarded reports it without knowing the engine.
class ReportError : public DbError {
public:
    explicit ReportError(const QString &message)
        : DbError(message)
    {}
};
