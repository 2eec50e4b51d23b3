// Runs a fuzz target over every file of its seed corpus, without libFuzzer,
// so that the ordinary test suite (sanitizer build included) replays every
// input that once failed. Arguments are files or folders.

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int *argc, char ***argv);

int main(int argc, char **argv)
{
    if (LLVMFuzzerInitialize)
        LLVMFuzzerInitialize(&argc, &argv);
    int replayed = 0;
    for (int i = 1; i < argc; ++i) {
        QStringList files;
        if (QFileInfo(QString::fromLocal8Bit(argv[i])).isDir()) {
            QDirIterator it(QString::fromLocal8Bit(argv[i]), QDir::Files);
            while (it.hasNext())
                files << it.next();
            files.sort();
        } else {
            files << QString::fromLocal8Bit(argv[i]);
        }
        for (const QString &path : files) {
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly)) {
                std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
                return 1;
            }
            const QByteArray bytes = file.readAll();
            std::fprintf(stderr, "%s\n", qPrintable(path));
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size()));
            ++replayed;
        }
    }
    std::printf("%d inputs replayed\n", replayed);
    // An empty or missing corpus replays nothing: that is a broken test.
    return replayed > 0 ? 0 : 1;
}
