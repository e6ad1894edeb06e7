// Runs a fuzz target over every file of its corpus folders (the short replay of the test run).
#include <QCoreApplication>
#include <QDirIterator>
#include <QFile>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int files = 0;
    for (int i = 1; i < argc; ++i) {
        QDirIterator it(QString::fromLocal8Bit(argv[i]), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile f(it.next());
            if (!f.open(QIODevice::ReadOnly))
                continue;
            const QByteArray d = f.readAll();
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(d.constData()), static_cast<std::size_t>(d.size()));
            ++files;
        }
    }
    std::printf("replayed %d inputs\n", files);
    return files > 0 ? 0 : 1;
}
