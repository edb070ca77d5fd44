#pragma once

#include "practicebackup.h"

class Connection;

namespace PracticeBackup::Detail {

// A backup of the practice file the connection has open, by the engine's online backup in one
// reading of the file. restoreFile() (practicebackup.h) is the way back.
Outcome backUpFile(Connection &source, const QString &destinationFolder, const QDateTime &when,
                   const Progress &progress);

} // namespace PracticeBackup::Detail
