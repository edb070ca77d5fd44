// Sealed backup copies of a practice of 5,000 patients: the copy opens into the practice file
// byte for byte, and every kind of damage is refused with its own reason, leaving nothing
// behind and the practice untouched.
#include "connection.h"
#include "program.h"
#include "sealedbackup.h"
#include "sealedcopy.h"
#include "testsupport.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sodium.h>

#include <functional>

using SealedCopy::Fault;
using TestSupport::TempPractice;

namespace {

const QString kPassphrase = QStringLiteral("Ο φάκελος της Ελένης, 2026!");

// Offsets of docs/backup-encryption.md.
constexpr int kSalt = 40;
constexpr int kVersion = 8;
constexpr int kMemLimit = 24;
constexpr int kChecksum = 80;
constexpr int kKeyCheck = 112;
constexpr int kBody = 129;

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QByteArray digest(const QString &path)
{
    return QCryptographicHash::hash(readAll(path), QCryptographicHash::Sha256);
}

// A header rewritten on purpose: the checksum made to match again.
void rechecksum(QByteArray &b)
{
    crypto_generichash(reinterpret_cast<unsigned char *>(b.data()) + kChecksum, 32,
                       reinterpret_cast<const unsigned char *>(b.constData()), kChecksum,
                       nullptr, 0);
}

void putU64(QByteArray &b, int at, quint64 v)
{
    for (int i = 0; i < 8; ++i)
        b[at + i] = char(v >> (8 * i));
}

// The practice with 5,000 patients, sealed once with small chunks (so that there are many to
// move about) and a cheap key, shared by the cases.
class SealedPractice : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_practice = new TempPractice;
        Connection c;
        c.setUp(Program::DbConnectionString, true);
        Transaction t(c);
        for (int i = 0; i < 5000; ++i)
            c.execute(QStringLiteral("INSERT INTO STOIXEIA_PELATH(ONOMA,EPWNYMO,ISTORIKO) "
                                     "VALUES('Ελένη','Παπαδοπούλου %1','Πόνος στη μέση')")
                          .arg(i));
        t.commit();
        c.close();
        s_dir = new QTemporaryDir;
        s_params = SealedCopy::Params::fastest();
        s_params.chunkSize = 16384;
        SealedCopy::seal(s_practice->dbPath(), sealedPath(), kPassphrase, {}, s_params);
    }
    static void TearDownTestSuite()
    {
        delete s_dir;
        delete s_practice;
    }
    static QString sealedPath() { return s_dir->filePath("orvanta-2026-03-05-1830.mdb.sealed"); }

    static TempPractice *s_practice;
    static QTemporaryDir *s_dir;
    static SealedCopy::Params s_params;
};

TempPractice *SealedPractice::s_practice = nullptr;
QTemporaryDir *SealedPractice::s_dir = nullptr;
SealedCopy::Params SealedPractice::s_params;

} // namespace

TEST_F(SealedPractice, TheCopyOpensIntoThePracticeFileByteForByteAndHidesItsText)
{
    const QString practice = s_practice->dbPath();
    EXPECT_GT(QFileInfo(practice).size(), 10 * s_params.chunkSize); // many chunks
    EXPECT_TRUE(SealedCopy::isSealed(sealedPath()));
    EXPECT_FALSE(SealedCopy::isSealed(practice));

    const QByteArray plain = readAll(practice);
    const QByteArray sealed = readAll(sealedPath());
    const QByteArray name = QStringLiteral("Παπαδοπούλου 4999").toUtf8();
    EXPECT_TRUE(plain.contains(name));
    EXPECT_FALSE(sealed.contains(name));
    EXPECT_FALSE(sealed.contains("SQLite format 3"));

    const QString out = s_dir->filePath("opened.mdb");
    qint64 lastDone = -1, total = -1;
    SealedCopy::open(sealedPath(), out, kPassphrase, [&](qint64 done, qint64 all) {
        lastDone = done;
        total = all;
    });
    EXPECT_EQ(readAll(out), plain);
    EXPECT_EQ(lastDone, plain.size());
    EXPECT_EQ(total, plain.size());
    QFile::remove(out);
}

TEST_F(SealedPractice, ThePassphraseIsTakenAsTheSameLettersHoweverTheKeyboardComposedThem)
{
    const QString out = s_dir->filePath("opened.mdb");
    SealedCopy::open(sealedPath(), out, kPassphrase.normalized(QString::NormalizationForm_D));
    EXPECT_EQ(digest(out), digest(s_practice->dbPath()));
    QFile::remove(out);
}

// Each damage of the copy, and the fault it must be refused with.
TEST_F(SealedPractice, EveryDamageIsRefusedWithItsOwnReasonAndLeavesNothingBehind)
{
    const QByteArray good = readAll(sealedPath());
    const int frame = 8 + int(s_params.chunkSize) + 17;
    const auto chunkAt = [&](int i) { return kBody + (i - 1) * frame; };
    struct Case {
        const char *what;
        std::function<void(QByteArray &)> damage;
        QString passphrase;
        Fault fault;
    };
    const QList<Case> cases = {
        {"a wrong passphrase", [](QByteArray &) {}, QStringLiteral("Ο φάκελος της Ελένης, 2025!"),
         Fault::WrongPassphrase},
        {"the passphrase in another letter case", [](QByteArray &) {}, kPassphrase.toUpper(),
         Fault::WrongPassphrase},
        {"an empty passphrase", [](QByteArray &) {}, QString(), Fault::WrongPassphrase},
        {"one byte of the salt flipped", [](QByteArray &b) { b[kSalt + 3] = char(b[kSalt + 3] ^ 1); },
         kPassphrase, Fault::HeaderDamaged},
        {"one byte of the length flipped", [](QByteArray &b) { b[33] = char(b[33] ^ 0x10); },
         kPassphrase, Fault::HeaderDamaged},
        {"one byte of the checksum flipped", [](QByteArray &b) { b[kChecksum] = char(b[kChecksum] ^ 1); },
         kPassphrase, Fault::HeaderDamaged},
        {"the salt changed and the checksum made to match",
         [](QByteArray &b) {
             b[kSalt] = char(b[kSalt] ^ 1);
             rechecksum(b);
         },
         kPassphrase, Fault::WrongPassphrase},
        {"one byte of the key check flipped", [](QByteArray &b) { b[kKeyCheck + 5] = char(b[kKeyCheck + 5] ^ 1); },
         kPassphrase, Fault::WrongPassphrase},
        {"the magic changed", [](QByteArray &b) { b[0] = 'X'; }, kPassphrase, Fault::NotSealed},
        {"a newer version", [](QByteArray &b) {
             b[kVersion] = 2;
             rechecksum(b);
         },
         kPassphrase, Fault::NewerFormat},
        {"a memory limit of a terabyte",
         [](QByteArray &b) {
             putU64(b, kMemLimit, quint64(1) << 40);
             rechecksum(b);
         },
         kPassphrase, Fault::HeaderDamaged},
        {"one byte flipped in the middle of the body",
         [&](QByteArray &b) { b[chunkAt(7) + 8 + 1000] = char(b[chunkAt(7) + 8 + 1000] ^ 0x40); },
         kPassphrase, Fault::Changed},
        {"one byte flipped in the first chunk",
         [&](QByteArray &b) { b[chunkAt(1) + 8] = char(b[chunkAt(1) + 8] ^ 1); }, kPassphrase,
         Fault::Changed},
        {"one byte flipped in the last byte of the file", [](QByteArray &b) { b[b.size() - 1] = char(b[b.size() - 1] ^ 1); },
         kPassphrase, Fault::Changed},
        {"a byte added at the end", [](QByteArray &b) { b.append('\0'); }, kPassphrase,
         Fault::Changed},
        {"cut in the middle of a chunk", [&](QByteArray &b) { b.truncate(chunkAt(5) + 300); },
         kPassphrase, Fault::Truncated},
        {"cut before the last chunk", [](QByteArray &b) {
             // The file ends at a chunk boundary: only the missing final chunk tells.
             const int last = kBody
                 + int((b.size() - kBody - 1) / (8 + 16384 + 17)) * (8 + 16384 + 17);
             b.truncate(last);
         },
         kPassphrase, Fault::Truncated},
        {"cut inside the header", [](QByteArray &b) { b.truncate(60); }, kPassphrase,
         Fault::Truncated},
        {"nothing left but nothing", [](QByteArray &b) { b.clear(); }, kPassphrase,
         Fault::NotSealed},
        {"two chunks swapped",
         [&](QByteArray &b) {
             const QByteArray second = b.mid(chunkAt(2), frame);
             b.replace(chunkAt(2), frame, b.mid(chunkAt(3), frame));
             b.replace(chunkAt(3), frame, second);
         },
         kPassphrase, Fault::OutOfOrder},
        {"two chunks swapped and renumbered",
         [&](QByteArray &b) {
             const QByteArray second = b.mid(chunkAt(2) + 8, frame - 8);
             b.replace(chunkAt(2) + 8, frame - 8, b.mid(chunkAt(3) + 8, frame - 8));
             b.replace(chunkAt(3) + 8, frame - 8, second);
         },
         kPassphrase, Fault::Changed},
        {"a chunk dropped and the rest moved up",
         [&](QByteArray &b) { b.remove(chunkAt(4), frame); }, kPassphrase, Fault::Truncated},
    };

    const QByteArray practiceBefore = digest(s_practice->dbPath());
    QSet<Fault> seen;
    QSet<QString> reasons;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QByteArray bytes = good;
        c.damage(bytes);
        const QString damaged = s_dir->filePath("damaged.sealed");
        writeAll(damaged, bytes);
        const QString out = s_dir->filePath("opened.mdb");
        try {
            SealedCopy::open(damaged, out, c.passphrase);
            ADD_FAILURE() << "opened";
        } catch (const SealedCopy::Error &e) {
            EXPECT_EQ(int(e.fault()), int(c.fault)) << e.message().toStdString();
            seen << e.fault();
            reasons << SealedCopy::reason(e.fault());
        }
        EXPECT_FALSE(QFileInfo::exists(out));
        EXPECT_EQ(readAll(damaged), bytes); // opening never writes the copy
    }
    EXPECT_EQ(digest(s_practice->dbPath()), practiceBefore);
    // Every fault met has a reason of its own.
    EXPECT_EQ(reasons.size(), seen.size());
    EXPECT_EQ(seen.size(), 7);
}

TEST_F(SealedPractice, AChunkOfAnotherCopyWithTheSamePassphraseIsRefused)
{
    const QString other = s_dir->filePath("other.sealed");
    SealedCopy::seal(s_practice->dbPath(), other, kPassphrase, {}, s_params);
    QByteArray bytes = readAll(sealedPath());
    const QByteArray foreign = readAll(other);
    ASSERT_EQ(bytes.size(), foreign.size());
    EXPECT_NE(bytes.mid(kSalt, 16), foreign.mid(kSalt, 16)); // every copy its own salt
    const int frame = 8 + int(s_params.chunkSize) + 17;
    bytes.replace(kBody + frame, frame, foreign.mid(kBody + frame, frame));
    writeAll(other, bytes);
    try {
        SealedCopy::open(other, s_dir->filePath("opened.mdb"), kPassphrase);
        ADD_FAILURE() << "opened";
    } catch (const SealedCopy::Error &e) {
        EXPECT_EQ(int(e.fault()), int(Fault::Changed));
    }
}

TEST(SealedCopy, TheStandardParametersAreTheOnesTheDocumentNamesAndAnEmptyFileSealsToo)
{
    QTemporaryDir dir;
    const QString empty = dir.filePath("empty");
    writeAll(empty, {});
    SealedCopy::seal(empty, dir.filePath("empty.sealed"), kPassphrase);
    const QByteArray sealed = readAll(dir.filePath("empty.sealed"));
    ASSERT_EQ(sealed.size(), kBody + 25); // one empty final chunk
    const auto le = [&](int at, int bytes) {
        quint64 v = 0;
        for (int i = bytes - 1; i >= 0; --i)
            v = (v << 8) | quint8(sealed[at + i]);
        return v;
    };
    EXPECT_EQ(le(kVersion, 2), 1u);
    EXPECT_EQ(le(10, 2), 2u);         // Argon2id 1.3
    EXPECT_EQ(le(12, 4), 1u << 20);   // chunk size
    EXPECT_EQ(le(16, 8), 3u);         // opslimit
    EXPECT_EQ(le(kMemLimit, 8), quint64(256) << 20);
    EXPECT_EQ(le(32, 8), 0u);         // length
    const SealedCopy::Timing t
        = SealedCopy::open(dir.filePath("empty.sealed"), dir.filePath("out"), kPassphrase);
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("out")));
    EXPECT_EQ(QFileInfo(dir.filePath("out")).size(), 0);
    EXPECT_GT(t.deriveNs, 0);
}

TEST(SealedCopy, ASealThatCannotBeWrittenLeavesNothingAndSaysSo)
{
    QTemporaryDir dir;
    const QString plain = dir.filePath("data.mdb");
    writeAll(plain, QByteArray(10000, 'x'));
    try {
        SealedCopy::seal(plain, dir.filePath("missing/copy.sealed"), kPassphrase, {},
                         SealedCopy::Params::fastest());
        ADD_FAILURE() << "sealed";
    } catch (const SealedCopy::Error &e) {
        EXPECT_EQ(int(e.fault()), int(Fault::Io));
    }
    try {
        SealedCopy::seal(dir.filePath("none.mdb"), dir.filePath("copy.sealed"), kPassphrase, {},
                         SealedCopy::Params::fastest());
        ADD_FAILURE() << "sealed";
    } catch (const SealedCopy::Error &e) {
        EXPECT_EQ(int(e.fault()), int(Fault::Io));
    }
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("copy.sealed")));
}

TEST_F(SealedPractice, TheCopyIsComparedWithThePracticeWithoutWritingItOut)
{
    const QString practice = s_practice->dbPath();
    EXPECT_TRUE(SealedCopy::sameAs(sealedPath(), practice, kPassphrase));
    QByteArray other = readAll(practice);
    other[other.size() / 2] = char(other[other.size() / 2] ^ 1);
    writeAll(s_dir->filePath("other.mdb"), other);
    EXPECT_FALSE(SealedCopy::sameAs(sealedPath(), s_dir->filePath("other.mdb"), kPassphrase));
    other.append('x');
    writeAll(s_dir->filePath("longer.mdb"), other);
    EXPECT_FALSE(SealedCopy::sameAs(sealedPath(), s_dir->filePath("longer.mdb"), kPassphrase));
    EXPECT_EQ(QDir(s_dir->path()).entryList({"opened*"}, QDir::Files), QStringList());
}

// The tool for scheduled tasks: a sealed copy with the passphrase of a file, and no plain copy
// of a practice whose copies are to be encrypted unless asked for.
TEST(SealedBackupTool, SealsWithThePassphraseFileAndNeverFallsBackToAPlainCopy)
{
    TempPractice practice;
    practice.exec("INSERT INTO STOIXEIA_PELATH(ONOMA,EPWNYMO) VALUES('Ελένη','Αλεξίου')");
    SealedBackup::setEncryptionOn(practice.dir(), true);
    QTemporaryDir usb;
    QTemporaryDir secrets;
    const QString good = secrets.filePath("φράση.txt");
    writeAll(good, "Μια φράση για τα αντίγραφα\r\n");
    const QString shortOne = secrets.filePath("short.txt");
    writeAll(shortOne, "Λάρισα\n");
    struct Case {
        const char *name;
        QStringList args;
        int status;
        QString line; // the start of the one line, on stdout for 0 and stderr otherwise
        QString end;
    };
    const Case cases[] = {
        {"no passphrase", {practice.dir(), usb.path()}, 7,
         "not backed up: the practice's copies are to be encrypted", ""},
        {"missing passphrase file", {"--passphrase-file", secrets.filePath("none"), practice.dir(), usb.path()},
         7, "not backed up: passphrase not usable: ", ""},
        {"short passphrase", {"--passphrase-file", shortOne, practice.dir(), usb.path()}, 7,
         "not backed up: passphrase not usable: ", ""},
        {"both options", {"--unencrypted", "--passphrase-file", good, practice.dir(), usb.path()},
         2, "usage: orvanta-backup ", ""},
        {"sealed", {"--passphrase-file", good, practice.dir(), usb.path()}, 0,
         "backed up " + usb.path() + "/orvanta-", ".mdb.sealed "},
        {"plain, asked for", {"--unencrypted", practice.dir(), usb.path()}, 0,
         "backed up " + usb.path() + "/orvanta-", " bytes, verified, not encrypted\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QProcess tool;
        tool.start(QStringLiteral(BACKUP_TOOL), c.args);
        ASSERT_TRUE(tool.waitForFinished(120000));
        EXPECT_EQ(tool.exitCode(), c.status);
        const QString out = QString::fromUtf8(c.status == 0 ? tool.readAllStandardOutput()
                                                            : tool.readAllStandardError());
        EXPECT_TRUE(out.startsWith(c.line)) << out.toStdString();
        EXPECT_EQ(out.count('\n'), 1) << out.toStdString();
        if (!c.end.isEmpty()) {
            EXPECT_TRUE(out.contains(c.end)) << out.toStdString();
        }
        if (c.status != 0) {
            EXPECT_TRUE(QDir(usb.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
        }
    }
    const QStringList copies = QDir(usb.path()).entryList({"*.sealed"}, QDir::Files);
    ASSERT_EQ(copies.size(), 1);
    // The passphrase is the file's line without its line end.
    SealedCopy::open(QDir(usb.path()).filePath(copies[0]), usb.filePath("opened.mdb"),
                     "Μια φράση για τα αντίγραφα");
    EXPECT_TRUE(QFileInfo(usb.filePath("opened.mdb")).size() > 0);
}
