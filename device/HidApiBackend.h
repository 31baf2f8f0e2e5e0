#pragma once

#include "device/HidBackend.h"

namespace zav {

// The adapters as hidapi's hidraw backend sees them: only devices of the adapters' vendor, in
// hidapi's enumeration order.
class HidApiBackend : public HidBackend {
public:
    HidApiBackend();
    ~HidApiBackend() override;
    HidApiBackend(const HidApiBackend&) = delete;
    HidApiBackend& operator=(const HidApiBackend&) = delete;

    std::vector<HidDeviceInfo> enumerate() override;
    std::unique_ptr<HidDevice> open(const HidDeviceInfo& info) override;

private:
    bool initialised_ = false;
};

} // namespace zav
