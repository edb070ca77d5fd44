// "Backup now" and "Restore from backup" as a person uses them: the folder or file chosen in
// the program's file dialogue, what the boxes say, and what is on the disk afterwards.
#include "autobackup.h"
#include "backupcommands.h"
#include "practicebackup.h"
#include "testsupport.h"

#include <QDir>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <sqlite3.h>

using TestSupport::ModalDriver;
using TestSupport::RecordingMessages;
using TestSupport::TempPractice;

namespace {

const QDateTime kWhen(QDate(2026, 3, 5), QTime(18, 30));

class BackupCommandsTest : public ::testing::Test {
protected:
    BackupCommandsTest()
    {
        BackupCommands::setClock([this] { return m_now; });
        practice.exec("INSERT INTO STOIXEIA_PELATH(ONOMA,EPWNYMO) VALUES('Ελένη','Αλεξίου')");
        practice.exec("INSERT INTO STOIXEIA_PELATH(ONOMA,EPWNYMO) VALUES('Νίκος','Βλάχος')");
        practice.exec("INSERT INTO APODEIKSEIS(AR_APODEIKSHS,POSO) VALUES(41,40)");
        practice.exec("INSERT INTO APODEIKSEIS(AR_APODEIKSHS,POSO) VALUES(42,40)");
    }
    ~BackupCommandsTest() override
    {
        BackupCommands::setClock({});
        PracticeBackup::setDestinationHook({});
    }

    // The file dialogue answers with the path given, or is cancelled when it is empty.
    ModalDriver::Handler choosing(const QString &path)
    {
        return [path, this](QDialog *dialog) {
            auto *files = qobject_cast<QFileDialog *>(dialog);
            EXPECT_NE(files, nullptr);
            if (!files || path.isEmpty())
                return int(QDialog::Rejected);
            captions << files->windowTitle();
            startFolders << files->directory().absolutePath();
            files->selectFile(path);
            return int(QDialog::Accepted);
        };
    }

    TempPractice practice;
    RecordingMessages messages;
    QStringList captions;
    QStringList startFolders;
    QDateTime m_now = kWhen;
};

} // namespace

TEST_F(BackupCommandsTest, BackupNowWritesAVerifiedCopyAndSaysWhereAndHowBig)
{
    QTemporaryDir usb;
    ModalDriver driver(choosing(usb.path()));
    // The window goes on with its timers while the copy is taken on another thread.
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(0);
    BackupCommands::backupNow(nullptr);
    timer.stop();
    EXPECT_GT(ticks, 0);

    EXPECT_EQ(captions, QStringList {"Φάκελος για το αντίγραφο ασφαλείας"});
    // The dialogue never starts in the practice folder: a copy beside data.mdb protects nothing.
    ASSERT_EQ(startFolders.size(), 1);
    EXPECT_NE(QDir(startFolders[0]), QDir(practice.dir()));
    const QString path = QDir(usb.path()).filePath("orvanta-2026-03-05-1830.mdb");
    ASSERT_TRUE(QFileInfo::exists(path));
    // The temporary "stick" is on the practice's own disk: the person is warned first, with No
    // as the default answer, and answered yes here.
    ASSERT_EQ(messages.shown().size(), 2);
    EXPECT_EQ(messages.shown()[0].kind, "yesno-default-no");
    EXPECT_TRUE(messages.shown()[0].text.contains("στον ίδιο δίσκο με το ιατρείο"));
    EXPECT_EQ(messages.shown()[1].kind, "information");
    const QString kb = QString::number((QFileInfo(path).size() + 1023) / 1024);
    EXPECT_EQ(messages.last(),
              "Το αντίγραφο ασφαλείας γράφτηκε και ελέγχθηκε: ανοίγει κανονικά και έχει όλα τα "
              "στοιχεία της βάσης δεδομένων.\r\rΑρχείο: "
                  + path + "\rΜέγεθος: " + kb
                  + " KB\rΜη κρυπτογραφημένο: όποιος έχει το αρχείο μπορεί να διαβάσει τα "
                    "στοιχεία των ασθενών.");
}

TEST_F(BackupCommandsTest, BackupNowThatFailsSaysWhyAndLeavesNoCopy)
{
    struct Case {
        const char *name;
        bool missingFolder;
        bool full;
        QString reason; // the second line of the box
    };
    const Case cases[] = {
        {"folder gone", true, false,
         "Ο φάκελος δεν υπάρχει ή δεν επιτρέπεται να γραφτεί αρχείο σε αυτόν."},
        {"disk full", false, true, "Δεν υπάρχει αρκετός ελεύθερος χώρος στο δίσκο."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        messages.clear();
        QTemporaryDir usb;
        PracticeBackup::setDestinationHook([&](sqlite3 *db) {
            if (c.full)
                sqlite3_exec(db, "PRAGMA max_page_count = 1", nullptr, nullptr, nullptr);
        });
        ModalDriver driver(choosing(c.missingFolder ? usb.filePath("gone") : usb.path()));
        BackupCommands::backupNow(nullptr);
        ASSERT_FALSE(messages.shown().isEmpty());
        EXPECT_EQ(messages.shown().last().kind, "error");
        const QStringList lines = messages.last().split('\r');
        ASSERT_GE(lines.size(), 3) << messages.last().toStdString();
        EXPECT_EQ(lines[0], "Το αντίγραφο ασφαλείας δεν έγινε.");
        EXPECT_EQ(lines[1], c.reason);
        EXPECT_TRUE(QDir(usb.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    }

    // Cancelling the folder dialogue does nothing at all.
    messages.clear();
    ModalDriver driver(choosing({}));
    BackupCommands::backupNow(nullptr);
    EXPECT_TRUE(messages.shown().isEmpty());

    // Answering No to the warning about the practice's own disk writes nothing either.
    QTemporaryDir sameDisk;
    driver.setHandler(choosing(sameDisk.path()));
    messages.queueAnswer(false);
    BackupCommands::backupNow(nullptr);
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown()[0].kind, "yesno-default-no");
    EXPECT_TRUE(QDir(sameDisk.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST_F(BackupCommandsTest, RestoreShowsWhatTheCopyHoldsAndPutsItBackOnlyWhenConfirmed)
{
    QTemporaryDir usb;
    const QString copy = PracticeBackup::backUp(practice.dir(), usb.path(), kWhen).path;
    practice.exec("INSERT INTO STOIXEIA_PELATH(ONOMA,EPWNYMO) VALUES('Άννα','Γεωργίου')");
    m_now = QDateTime(QDate(2026, 3, 6), QTime(9, 0, 4));
    ModalDriver driver(choosing(copy));

    const QString question = "Αντίγραφο ασφαλείας της 5/3/2026 18:30\rΑσθενείς: 2\r"
                             "Αποδείξεις: 2\rΤελευταία απόδειξη: 42\r\r"
                             "Το τωρινό αρχείο data.mdb θα φυλαχτεί με άλλο όνομα, δεν θα "
                             "σβηστεί.\rΝα γίνει η επαναφορά;";
    messages.queueAnswer(false);
    EXPECT_FALSE(BackupCommands::restore(nullptr));
    EXPECT_EQ(messages.texts(), QStringList {question});
    // Enter on the question must not replace the practice.
    EXPECT_EQ(messages.shown()[0].kind, "yesno-default-no");
    EXPECT_EQ(practice.count("SELECT * FROM STOIXEIA_PELATH"), 3);

    messages.clear();
    messages.queueAnswer(true);
    EXPECT_TRUE(BackupCommands::restore(nullptr));
    EXPECT_EQ(messages.texts(),
              QStringList({question, "Η επαναφορά έγινε. Τα προηγούμενα δεδομένα φυλάχτηκαν στο "
                                     "αρχείο data-before-restore-2026-03-06-090004.mdb.\r\r"
                                     "Το πρόγραμμα θα κλείσει τώρα. Ξεκινήστε το ξανά."}));
    EXPECT_EQ(practice.count("SELECT * FROM STOIXEIA_PELATH"), 2);
    EXPECT_TRUE(QFileInfo::exists(
        QDir(practice.dir()).filePath("data-before-restore-2026-03-06-090004.mdb")));
}

TEST_F(BackupCommandsTest, RestoreOfAFileThatIsNoBackupAsksNothingAndSaysWhy)
{
    QTemporaryDir usb;
    QFile text(usb.filePath("γράμμα.mdb"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write(QByteArray(4096, 'x'));
    text.close();
    ModalDriver driver(choosing(text.fileName()));
    EXPECT_FALSE(BackupCommands::restore(nullptr));
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown()[0].kind, "error");
    EXPECT_TRUE(messages.last().startsWith(
        "Η επαναφορά δεν έγινε.\rΤο αρχείο δεν είναι αντίγραφο ασφαλείας του προγράμματος.\r"))
        << messages.last().toStdString();
    EXPECT_EQ(QDir(practice.dir()).entryList(QDir::Files), QStringList {"data.mdb"});
}

TEST_F(BackupCommandsTest, AFailedAutomaticCopyIsToldOnceAtTheNextStart)
{
    PracticeBackup::setDestinationHook(
        [](sqlite3 *db) { sqlite3_exec(db, "PRAGMA max_page_count = 1", nullptr, nullptr, nullptr); });
    ASSERT_FALSE(AutoBackup::atNormalEnd(practice.dir(), kWhen).ok);
    BackupCommands::reportFailedAutomaticCopy(nullptr);
    BackupCommands::reportFailedAutomaticCopy(nullptr);
    ASSERT_EQ(messages.shown().size(), 1);
    const QStringList lines = messages.last().split('\r');
    ASSERT_EQ(lines.size(), 4) << messages.last().toStdString();
    EXPECT_EQ(lines[0], "Το αυτόματο αντίγραφο ασφαλείας της 5/3/2026 18:30 δεν έγινε.");
    EXPECT_TRUE(lines[1].contains("full")) << lines[1].toStdString();
    EXPECT_EQ(lines[3], "Πάρτε ένα αντίγραφο με το «Αντίγραφο ασφαλείας τώρα…».");
}
