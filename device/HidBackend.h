#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace zav {

struct HidDeviceInfo {
    std::string path;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
};

// One open HID device. Both calls block until the report has gone out or come in.
class HidDevice {
public:
    virtual ~HidDevice() = default;
    virtual bool setOutputReport(std::span<const std::uint8_t> report) = 0; // report[0] is the report id
    virtual bool getInputReport(std::span<std::uint8_t> buffer) = 0; // buffer[0] is the report id asked for
};

// The platform's view of the HID devices that may be adapters.
class HidBackend {
public:
    virtual ~HidBackend() = default;
    virtual std::vector<HidDeviceInfo> enumerate() = 0; // in enumeration order
    virtual std::unique_ptr<HidDevice>
    open(const HidDeviceInfo& info) = 0; // nullptr when it cannot be opened
};

} // namespace zav
