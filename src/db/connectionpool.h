#pragma once

#include <QString>

#include <memory>

struct sqlite3;
class ServerSession;
class StatementCache;

// The practice's handles kept for the program's life. A window opens and closes its connection
// as often as it likes; the file handle (with its SQL functions and prepared statements) or the
// server session underneath is handed back here when it closes and taken out by the next
// window that opens the same practice. Connection decides what may come back (nothing in a
// transaction, no statement still in use) and checks what it takes out (the same file still
// under the name, the database password, a server session that still answers); the pool only
// keeps them, and gives each to one connection at a time. Safe to use from any thread.
namespace ConnectionPool {

// A practice file's handle and what belongs to it.
struct FileHandle {
    sqlite3 *db = nullptr;
    std::shared_ptr<StatementCache> statements;
    quint64 device = 0; // the file the name stood for when the handle was opened
    quint64 inode = 0;
};

// How many idle handles are kept for one practice, and for all together; beyond that the one
// handed back longest ago is closed.
inline constexpr int kIdlePerPractice = 4;
inline constexpr int kIdleInAll = 12;

// The handle of the file handed back last, opened read-only or not as asked; empty when none
// is kept.
FileHandle takeFile(const QString &path, bool readOnly);
void giveFile(const QString &path, bool readOnly, FileHandle handle);
// Closes a handle that is not kept.
void closeFile(FileHandle &handle);

std::unique_ptr<ServerSession> takeServer(const QString &connectionText);
void giveServer(const QString &connectionText, std::unique_ptr<ServerSession> session);

// How many handles are kept now, of files and of server sessions together.
int idleCount();
// Closes every kept handle (at exit, or when a test wants fresh ones).
void clear();

} // namespace ConnectionPool
