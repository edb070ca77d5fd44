// Encrypted backup copies as a person meets them: the setting with its passphrase typed twice,
// "Backup now" writing a sealed copy and saying so, and the restore of a sealed copy asking for
// the passphrase and refusing each damage with its own reason, the practice left as it was.
#include "autobackup.h"
#include "backupcommands.h"
#include "backupsettingswindow.h"
#include "fakesecrets.h"
#include "practicebackup.h"
#include "sealedbackup.h"
#include "sealedcopy.h"
#include "testsupport.h"

#include <QCheckBox>
#include <QCryptographicHash>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using TestSupport::ModalDriver;
using TestSupport::RecordingMessages;
using TestSupport::TempPractice;

namespace {

const QDateTime kWhen(QDate(2026, 3, 5), QTime(18, 30));
const QString kPhrase = QStringLiteral("Φυσικοθεραπεία στη Λάρισα");

QByteArray digest(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly)
        ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256)
        : QByteArray();
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

class SealedBackupCommandsTest : public ::testing::Test {
protected:
    SealedBackupCommandsTest()
    {
        BackupCommands::setClock([] { return kWhen; });
        BackupCommands::setSecretStore(&secrets);
        // Small chunks, so that the copy of a small practice has several; a cheap key.
        SealedCopy::Params fast = SealedCopy::Params::fastest();
        fast.chunkSize = 4096;
        SealedCopy::setStandardParams(fast);
        for (int i = 0; i < 200; ++i)
            practice.exec(QStringLiteral("INSERT INTO STOIXEIA_PELATH(ONOMA,EPWNYMO) "
                                         "VALUES('Ελένη','Αλεξίου %1')")
                              .arg(i));
    }
    ~SealedBackupCommandsTest() override
    {
        BackupCommands::setClock({});
        BackupCommands::setSecretStore(nullptr);
        SealedCopy::setStandardParams({3, 256u << 20, 1u << 20});
    }

    void turnOn()
    {
        secrets.values[BackupCommands::passphraseName(practice.dir())] = kPhrase;
        SealedBackup::setEncryptionOn(practice.dir(), true);
    }

    // The dialogues in the order they come: the file dialogue answers with the path, the
    // passphrase dialogue with the phrase (cancelled when empty).
    ModalDriver::Handler answering(const QString &path, const QString &phrase = {})
    {
        return [=, this](QDialog *dialog) {
            if (auto *files = qobject_cast<QFileDialog *>(dialog)) {
                files->selectFile(path);
                return int(QDialog::Accepted);
            }
            if (auto *ask = qobject_cast<QInputDialog *>(dialog)) {
                asked << ask->labelText();
                EXPECT_EQ(ask->textEchoMode(), QLineEdit::Password);
                if (phrase.isEmpty())
                    return int(QDialog::Rejected);
                ask->setTextValue(phrase);
                return int(QDialog::Accepted);
            }
            ADD_FAILURE() << "unexpected dialogue " << dialog->objectName().toStdString();
            return int(QDialog::Rejected);
        };
    }

    // Files in the practice folder: no private folder of a copy left behind.
    QStringList practiceFiles() const
    {
        return QDir(practice.dir()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    TempPractice practice;
    RecordingMessages messages;
    FakeSecrets secrets;
    QStringList asked;
};

} // namespace

TEST_F(SealedBackupCommandsTest, BackupNowWritesASealedCopyOnlyAndSaysItIsEncrypted)
{
    turnOn();
    QTemporaryDir usb;
    messages.queueAnswer(true); // the temporary "stick" is on the practice's disk
    ModalDriver driver(answering(usb.path()));
    BackupCommands::backupNow(nullptr);

    const QString sealed = QDir(usb.path()).filePath("orvanta-2026-03-05-1830.mdb.sealed");
    EXPECT_EQ(QDir(usb.path()).entryList(QDir::Files | QDir::Hidden), QStringList {QFileInfo(sealed).fileName()});
    EXPECT_TRUE(SealedCopy::isSealed(sealed));
    EXPECT_FALSE(readAll(sealed).contains(QStringLiteral("Αλεξίου 199").toUtf8()));
    ASSERT_FALSE(messages.shown().isEmpty());
    EXPECT_EQ(messages.shown().last().kind, "information");
    EXPECT_TRUE(messages.last().endsWith("Κρυπτογραφημένο: ανοίγει μόνο με τη φράση "
                                         "κρυπτογράφησης."))
        << messages.last().toStdString();
    EXPECT_EQ(practiceFiles(), QStringList({"data.mdb", "orvanta.ini"}));

    // The copy opens with the phrase into a practice that passes every check of a backup.
    QTemporaryDir other;
    SealedCopy::open(sealed, other.filePath("copy.mdb"), kPhrase);
    EXPECT_EQ(PracticeBackup::inspect(other.filePath("copy.mdb")).patients, 200);
}

TEST_F(SealedBackupCommandsTest, APlainCopyIsLabelledAndAMissingPassphraseWritesNoPlainCopy)
{
    QTemporaryDir usb;
    messages.queueAnswer(true);
    ModalDriver driver(answering(usb.path()));
    BackupCommands::backupNow(nullptr);
    EXPECT_TRUE(messages.last().endsWith("Μη κρυπτογραφημένο: όποιος έχει το αρχείο μπορεί να "
                                         "διαβάσει τα στοιχεία των ασθενών."))
        << messages.last().toStdString();

    // Encryption on, but this computer's keyring lost the phrase: nothing is written.
    QTemporaryDir usb2;
    SealedBackup::setEncryptionOn(practice.dir(), true);
    messages.clear();
    messages.queueAnswer(true);
    driver.setHandler(answering(usb2.path()));
    BackupCommands::backupNow(nullptr);
    EXPECT_TRUE(messages.texts().contains(
        "Τα αντίγραφα ασφαλείας κρυπτογραφούνται, αλλά η φράση κρυπτογράφησης δεν βρέθηκε στην "
        "κλειδοθήκη αυτού του υπολογιστή. Γράψτε τη ξανά στις «Ρυθμίσεις», «Αντίγραφα "
        "ασφαλείας…»."))
        << messages.texts().join(" | ").toStdString();
    EXPECT_TRUE(QDir(usb2.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    EXPECT_EQ(BackupCommands::passphraseForAutomaticCopy(practice.dir()), QString());
}

// The restore of a sealed copy: each damage refused with its own reason, the practice as it was.
TEST_F(SealedBackupCommandsTest, RestoreOfASealedCopyRefusesEachDamageWithItsOwnReason)
{
    turnOn();
    QTemporaryDir usb;
    const QString copy = SealedBackup::backUp(practice.dir(), usb.path(), kWhen, kPhrase).path;
    practice.exec("INSERT INTO STOIXEIA_PELATH(ONOMA,EPWNYMO) VALUES('Άννα','Γεωργίου')");
    const QByteArray good = readAll(copy);
    const int frame = 8 + 4096 + 17;
    const int body = 129;
    struct Case {
        const char *name;
        std::function<void(QByteArray &)> damage;
        QString phrase;
        QString reason; // the second line of the box
    };
    const QList<Case> cases = {
        {"wrong passphrase", [](QByteArray &) {}, "Φυσικοθεραπεία στη Λαρισα",
         "Η φράση κρυπτογράφησης δεν είναι σωστή."},
        {"a byte of the header", [](QByteArray &b) { b[44] = char(b[44] ^ 1); }, kPhrase,
         "Η αρχή του αρχείου έχει αλλοιωθεί: το αντίγραφο δεν μπορεί να ανοίξει."},
        {"a byte of the body", [&](QByteArray &b) { b[body + frame + 100] = char(b[body + frame + 100] ^ 1); },
         kPhrase, "Το περιεχόμενο του αντιγράφου έχει αλλοιωθεί: δεν είναι ίδιο με αυτό που "
                  "γράφτηκε."},
        {"truncated", [](QByteArray &b) { b.chop(5000); }, kPhrase,
         "Το αντίγραφο είναι ελλιπές: το αρχείο τελειώνει πριν από το τέλος του (π.χ. η "
         "αντιγραφή του διακόπηκε)."},
        {"two chunks swapped",
         [&](QByteArray &b) {
             const QByteArray first = b.mid(body, frame);
             b.replace(body, frame, b.mid(body + frame, frame));
             b.replace(body + frame, frame, first);
         },
         kPhrase,
         "Τα κομμάτια του αντιγράφου δεν είναι στη σειρά τους: το αρχείο έχει αλλοιωθεί."},
    };
    const QByteArray before = digest(practice.dbPath());
    const QStringList filesBefore = practiceFiles();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        messages.clear();
        asked.clear();
        QByteArray bytes = good;
        c.damage(bytes);
        writeAll(copy, bytes);
        ModalDriver driver(answering(copy, c.phrase));
        EXPECT_FALSE(BackupCommands::restore(nullptr));
        EXPECT_EQ(asked, QStringList {"Το αντίγραφο είναι κρυπτογραφημένο. Γράψτε τη φράση "
                                      "κρυπτογράφησης:"});
        ASSERT_EQ(messages.shown().size(), 1);
        EXPECT_EQ(messages.shown()[0].kind, "error");
        const QStringList lines = messages.last().split('\r');
        EXPECT_EQ(lines.value(0), "Η επαναφορά δεν έγινε.");
        EXPECT_EQ(lines.value(1), c.reason);
        EXPECT_EQ(digest(practice.dbPath()), before);
        EXPECT_EQ(practiceFiles(), filesBefore);
    }

    // Cancelled at the passphrase: nothing happens.
    writeAll(copy, good);
    messages.clear();
    {
        ModalDriver driver(answering(copy));
        EXPECT_FALSE(BackupCommands::restore(nullptr));
        EXPECT_TRUE(messages.shown().isEmpty());
    }

    // The right phrase: the copy's practice comes back, the private folder goes.
    messages.queueAnswer(true);
    ModalDriver driver(answering(copy, kPhrase));
    EXPECT_TRUE(BackupCommands::restore(nullptr)) << messages.texts().join(" | ").toStdString();
    EXPECT_TRUE(messages.texts().value(0).startsWith(
        "Αντίγραφο ασφαλείας της 5/3/2026 18:30\rΑσθενείς: 200\r"));
    EXPECT_EQ(practice.count("SELECT * FROM STOIXEIA_PELATH"), 200);
    for (const QString &name : practiceFiles())
        EXPECT_FALSE(name.startsWith(".orvanta-sealing")) << name.toStdString();
}

TEST_F(SealedBackupCommandsTest, TheSettingTakesThePassphraseTypedTwiceIntoTheKeyringOnly)
{
    BackupSettingsWindow window(secrets, practice.dir());
    auto *encrypt = window.findChild<QCheckBox *>("chkEncrypt");
    auto *phrase = window.findChild<QLineEdit *>("edtPassphrase");
    auto *confirm = window.findChild<QLineEdit *>("edtConfirmPassphrase");
    ASSERT_TRUE(encrypt && phrase && confirm);
    EXPECT_FALSE(encrypt->isChecked());
    EXPECT_FALSE(phrase->isEnabled());
    EXPECT_EQ(phrase->echoMode(), QLineEdit::Password);
    EXPECT_EQ(encrypt->text(), "Κρυπτογράφηση των αντιγράφων ασφαλείας");
    EXPECT_TRUE(window.findChild<QLabel *>("lblForgottenWarning")
                    ->text()
                    .contains("αν ξεχάσετε τη φράση κρυπτογράφησης, τα κρυπτογραφημένα "
                              "αντίγραφα δεν ανοίγουν"));
    encrypt->setChecked(true);
    EXPECT_TRUE(phrase->isEnabled());

    struct Case {
        const char *name;
        QString first, second;
        QString said;
    };
    const Case refused[] = {
        {"nothing typed", "", "", "Γράψτε τη φράση κρυπτογράφησης δύο φορές."},
        {"two different", "Φυσικοθεραπεία 1", "Φυσικοθεραπεία 2",
         "Οι δύο φράσεις δεν είναι ίδιες."},
        {"too short", "Λάρισα", "Λάρισα",
         "Η φράση κρυπτογράφησης πρέπει να έχει τουλάχιστον 8 χαρακτήρες, χωρίς κενό στην αρχή "
         "ή στο τέλος."},
        {"a blank at the end", "Φυσικοθεραπεία ", "Φυσικοθεραπεία ",
         "Η φράση κρυπτογράφησης πρέπει να έχει τουλάχιστον 8 χαρακτήρες, χωρίς κενό στην αρχή "
         "ή στο τέλος."},
    };
    for (const Case &c : refused) {
        SCOPED_TRACE(c.name);
        messages.clear();
        phrase->setText(c.first);
        confirm->setText(c.second);
        window.saveClick();
        EXPECT_EQ(messages.texts(), QStringList {c.said});
        EXPECT_TRUE(secrets.values.empty());
        EXPECT_FALSE(SealedBackup::encryptionOn(practice.dir()));
    }

    messages.clear();
    phrase->setText(kPhrase);
    confirm->setText(kPhrase);
    window.saveClick();
    EXPECT_EQ(messages.texts(),
              QStringList {"Οι ρυθμίσεις των αντιγράφων ασφαλείας αποθηκεύτηκαν."});
    EXPECT_EQ(secrets.values[BackupCommands::passphraseName(practice.dir())], kPhrase);
    EXPECT_TRUE(SealedBackup::encryptionOn(practice.dir()));
    EXPECT_TRUE(phrase->text().isEmpty());
    // The phrase is nowhere in the practice's folder.
    for (const QString &name : practiceFiles())
        EXPECT_FALSE(readAll(QDir(practice.dir()).filePath(name)).contains(kPhrase.toUtf8()))
            << name.toStdString();
    EXPECT_EQ(BackupCommands::passphraseForAutomaticCopy(practice.dir()), kPhrase);

    // A keyring that refuses: the setting stays off.
    SealedBackup::setEncryptionOn(practice.dir(), false);
    secrets.refusal = "locked";
    messages.clear();
    phrase->setText("Μια άλλη φράση");
    confirm->setText("Μια άλλη φράση");
    window.saveClick();
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown()[0].kind, "error");
    EXPECT_FALSE(SealedBackup::encryptionOn(practice.dir()));
    EXPECT_EQ(secrets.values[BackupCommands::passphraseName(practice.dir())], kPhrase);

    if (!qEnvironmentVariableIsEmpty("ORVANTA_SCREENSHOTS")) {
        window.resize(window.size());
        window.grab().save(QDir(qEnvironmentVariable("ORVANTA_SCREENSHOTS"))
                               .filePath("backup-settings.png"));
    }
}

TEST_F(SealedBackupCommandsTest, TheAutomaticCopyIsSealedAndThinnedWithThePlainOnesOrNotTakenAtAll)
{
    SealedBackup::setEncryptionOn(practice.dir(), true);
    const QString folder = AutoBackup::folder(practice.dir());
    // Without the phrase there is no copy, plain or sealed, and the next start says why.
    const AutoBackup::Result none = AutoBackup::atNormalEnd(practice.dir(), kWhen);
    EXPECT_FALSE(none.ok);
    EXPECT_TRUE(QDir(folder).entryList(QDir::Files | QDir::Hidden).isEmpty());
    EXPECT_TRUE(AutoBackup::takeFailureNote(practice.dir())
                    .contains("Η φράση κρυπτογράφησης δεν βρέθηκε στην κλειδοθήκη"));

    // Plain copies of older days, then sealed ones: one series, thinned by one rule.
    ASSERT_TRUE(QDir().mkpath(folder));
    for (int day = 1; day <= 20; ++day)
        writeAll(QDir(folder).filePath(QStringLiteral("orvanta-2026-02-%1-1800.mdb")
                                           .arg(day, 2, 10, QLatin1Char('0'))),
                 "x");
    const AutoBackup::Result r = AutoBackup::atNormalEnd(practice.dir(), kWhen, kPhrase);
    ASSERT_TRUE(r.ok) << r.failure.toStdString();
    EXPECT_EQ(QFileInfo(r.outcome.path).fileName(), "orvanta-2026-03-05-1830.mdb.sealed");
    const QStringList left = QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    EXPECT_EQ(left.size(), 14) << left.join(" ").toStdString();
    EXPECT_TRUE(left.contains("orvanta-2026-03-05-1830.mdb.sealed"));
    EXPECT_FALSE(left.contains("orvanta-2026-02-07-1800.mdb"));
    QTemporaryDir other;
    SealedCopy::open(r.outcome.path, other.filePath("copy.mdb"), kPhrase);
    EXPECT_EQ(PracticeBackup::inspect(other.filePath("copy.mdb")).patients, 200);
}
