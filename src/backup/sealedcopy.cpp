#include "sealedcopy.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <cstring>
#include <memory>
#include <sodium.h>
#include <unistd.h>

namespace SealedCopy {

namespace {

// The layout of the header (docs/backup-encryption.md); every number little-endian.
constexpr int kOffVersion = 8;
constexpr int kOffAlgorithm = 10;
constexpr int kOffChunkSize = 12;
constexpr int kOffOpsLimit = 16;
constexpr int kOffMemLimit = 24;
constexpr int kOffPlainLength = 32;
constexpr int kOffSalt = 40;
constexpr int kOffStreamHeader = 56;
constexpr int kOffChecksum = 80;
constexpr int kOffKeyCheck = 112;
constexpr int kHeaderBytes = kOffKeyCheck; // what every chunk authenticates
constexpr int kChecksumBytes = 32;
constexpr int kAbytes = crypto_secretstream_xchacha20poly1305_ABYTES;
constexpr int kBodyStart = kOffKeyCheck + kAbytes;
constexpr int kIndexBytes = 8;

static_assert(crypto_pwhash_SALTBYTES == 16);
static_assert(crypto_secretstream_xchacha20poly1305_HEADERBYTES == 24);
static_assert(kOffStreamHeader + 24 == kOffChecksum);

// Bounds a header may name: beyond them a file is refused before any memory is spent on it.
constexpr std::uint64_t kMaxOpsLimit = 16;
constexpr std::uint64_t kMaxMemLimit = std::uint64_t(1) << 30;
constexpr std::uint32_t kMinChunk = 4096;
constexpr std::uint32_t kMaxChunk = 64u << 20;

Params g_standard {crypto_pwhash_OPSLIMIT_MODERATE, crypto_pwhash_MEMLIMIT_MODERATE, 1u << 20};

void initialise()
{
    // sodium_init may be called again and from any thread; -1 means no randomness at all.
    if (sodium_init() < 0)
        throw Error(Fault::Io, QStringLiteral("The encryption library could not start."));
}

void putU16(unsigned char *p, std::uint16_t v)
{
    for (int i = 0; i < 2; ++i)
        p[i] = static_cast<unsigned char>(v >> (8 * i));
}
void putU32(unsigned char *p, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<unsigned char>(v >> (8 * i));
}
void putU64(unsigned char *p, std::uint64_t v)
{
    for (int i = 0; i < 8; ++i)
        p[i] = static_cast<unsigned char>(v >> (8 * i));
}
std::uint64_t getLE(const unsigned char *p, int bytes)
{
    std::uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | p[i];
    return v;
}

// Memory that holds key material: locked out of the swap where the system allows it, guarded,
// and wiped when freed.
class Secret {
public:
    explicit Secret(size_t size)
        : m_size(size)
        , m_data(static_cast<unsigned char *>(sodium_malloc(size)))
    {
        if (!m_data)
            throw Error(Fault::Io, QStringLiteral("No memory for the key."));
    }
    ~Secret() { sodium_free(m_data); } // sodium_free wipes it first
    Secret(const Secret &) = delete;
    Secret &operator=(const Secret &) = delete;
    unsigned char *data() const { return m_data; }
    size_t size() const { return m_size; }

private:
    size_t m_size;
    unsigned char *m_data;
};

// The passphrase as the key derivation takes it: UTF-8 of its normal form C, in locked memory.
struct Passphrase {
    std::unique_ptr<Secret> bytes;
    size_t length = 0;
};

Passphrase takePassphrase(const QString &passphrase)
{
    QString normal = passphrase.normalized(QString::NormalizationForm_C);
    QByteArray utf8 = normal.toUtf8();
    Passphrase p;
    p.length = size_t(utf8.size());
    p.bytes = std::make_unique<Secret>(std::max<size_t>(p.length, 1));
    std::memcpy(p.bytes->data(), utf8.constData(), p.length);
    sodium_memzero(utf8.data(), size_t(utf8.size()));
    sodium_memzero(normal.data(), size_t(normal.size()) * sizeof(QChar));
    return p;
}

std::int64_t nsSince(const QElapsedTimer &t)
{
    return t.nsecsElapsed();
}

// Derives the stream key; the time it took is added to the timing.
std::unique_ptr<Secret> deriveKey(const QString &passphrase, const unsigned char *salt,
                                  std::uint64_t ops, std::uint64_t mem, Timing &timing)
{
    QElapsedTimer clock;
    clock.start();
    auto key = std::make_unique<Secret>(crypto_secretstream_xchacha20poly1305_KEYBYTES);
    const Passphrase p = takePassphrase(passphrase);
    if (crypto_pwhash(key->data(), key->size(), reinterpret_cast<const char *>(p.bytes->data()),
                      p.length, salt, ops, size_t(mem), crypto_pwhash_ALG_ARGON2ID13)
        != 0)
        throw Error(Fault::Io, QStringLiteral("Not enough memory to derive the key (%1 MiB).")
                                   .arg(mem >> 20));
    timing.deriveNs += nsSince(clock);
    return key;
}

using State = crypto_secretstream_xchacha20poly1305_state;

// The number of chunks of a file of that length: at least one, so that even an empty file ends
// with a chunk marked final.
std::uint64_t chunkCount(std::uint64_t length, std::uint32_t chunk)
{
    return length == 0 ? 1 : (length + chunk - 1) / chunk;
}

// The bytes that follow the header and key check for a file of that length.
std::uint64_t bodyBytes(std::uint64_t length, std::uint32_t chunk)
{
    return chunkCount(length, chunk) * (kIndexBytes + kAbytes) + length;
}

// A file written by seal() or open(): removed unless finished.
class Output {
public:
    explicit Output(const QString &path)
        : m_file(path)
    {
        if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            throw Error(Fault::Io, QStringLiteral("The file '%1' cannot be written: %2")
                                       .arg(path, m_file.errorString()));
    }
    ~Output()
    {
        if (!m_done) {
            m_file.close();
            m_file.remove();
        }
    }
    Output(const Output &) = delete;
    Output &operator=(const Output &) = delete;

    void write(const unsigned char *data, qint64 size)
    {
        if (m_file.write(reinterpret_cast<const char *>(data), size) != size)
            throw Error(Fault::Io, QStringLiteral("The file '%1' could not be written: %2")
                                       .arg(m_file.fileName(), m_file.errorString()));
    }
    // Flushed and synced to the disk, then kept.
    void finish()
    {
        if (!m_file.flush() || ::fsync(m_file.handle()) != 0)
            throw Error(Fault::Io, QStringLiteral("The file '%1' could not be written to the "
                                                  "disk: %2")
                                       .arg(m_file.fileName(), m_file.errorString()));
        m_file.close();
        m_done = true;
    }

private:
    QFile m_file;
    bool m_done = false;
};

Params checked(const Params &p)
{
    if (p.opsLimit < crypto_pwhash_OPSLIMIT_MIN || p.opsLimit > kMaxOpsLimit
        || p.memLimit < crypto_pwhash_MEMLIMIT_MIN || p.memLimit > kMaxMemLimit
        || p.chunkSize < kMinChunk || p.chunkSize > kMaxChunk)
        throw Error(Fault::Io, QStringLiteral("Parameters outside the format's bounds."));
    return p;
}

} // namespace

QString reason(Fault fault)
{
    switch (fault) {
    case Fault::NotSealed:
        return QStringLiteral("Το αρχείο δεν είναι κρυπτογραφημένο αντίγραφο ασφαλείας του "
                              "προγράμματος.");
    case Fault::NewerFormat:
        return QStringLiteral("Το αντίγραφο γράφτηκε από νεότερη έκδοση του προγράμματος. "
                              "Ενημερώστε το πρόγραμμα για να το ανοίξετε.");
    case Fault::HeaderDamaged:
        return QStringLiteral("Η αρχή του αρχείου έχει αλλοιωθεί: το αντίγραφο δεν μπορεί να "
                              "ανοίξει.");
    case Fault::WrongPassphrase:
        return QStringLiteral("Η φράση κρυπτογράφησης δεν είναι σωστή.");
    case Fault::Truncated:
        return QStringLiteral("Το αντίγραφο είναι ελλιπές: το αρχείο τελειώνει πριν από το "
                              "τέλος του (π.χ. η αντιγραφή του διακόπηκε).");
    case Fault::Changed:
        return QStringLiteral("Το περιεχόμενο του αντιγράφου έχει αλλοιωθεί: δεν είναι ίδιο με "
                              "αυτό που γράφτηκε.");
    case Fault::OutOfOrder:
        return QStringLiteral("Τα κομμάτια του αντιγράφου δεν είναι στη σειρά τους: το αρχείο "
                              "έχει αλλοιωθεί.");
    case Fault::Io:
        return QStringLiteral("Ένα αρχείο δεν μπόρεσε να διαβαστεί ή να γραφτεί.");
    }
    return {};
}

Params Params::standard()
{
    return g_standard;
}

Params Params::fastest()
{
    return {crypto_pwhash_OPSLIMIT_MIN, crypto_pwhash_MEMLIMIT_MIN, kMinChunk};
}

void setStandardParams(const Params &params)
{
    g_standard = params;
}

bool isSealed(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) && f.read(8) == QByteArray(kMagic, 8);
}

Timing seal(const QString &plainPath, const QString &sealedPath, const QString &passphrase,
            const Progress &progress, const Params &requested)
{
    initialise();
    const Params params = checked(requested);
    QElapsedTimer clock;
    clock.start();
    Timing timing;

    QFile in(plainPath);
    if (!in.open(QIODevice::ReadOnly))
        throw Error(Fault::Io, QStringLiteral("The file '%1' cannot be read: %2")
                                   .arg(plainPath, in.errorString()));
    const std::uint64_t length = std::uint64_t(in.size());

    unsigned char header[kBodyStart] = {};
    std::memcpy(header, kMagic, 8);
    putU16(header + kOffVersion, kVersion);
    putU16(header + kOffAlgorithm, crypto_pwhash_ALG_ARGON2ID13);
    putU32(header + kOffChunkSize, params.chunkSize);
    putU64(header + kOffOpsLimit, params.opsLimit);
    putU64(header + kOffMemLimit, params.memLimit);
    putU64(header + kOffPlainLength, length);
    randombytes_buf(header + kOffSalt, crypto_pwhash_SALTBYTES);

    const std::unique_ptr<Secret> key
        = deriveKey(passphrase, header + kOffSalt, params.opsLimit, params.memLimit, timing);
    Secret stateMemory(sizeof(State));
    State *state = reinterpret_cast<State *>(stateMemory.data());
    crypto_secretstream_xchacha20poly1305_init_push(state, header + kOffStreamHeader,
                                                    key->data());
    crypto_generichash(header + kOffChecksum, kChecksumBytes, header, kOffChecksum, nullptr, 0);
    crypto_secretstream_xchacha20poly1305_push(state, header + kOffKeyCheck, nullptr, nullptr, 0,
                                               header, kHeaderBytes,
                                               crypto_secretstream_xchacha20poly1305_TAG_MESSAGE);

    Output out(sealedPath);
    out.write(header, kBodyStart);

    // Each chunk authenticates the header and its own number.
    QByteArray ad(reinterpret_cast<const char *>(header), kHeaderBytes + kIndexBytes);
    auto *adIndex = reinterpret_cast<unsigned char *>(ad.data()) + kHeaderBytes;
    QByteArray plain(qsizetype(params.chunkSize), Qt::Uninitialized);
    QByteArray sealed(qsizetype(kIndexBytes + params.chunkSize + kAbytes), Qt::Uninitialized);
    auto *sealedBytes = reinterpret_cast<unsigned char *>(sealed.data());
    const std::uint64_t chunks = chunkCount(length, params.chunkSize);
    std::uint64_t done = 0;
    for (std::uint64_t index = 1; index <= chunks; ++index) {
        const qint64 want = qint64(std::min<std::uint64_t>(params.chunkSize, length - done));
        if (want > 0 && in.read(plain.data(), want) != want)
            throw Error(Fault::Io, QStringLiteral("The file '%1' could not be read to its end.")
                                       .arg(plainPath));
        putU64(sealedBytes, index);
        putU64(adIndex, index);
        const unsigned char tag = index == chunks
            ? crypto_secretstream_xchacha20poly1305_TAG_FINAL
            : crypto_secretstream_xchacha20poly1305_TAG_MESSAGE;
        crypto_secretstream_xchacha20poly1305_push(
            state, sealedBytes + kIndexBytes, nullptr,
            reinterpret_cast<const unsigned char *>(plain.constData()), std::uint64_t(want),
            reinterpret_cast<const unsigned char *>(ad.constData()), std::uint64_t(ad.size()),
            tag);
        out.write(sealedBytes, kIndexBytes + want + kAbytes);
        done += std::uint64_t(want);
        if (progress)
            progress(std::int64_t(done), std::int64_t(length));
    }
    // A file that grew while it was read is not the file that was checked.
    if (!in.atEnd())
        throw Error(Fault::Io, QStringLiteral("The file '%1' changed while it was sealed.")
                                   .arg(plainPath));
    sodium_memzero(plain.data(), size_t(plain.size()));
    out.finish();
    timing.totalNs = nsSince(clock);
    return timing;
}

namespace {

// Opens the sealed copy and hands each chunk's plaintext to the sink, in order, after the
// chunk passed its checks.
Timing openInto(const QString &sealedPath, const QString &passphrase,
                const std::function<void(const unsigned char *, qint64)> &sink,
                const std::function<void()> &finished, const Progress &progress)
{

    initialise();
    QElapsedTimer clock;
    clock.start();
    Timing timing;

    QFile in(sealedPath);
    if (!in.open(QIODevice::ReadOnly))
        throw Error(Fault::Io, QStringLiteral("The file '%1' cannot be read: %2")
                                   .arg(sealedPath, in.errorString()));
    const std::uint64_t size = std::uint64_t(in.size());
    unsigned char header[kBodyStart] = {};
    const qint64 got = in.read(reinterpret_cast<char *>(header), kBodyStart);
    if (got < 8 || std::memcmp(header, kMagic, 8) != 0)
        throw Error(Fault::NotSealed,
                    QStringLiteral("The file '%1' is not a sealed copy.").arg(sealedPath));
    if (got < kBodyStart)
        throw Error(Fault::Truncated,
                    QStringLiteral("The file '%1' ends inside its header.").arg(sealedPath));
    unsigned char checksum[kChecksumBytes];
    crypto_generichash(checksum, kChecksumBytes, header, kOffChecksum, nullptr, 0);
    if (sodium_memcmp(checksum, header + kOffChecksum, kChecksumBytes) != 0)
        throw Error(Fault::HeaderDamaged,
                    QStringLiteral("The header of '%1' does not match its checksum.")
                        .arg(sealedPath));
    if (getLE(header + kOffVersion, 2) != std::uint64_t(kVersion))
        throw Error(Fault::NewerFormat, QStringLiteral("The file '%1' is of format version %2.")
                                            .arg(sealedPath)
                                            .arg(getLE(header + kOffVersion, 2)));
    Params params;
    params.chunkSize = std::uint32_t(getLE(header + kOffChunkSize, 4));
    params.opsLimit = getLE(header + kOffOpsLimit, 8);
    params.memLimit = getLE(header + kOffMemLimit, 8);
    const std::uint64_t length = getLE(header + kOffPlainLength, 8);
    try {
        if (getLE(header + kOffAlgorithm, 2) != crypto_pwhash_ALG_ARGON2ID13)
            throw Error(Fault::Io, {});
        checked(params);
    } catch (const Error &) {
        // A checksum that matches nonsense: made on purpose, not by a failing disk.
        throw Error(Fault::HeaderDamaged,
                    QStringLiteral("The header of '%1' names parameters outside the format's "
                                   "bounds.")
                        .arg(sealedPath));
    }

    const std::unique_ptr<Secret> key
        = deriveKey(passphrase, header + kOffSalt, params.opsLimit, params.memLimit, timing);
    Secret stateMemory(sizeof(State));
    State *state = reinterpret_cast<State *>(stateMemory.data());
    unsigned char tag = 0;
    if (crypto_secretstream_xchacha20poly1305_init_pull(state, header + kOffStreamHeader,
                                                        key->data())
            != 0
        || crypto_secretstream_xchacha20poly1305_pull(state, nullptr, nullptr, &tag,
                                                      header + kOffKeyCheck, kAbytes, header,
                                                      kHeaderBytes)
            != 0
        || tag != crypto_secretstream_xchacha20poly1305_TAG_MESSAGE)
        throw Error(Fault::WrongPassphrase,
                    QStringLiteral("The passphrase does not open '%1'.").arg(sealedPath));

    const std::uint64_t expected = kBodyStart + bodyBytes(length, params.chunkSize);
    if (size < expected)
        throw Error(Fault::Truncated, QStringLiteral("The file '%1' has %2 bytes of %3.")
                                          .arg(sealedPath)
                                          .arg(size)
                                          .arg(expected));
    if (size > expected)
        throw Error(Fault::Changed, QStringLiteral("The file '%1' has %2 bytes after its end.")
                                        .arg(sealedPath)
                                        .arg(size - expected));

    QByteArray ad(reinterpret_cast<const char *>(header), kHeaderBytes + kIndexBytes);
    auto *adIndex = reinterpret_cast<unsigned char *>(ad.data()) + kHeaderBytes;
    QByteArray sealed(qsizetype(kIndexBytes + params.chunkSize + kAbytes), Qt::Uninitialized);
    auto *sealedBytes = reinterpret_cast<unsigned char *>(sealed.data());
    QByteArray plain(qsizetype(params.chunkSize), Qt::Uninitialized);
    auto *plainBytes = reinterpret_cast<unsigned char *>(plain.data());
    const std::uint64_t chunks = chunkCount(length, params.chunkSize);
    std::uint64_t done = 0;
    for (std::uint64_t index = 1; index <= chunks; ++index) {
        const std::uint64_t want = std::min<std::uint64_t>(params.chunkSize, length - done);
        const qint64 frame = qint64(kIndexBytes + want + kAbytes);
        if (in.read(sealed.data(), frame) != frame)
            throw Error(Fault::Io, QStringLiteral("The file '%1' could not be read to its end.")
                                       .arg(sealedPath));
        if (getLE(sealedBytes, kIndexBytes) != index)
            throw Error(Fault::OutOfOrder,
                        QStringLiteral("Chunk %1 of '%2' stands where chunk %3 belongs.")
                            .arg(getLE(sealedBytes, kIndexBytes))
                            .arg(sealedPath)
                            .arg(index));
        putU64(adIndex, index);
        unsigned long long plainLength = 0;
        if (crypto_secretstream_xchacha20poly1305_pull(
                state, plainBytes, &plainLength, &tag, sealedBytes + kIndexBytes,
                want + kAbytes, reinterpret_cast<const unsigned char *>(ad.constData()),
                std::uint64_t(ad.size()))
            != 0)
            throw Error(Fault::Changed,
                        QStringLiteral("Chunk %1 of '%2' is not as it was sealed.")
                            .arg(index)
                            .arg(sealedPath));
        const bool final = tag == crypto_secretstream_xchacha20poly1305_TAG_FINAL;
        if (final != (index == chunks))
            throw Error(Fault::Changed,
                        QStringLiteral("Chunk %1 of '%2' is marked as it should not be.")
                            .arg(index)
                            .arg(sealedPath));
        sink(plainBytes, qint64(plainLength));
        done += want;
        if (progress)
            progress(std::int64_t(done), std::int64_t(length));
    }
    sodium_memzero(plain.data(), size_t(plain.size()));
    finished();
    timing.totalNs = nsSince(clock);
    return timing;
}

} // namespace

Timing open(const QString &sealedPath, const QString &plainOutPath, const QString &passphrase,
            const Progress &progress)
{
    initialise();
    std::unique_ptr<Output> out;
    return openInto(
        sealedPath, passphrase,
        [&](const unsigned char *data, qint64 size) {
            // Created only once the passphrase opened the copy.
            if (!out)
                out = std::make_unique<Output>(plainOutPath);
            out->write(data, size);
        },
        [&] {
            if (!out)
                out = std::make_unique<Output>(plainOutPath);
            out->finish();
        },
        progress);
}

bool sameAs(const QString &sealedPath, const QString &plainPath, const QString &passphrase,
            const Progress &progress, Timing *timing)
{
    initialise();
    QFile plain(plainPath);
    if (!plain.open(QIODevice::ReadOnly))
        throw Error(Fault::Io, QStringLiteral("The file '%1' cannot be read: %2")
                                   .arg(plainPath, plain.errorString()));
    bool same = true;
    QByteArray expected;
    const Timing t = openInto(
        sealedPath, passphrase,
        [&](const unsigned char *data, qint64 size) {
            expected = plain.read(size);
            if (same && (expected.size() != size
                         || std::memcmp(expected.constData(), data, size_t(size)) != 0))
                same = false;
        },
        [&] {
            if (!plain.atEnd())
                same = false;
        },
        progress);
    if (timing)
        *timing = t;
    return same;
}

} // namespace SealedCopy
