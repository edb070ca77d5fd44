#pragma once

#include "practicebackup.h"

class ServerSession;

namespace PracticeBackup::Detail {

// A backup of the server database the session is connected to, read in one transaction into a
// new practice file. restoreToServer() (practicebackup.h) is the way back.
Outcome backUpServer(ServerSession &server, const QString &destinationFolder,
                     const QDateTime &when, const Progress &progress);

} // namespace PracticeBackup::Detail
