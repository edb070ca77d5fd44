#pragma once

// Shared by the fuzz targets: the input as text, and a property check that stops the run with
// the input that broke it (libFuzzer then keeps that input as a crash file).

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace Fuzz {

inline QString text(const uint8_t *data, size_t size)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
}

[[noreturn]] inline void fail(const char *property, const char *file, int line,
                              const QString &detail)
{
    std::fprintf(stderr, "\n%s:%d: property failed: %s\n%s\n", file, line, property,
                 detail.toUtf8().constData());
    std::fflush(stderr);
    std::abort();
}

inline int sign(int v)
{
    return (v > 0) - (v < 0);
}

} // namespace Fuzz

// FUZZ_CHECK(condition, detail): detail is a QString built only when the condition fails.
#define FUZZ_CHECK(cond, detail)                                                                   \
    do {                                                                                           \
        if (!(cond))                                                                               \
            Fuzz::fail(#cond, __FILE__, __LINE__, (detail));                                       \
    } while (0)

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);
