#pragma once

#include "engine.h"

#include <QString>
#include <QStringList>

// The practice database: its fourteen tables, and the file in its delivered state.
class Connection;
class ServerSession;

namespace Schema {

// Marks a file as a practice database of this program (SQLite's application_id).
inline constexpr int kApplicationId = 0x4F52564E; // "ORVN"

// The 28 half-hour slot columns of RANTEBOU, in time order: "0800-0830" ... "2130-2200".
QStringList slotColumns();

// The caption of a slot column: "0800-0830" -> "08:00 - 08:30".
QString slotCaption(const QString &column);

// CREATE TABLE statements of the fourteen tables (and the database's own marker table), for
// the file or for a server database.
QStringList createStatements(Engine engine = Engine::SQLite);

// The table of the receipts sent to the tax authority's e-books. A practice created before it
// existed gets it when the sending is first used: these statements create it only when absent.
inline constexpr char kEbooksTable[] = "MYDATA_APOSTOLES";
// The practice's settings for the e-books, a name and a value a row.
inline constexpr char kEbooksSettingsTable[] = "MYDATA_RYTHMISEIS";
// Where the search for a receipt in flight starts (see schema.cpp).
inline constexpr char kEbooksSearchTable[] = "MYDATA_ANAZHTHSH";
QStringList ebooksTableStatements(Engine engine);
// The VAT rate each receipt was issued with, keyed by the receipt's number; a practice made
// before it gets it when it first issues a receipt.
inline constexpr char kReceiptRateTable[] = "SYNTELESTHS_APODEIKSHS";
QStringList receiptRateTableStatements(Engine engine);
// The database's own clock, as UTC ISO 8601 text ("2026-12-10T12:00:00Z") that many seconds
// ago: an SQL expression evaluated in the statement, so that every workstation judges times
// by the one clock of the database.
QString utcNow(Engine engine, int secondsAgo = 0);
// The table of recent registration tokens (registration.h), created only when absent: a
// practice made before it existed gets it with its first registration.
QString registrationTableStatement(Engine engine);
// The practice's own settings that belong to no other table, a name and a value a row (the
// idle time before the program locks itself); a practice made before it gets it with its first
// setting, and until then every setting reads as its default.
inline constexpr char kSettingsTable[] = "RYTHMISEIS";
QString settingsTableStatement(Engine engine);
// Which patient an appointment slot is for (see schema.cpp); a practice made before it gets it
// when its appointment book is first opened.
inline constexpr char kAppointmentLinksTable[] = "RANTEBOU_ASTHENH";
QStringList appointmentLinksTableStatements(Engine engine);
// A patient's addresses for appointment reminders and the consent to them, keyed by the
// patient's ID; and the reminders owed, sent or being sent, one a row (see schema.cpp). A
// practice made before them gets them when reminders or a patient's contact are first used.
inline constexpr char kReminderContactsTable[] = "EPIKOINWNIA_ASTHENH";
inline constexpr char kRemindersTable[] = "YPENTHYMISEIS_RANTEBOU";
QStringList remindersTableStatements(Engine engine);
// Whether the open connection's database has the table (a name as the file spells it).
bool hasTable(Connection &connection, const QString &table);

// Creates a new practice database file in its delivered state: all tables, SECURITY with the
// factory password, LAST_APODEIKSH empty. Throws DbError when the file exists or cannot be
// written.
void createPracticeDatabase(const QString &path, const QString &databasePassword);

// The functions, operators and collation a server database needs for the windows' SQL.
QStringList serverFunctionStatements();

// Creates the practice database in its delivered state in an empty database on a PostgreSQL
// server (a libpq connection text). Throws DbError when the database holds tables already or
// the server refuses.
void createServerDatabase(const QString &serverConnection, const QString &databasePassword);
// The same inside the caller's transaction on its own session.
void createServerTables(ServerSession &session, const QString &databasePassword);

inline constexpr char kFactoryPassword[] = "73051846";

} // namespace Schema
