#pragma once

#include "messageservice.h"
#include "window.h"

#include <QDialog>
#include <QList>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <memory>

#include "qtprinters.h"

class Connection;

// What a test needs to drive windows without a person.
namespace TestSupport {

// A fresh practice folder with a data.mdb in its delivered state; Program::AppDir and
// Program::DbConnectionString point at it while the object lives. When ORVANTA_TEST_SERVER
// names a PostgreSQL server (tests/server/run.sh does), the practice keeps its data in a new
// database there instead (named in the folder's orvanta.ini), dropped when the object goes.
class TempPractice {
public:
    TempPractice();
    ~TempPractice();
    QString dir() const { return m_dir.path(); }
    QString dbPath() const;
    // Runs statements written in the windows' dialect on a connection of its own.
    void exec(const QString &jetSql) const;
    // The first column of the first row of a query, as the program reads it ("" for null).
    QString scalar(const QString &jetSql) const;
    int count(const QString &jetSql) const;

private:
    QTemporaryDir m_dir;
    QString m_serverDatabase; // the practice's database when the suite runs on a server
    QString m_oldAppDir;
    QString m_oldConnection;
};

// Makes the engine itself refuse every write to the current practice file while it lives, on
// each connection the program opens through ProgramConnection::open: Locked holds the file's
// write lock on a connection of its own and cuts the program's wait for a busy file to a few
// milliseconds; ReadOnly makes every connection one that may not write. Reads still work.
class FailingPractice {
public:
    enum class Failure { Locked, ReadOnly };
    explicit FailingPractice(Failure failure);
    ~FailingPractice();
    FailingPractice(const FailingPractice &) = delete;
    FailingPractice &operator=(const FailingPractice &) = delete;

    // The engine's own message for the failure (on a server, the part every statement's
    // message has).
    static QString message(Failure failure);
    static QString name(Failure failure);

private:
    std::unique_ptr<Connection> m_locker;
};

// Records every box a window asked for and answers in place of the person: questions take
// the next queued answer, or "yes" / "OK" when none is queued.
class RecordingMessages : public MessageService {
public:
    struct Shown {
        QString kind; // "information", "yesno", "yesno-default-no", "okcancel", "error"
        QString text;
    };

    RecordingMessages();
    ~RecordingMessages() override;

    void information(QWidget *parent, const QString &text) override;
    bool askYesNo(QWidget *parent, const QString &text) override;
    bool askYesNoDefaultNo(QWidget *parent, const QString &text) override;
    bool askOkCancel(QWidget *parent, const QString &text) override;
    void error(QWidget *parent, const QString &text) override;

    void queueAnswer(bool answer) { m_answers.append(answer); }
    const QList<Shown> &shown() const { return m_shown; }
    QStringList texts() const;
    QString last() const { return m_shown.isEmpty() ? QString() : m_shown.last().text; }
    void clear() { m_shown.clear(); }

private:
    bool nextAnswer();
    QList<Shown> m_shown;
    QList<bool> m_answers;
};

// Replaces the modal seam while it lives: each window opened modally is handed to the handler,
// which may drive it and returns the window's result. Windows opened are recorded by caption.
class ModalDriver {
public:
    using Handler = std::function<int(QDialog *)>;
    explicit ModalDriver(Handler handler = {});
    ~ModalDriver();
    void setHandler(Handler handler) { m_handler = std::move(handler); }
    const QStringList &opened() const { return m_opened; }

private:
    Handler m_handler;
    QStringList m_opened;
};

// The maintenance connection of the test server, or empty when the suite runs on the file.
QString testServer();
inline bool onServer()
{
    return !testServer().isEmpty();
}

// Ends every other session with the current practice's server database, as a network cut or a
// server restart does (the server only; a no-op on the file).
void cutServerSessions();

// A trigger that makes the engine refuse every INSERT or UPDATE (event) on the table with the
// message, on the current practice, whichever engine keeps it; and its removal.
void refuseWrites(const QString &table, const QString &event, const QString &message);
void allowWrites(const QString &table);

// The folder of the files the tests read (the SQL statement file sql-corpus.txt).
QString testDataDir();
// The lines of the SQL statement file tests/data/sql-corpus.txt, as written (empty when the file
// cannot be read); the windows' SQL texts are checked word for word against them.
QStringList corpusLines();

// A number written as the C locale writes it ("12.5"), as this system writes it in a window
// and reads it when typed: on a Greek system the point and the comma change places ("12,5";
// "1,000" becomes "1.000", still the wrong separator there). Tests written with points run the
// same on a C and on a Greek system.
QString num(const QString &pointed);

} // namespace TestSupport
