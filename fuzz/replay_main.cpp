// Runs a fuzz target on files instead of under libFuzzer: every file named on the command line,
// and every file inside a folder named there. The ordinary build uses this to run each target's
// seed corpus (and the inputs that once broke it) as a test, with any compiler.

#include "fuzzcheck.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace {

int runFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return 1;
    }
    const QByteArray bytes = f.readAll();
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.constData()),
                           size_t(bytes.size()));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    int inputs = 0;
    int unreadable = 0;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (QFileInfo(arg).isDir()) {
            QDirIterator it(arg, QDir::Files, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                unreadable += runFile(it.next());
                ++inputs;
            }
        } else {
            unreadable += runFile(arg);
            ++inputs;
        }
    }
    std::printf("%d inputs, all properties held\n", inputs - unreadable);
    // No input at all means the corpus went missing: that is a failure, not a pass.
    return inputs == 0 || unreadable > 0 ? 1 : 0;
}
