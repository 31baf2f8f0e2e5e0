#include "device/DeviceLogging.h"

#include "device/DeviceLog.h"

namespace zav {

// Only warnings and worse pass by default; the device lines are debug lines.
Q_LOGGING_CATEGORY(lcDevice, "zavora.device", QtWarningMsg)

void installDeviceLogging() {
    setDeviceLogSink([](std::string_view line) {
        qCDebug(lcDevice).noquote() << QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
    });
}

} // namespace zav
