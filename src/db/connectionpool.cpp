#include "connectionpool.h"

#include "preparedstatement.h"
#include "serversession.h"

#include <QMutex>
#include <QMutexLocker>
#include <sqlite3.h>

#include <list>
#include <utility>

namespace ConnectionPool {

namespace {

// One kept handle: a file's (server null) or a server session (file.db null).
struct Kept {
    QString key;
    FileHandle file;
    std::unique_ptr<ServerSession> server;
};

// The kept handles, the one handed back last at the end.
struct Idle {
    std::list<Kept> handles;
    ~Idle()
    {
        for (Kept &k : handles)
            closeFile(k.file);
    }
};

QMutex g_mutex;

Idle &idle()
{
    static Idle kept;
    return kept;
}

QString fileKey(const QString &path, bool readOnly)
{
    return (readOnly ? QStringLiteral("file ro:") : QStringLiteral("file rw:")) + path;
}

QString serverKey(const QString &connectionText)
{
    return QStringLiteral("server:") + connectionText;
}

// Takes the last handle kept under the key out of the list.
std::list<Kept> takeOut(const QString &key)
{
    std::list<Kept> taken;
    const QMutexLocker lock(&g_mutex);
    auto &handles = idle().handles;
    for (auto it = handles.end(); it != handles.begin();) {
        --it;
        if (it->key == key) {
            taken.splice(taken.end(), handles, it);
            break;
        }
    }
    return taken;
}

// Keeps the handle, and gives back what no longer fits, to be closed after the lock is let go.
std::list<Kept> keep(Kept kept)
{
    std::list<Kept> surplus;
    const QMutexLocker lock(&g_mutex);
    auto &handles = idle().handles;
    int underKey = 0;
    for (const Kept &k : handles)
        underKey += k.key == kept.key ? 1 : 0;
    if (underKey >= kIdlePerPractice) {
        for (auto it = handles.begin(); it != handles.end(); ++it)
            if (it->key == kept.key) {
                surplus.splice(surplus.end(), handles, it);
                break;
            }
    }
    handles.push_back(std::move(kept));
    while (int(handles.size()) > kIdleInAll)
        surplus.splice(surplus.end(), handles, handles.begin());
    return surplus;
}

void closeAll(std::list<Kept> &handles)
{
    for (Kept &k : handles)
        closeFile(k.file);
    handles.clear(); // server sessions end here
}

} // namespace

void closeFile(FileHandle &handle)
{
    // Idle statements go first; one still held elsewhere keeps the file open until it goes.
    handle.statements.reset();
    if (handle.db)
        sqlite3_close_v2(std::exchange(handle.db, nullptr));
}

FileHandle takeFile(const QString &path, bool readOnly)
{
    std::list<Kept> taken = takeOut(fileKey(path, readOnly));
    return taken.empty() ? FileHandle() : std::exchange(taken.front().file, FileHandle());
}

void giveFile(const QString &path, bool readOnly, FileHandle handle)
{
    std::list<Kept> surplus = keep(Kept {fileKey(path, readOnly), std::move(handle), nullptr});
    closeAll(surplus);
}

std::unique_ptr<ServerSession> takeServer(const QString &connectionText)
{
    std::list<Kept> taken = takeOut(serverKey(connectionText));
    return taken.empty() ? nullptr : std::move(taken.front().server);
}

void giveServer(const QString &connectionText, std::unique_ptr<ServerSession> session)
{
    std::list<Kept> surplus = keep(Kept {serverKey(connectionText), {}, std::move(session)});
    closeAll(surplus);
}

int idleCount()
{
    const QMutexLocker lock(&g_mutex);
    return int(idle().handles.size());
}

void clear()
{
    std::list<Kept> gone;
    {
        const QMutexLocker lock(&g_mutex);
        gone.swap(idle().handles);
    }
    closeAll(gone);
}

} // namespace ConnectionPool
