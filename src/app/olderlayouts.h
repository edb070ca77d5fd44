#pragma once

#include <QString>
#include <QStringList>

// The report layouts of the practice folder that are older than the program's: the launcher
// kept them because the person changed them, put the program's beside them (NAME.RAV.new) and
// named them in a file the program reads once, to tell the person in a window.
namespace OlderLayouts {

inline constexpr char kFileName[] = ".orvanta-older-layouts";

// The names the launcher wrote (each once, in order), and the file removed so that the window
// is shown once. None when there is no file.
QStringList take(const QString &practiceFolder);

inline QString text(const QStringList &names)
{
    return QStringLiteral("Οι φόρμες εκτύπωσης %1 είναι παλαιότερες από τις φόρμες αυτής της "
                          "έκδοσης του προγράμματος. Τις έχετε αλλάξει, γι' αυτό έμειναν όπως "
                          "ήταν· οι φόρμες του προγράμματος είναι δίπλα τους, με την κατάληξη "
                          ".new (για παράδειγμα %2.new). Οι αποδείξεις τυπώνουν το Μ.ΑΡ.Κ. και "
                          "τον κωδικό QR μόνο με τη φόρμα του προγράμματος.")
        .arg(names.join(QStringLiteral(", ")), names.value(0));
}

} // namespace OlderLayouts
