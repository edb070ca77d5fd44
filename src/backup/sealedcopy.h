#pragma once

#include "dberror.h"

#include <QString>

#include <cstdint>
#include <functional>

// Backup copies sealed with a passphrase, so that a copy that leaves the computer (a USB stick,
// a shared folder) cannot be read without it, and a changed byte is found rather than read as
// something else. The key comes from the passphrase with Argon2id; the file is sealed with
// XChaCha20-Poly1305 as a stream of fixed-size chunks, the last one marked final. The format is
// written down in docs/backup-encryption.md, so that a copy can be read without this program.
namespace SealedCopy {

// Why a sealed copy was refused; each has its own reason for the person (reason()).
enum class Fault {
    NotSealed,       // the file is not a sealed copy at all
    NewerFormat,     // a sealed copy of a format this program does not know yet
    HeaderDamaged,   // the file's header does not match its checksum
    WrongPassphrase, // the key from the passphrase does not open the copy
    Truncated,       // the file ends before its last chunk
    Changed,         // a chunk (or what follows the last one) is not as it was sealed
    OutOfOrder,      // a chunk stands where another one belongs
    Io,              // a file could not be read or written (the disk, not the copy)
};

class Error : public DbError {
public:
    Error(Fault fault, const QString &message)
        : DbError(message)
        , m_fault(fault)
    {}
    Fault fault() const { return m_fault; }

private:
    Fault m_fault;
};

// The fault in the person's words.
QString reason(Fault fault);

// How the key is derived and how the file is cut. The standard parameters are libsodium's
// "moderate" ones (3 passes over 256 MiB): a lost stick can be attacked offline for as long as
// the finder likes, so each guess must cost as much as an ordinary front-desk computer can
// spend once per copy (about a second), without needing more memory than it has to spare.
struct Params {
    std::uint64_t opsLimit = 0;
    std::uint64_t memLimit = 0;      // bytes
    std::uint32_t chunkSize = 0;     // bytes of the practice file per chunk
    static Params standard();
    // The least the format allows, for tests that seal many copies.
    static Params fastest();
};

// Told how many bytes of the practice file have been sealed or opened so far, of how many.
using Progress = std::function<void(std::int64_t done, std::int64_t total)>;

// How long the work took, and how much of it was deriving the key from the passphrase.
struct Timing {
    std::int64_t deriveNs = 0;
    std::int64_t totalNs = 0;
};

inline constexpr char kMagic[8] = {'O', 'R', 'V', 'S', 'E', 'A', 'L', '\0'};
inline constexpr int kVersion = 1;
// The suffix of a sealed backup's file name (orvanta-2026-03-05-1830.mdb.sealed).
inline constexpr char kSuffix[] = ".sealed";

// Whether the file begins as a sealed copy does (it may still be refused when opened).
bool isSealed(const QString &path);

// Seals the plain file into sealedPath (created or replaced, and synced to the disk). Throws
// Error (Io); nothing is left at sealedPath when it fails.
Timing seal(const QString &plainPath, const QString &sealedPath, const QString &passphrase,
            const Progress &progress = {}, const Params &params = Params::standard());

// Opens the sealed copy into plainOutPath (created or replaced). Throws Error with the fault;
// nothing is left at plainOutPath when it fails. The passphrase is taken in Unicode normal
// form C, so that the same letters typed on another keyboard give the same key.
Timing open(const QString &sealedPath, const QString &plainOutPath, const QString &passphrase,
            const Progress &progress = {});

// Whether the sealed copy opens, with its checks, into exactly the bytes of the plain file;
// nothing is written. Throws Error as open() does.
bool sameAs(const QString &sealedPath, const QString &plainPath, const QString &passphrase,
            const Progress &progress = {}, Timing *timing = nullptr);

// Test seam: the parameters seal() uses when given the standard ones (tests make many copies
// and need not spend a second on each).
void setStandardParams(const Params &params);

} // namespace SealedCopy
