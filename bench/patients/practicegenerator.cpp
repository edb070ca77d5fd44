#include "practicegenerator.h"

#include "connectionstring.h"
#include "dberror.h"
#include "schema.h"

#include <QDate>
#include <QRandomGenerator>
#include <QStringList>
#include <sqlite3.h>

namespace {

const char *const kSurnames[] = {
    "Παπαδόπουλος", "ΠΑΠΑΔΟΠΟΥΛΟΣ", "Παπανικολάου", "Ιωάννου",   "Γεωργίου",   "Νικολάου",
    "Αλεξίου",      "Βλάχος",       "Δημητρίου",    "Ζαχαρίου",  "Θεοδώρου",   "Καραγιάννης",
    "Λαμπράκης",    "Μαυρίδης",     "Ξενάκης",      "Οικονόμου", "Ραφαηλίδης", "Σταυρόπουλος",
    "Τσακίρης",     "Υφαντής",      "Φωτίου",       "Χατζής",    "Ψαράς",      "Ωραιόπουλος",
    "άγγελος",      "Ο'Κόνορ",
};
const char *const kFirstNames[] = {"Γιώργος",    "Μαρία",    "Νίκος", "Ελένη",   "Κώστας",
                                   "Αικατερίνη", "Δημήτρης", "Σοφία", "Ανδρέας", "Άννα"};
const char *const kFunds[] = {"ΙΚΑ", "ΟΓΑ", "ΤΕΒΕ", "ΟΑΕΕ", "ΙΔΙΩΤΗΣ"};
const char *const kJobs[] = {"Εκπαιδευτικός", "Λογιστής", "Συνταξιούχος",       "Μηχανικός",
                             "Φοιτητής",      "Αγρότης",  "Ιδιωτικός υπάλληλος"};
const char *const kReasons[] = {"Οσφυαλγία", "Αυχενικό", "Διάστρεμμα ποδοκνημικής",
                                "Αποκατάσταση μετά από κάταγμα", "Τενοντίτιδα ώμου"};

void exec(sqlite3 *db, const char *sql)
{
    char *err = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &err) != SQLITE_OK) {
        const QString message = QString::fromUtf8(err ? err : "error");
        sqlite3_free(err);
        throw DbError(message);
    }
}

void bindText(sqlite3_stmt *stmt, int i, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text(stmt, i, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

template<typename T, size_t N> QString pick(QRandomGenerator &rng, const T (&items)[N])
{
    return QString::fromUtf8(items[rng.bounded(int(N))]);
}

} // namespace

GeneratedPractice generatePractice(const QString &dbPath, int patients, int visits,
                                   int visitsOfFirst)
{
    Schema::createPracticeDatabase(dbPath, QLatin1String(ConnectionString::kDatabasePassword));
    sqlite3 *db = nullptr;
    sqlite3_open(dbPath.toUtf8().constData(), &db);
    QRandomGenerator rng(20260312);
    GeneratedPractice out {patients, visits, visitsOfFirst, 0};
    exec(db, "BEGIN");
    sqlite3_stmt *p = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO STOIXEIA_PELATH(ONOMA,EPWNYMO,FYLO,HMEROMHNIA_GENNHSEWS,"
                       "EPAGGELMA,TAMEIO,DIEYTHYNSH,THLEFWNO_1,THLEFWNO_2) "
                       "VALUES(?,?,?,?,?,?,?,?,?)",
                       -1, &p, nullptr);
    const QDate firstBirth(1930, 1, 1);
    for (int i = 0; i < patients; ++i) {
        QString surname = pick(rng, kSurnames);
        if (i % 7 == 0)
            surname += QString::number(i % 97);
        if (surname.startsWith(QStringLiteral("Παπ")) || surname.startsWith(QStringLiteral("ΠΑΠ")))
            ++out.papSurnames;
        bindText(p, 1, pick(rng, kFirstNames));
        bindText(p, 2, surname);
        bindText(p, 3, rng.bounded(2) ? QStringLiteral("ΑΡΡΕΝ") : QStringLiteral("ΘΗΛΥ"));
        bindText(p, 4, firstBirth.addDays(rng.bounded(30000)).toString(Qt::ISODate));
        bindText(p, 5, pick(rng, kJobs));
        bindText(p, 6, pick(rng, kFunds));
        bindText(p, 7, QStringLiteral("Οδός Ερμού %1, Αθήνα").arg(rng.bounded(1, 200)));
        bindText(p, 8, QStringLiteral("210%1").arg(rng.bounded(1000000, 9999999)));
        if (rng.bounded(3) == 0)
            bindText(p, 9, QStringLiteral("69%1").arg(rng.bounded(10000000, 99999999)));
        else
            sqlite3_bind_null(p, 9);
        sqlite3_step(p);
        sqlite3_reset(p);
    }
    sqlite3_finalize(p);
    sqlite3_stmt *v = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO EPISKEPSEIS(ID,HMEROMHNIA,AITIA,PERIGRAFH) VALUES(?,?,?,?)",
                       -1, &v, nullptr);
    const QDate firstVisit(2015, 1, 1);
    for (int i = 0; i < visits; ++i) {
        const int id = i < visitsOfFirst ? 1 : 2 + rng.bounded(std::max(1, patients - 1));
        sqlite3_bind_int(v, 1, id);
        bindText(v, 2, firstVisit.addDays(rng.bounded(4000)).toString(Qt::ISODate));
        bindText(v, 3, pick(rng, kReasons));
        bindText(v, 4, QStringLiteral("Συνεδρία %1: κινησιοθεραπεία, μάλαξη").arg(i % 20 + 1));
        sqlite3_step(v);
        sqlite3_reset(v);
    }
    sqlite3_finalize(v);
    exec(db, "COMMIT");
    sqlite3_close(db);
    return out;
}
