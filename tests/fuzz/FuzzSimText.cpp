// Words that describe a simulated loop: device texts and loop files, whatever they contain.
#include "sim/SimConfig.h"
#include "sim/SimLoop.h"

#include <QTemporaryFile>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<int>(size));
    sim::SimLoop loop;
    QString error;
    sim::AddDeviceFromText(loop, QString::fromUtf8(bytes), &error);
    QTemporaryFile f;
    if (f.open()) {
        f.write(bytes);
        f.flush();
        sim::LoadLoopFile(loop, f.fileName(), &error);
    }
    return 0;
}
