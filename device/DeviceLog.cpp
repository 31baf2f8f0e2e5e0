#include "device/DeviceLog.h"

#include <mutex>

namespace zav {

namespace {

std::mutex& sinkMutex() {
    static std::mutex mutex;
    return mutex;
}

DeviceLogSink& sinkSlot() {
    static DeviceLogSink sink;
    return sink;
}

} // namespace

void setDeviceLogSink(DeviceLogSink sink) {
    std::lock_guard lock(sinkMutex());
    sinkSlot() = std::move(sink);
}

void logDeviceFailure(std::string_view line) {
    std::lock_guard lock(sinkMutex());
    if (sinkSlot()) {
        sinkSlot()(line);
    }
}

} // namespace zav
