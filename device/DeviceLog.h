#pragma once

#include <functional>
#include <string_view>

namespace zav {

// Where the device code says why an open, a send, a fetch or an ioctl failed. Nothing is said
// until the program installs a sink; the window's side hands the lines to its logging category.
using DeviceLogSink = std::function<void(std::string_view line)>;

// Replaces the sink (an empty one silences the device code again). Safe from any thread.
void setDeviceLogSink(DeviceLogSink sink);
void logDeviceFailure(std::string_view line);

} // namespace zav
