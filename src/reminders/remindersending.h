#pragma once

#include "reminderqueue.h"

#include <QDateTime>
#include <QStringList>

#include <functional>

class Connection;

// One sending run: the queue is reconciled with the links, reminders found in flight from a run
// that never finished are marked uncertain (never sent blind again), and each reminder due is
// marked in flight, committed, and only then handed to the mail server or SMS provider.
namespace Reminders {

struct Secrets {
    QString mailPassword;
    bool mailPasswordFound = false;
    QString smsKey;
    bool smsKeyFound = false;
};

struct RunOptions {
    QString sender;               // names this program in the queue ("host/pid")
    int staleSeconds = 15 * 60;   // a reminder in flight longer than this was lost with its run
    int retrySeconds = 5 * 60;    // how long a reminder that did not leave waits to be tried again
    int timeoutSeconds = 60;      // for one mail or SMS
    // Called after a reminder is marked in flight and before it leaves (tests stop there).
    std::function<void(const Reminder &)> afterInFlight;
    // Called after the server or provider answered and before the answer is kept.
    std::function<void(const Reminder &)> afterDelivery;
};

struct RunReport {
    int sent = 0;
    int retry = 0;     // did not leave; tried again later
    int uncertain = 0;
    int failed = 0;
    int expired = 0;
    QStringList notices; // what the person is to be told, in Greek
};

// Throws DbError when the database fails (a reminder already marked in flight stays so, and is
// never sent again).
RunReport sendDue(Connection &connection, const Secrets &secrets, const QDateTime &now,
                  const RunOptions &options);

} // namespace Reminders
