#include "device/HidApiBackend.h"

#include "device/DeviceLink.h"

#include <hidapi.h>

#include <algorithm>

namespace zav {

namespace {

class HidApiDevice : public HidDevice {
public:
    explicit HidApiDevice(hid_device* handle) : handle_(handle) {}
    ~HidApiDevice() override { hid_close(handle_); }
    HidApiDevice(const HidApiDevice&) = delete;
    HidApiDevice& operator=(const HidApiDevice&) = delete;

    bool setOutputReport(std::span<const std::uint8_t> report) override {
        const int sent = hid_write(handle_, report.data(), report.size());
        return sent >= 0 && static_cast<std::size_t>(sent) == report.size();
    }

    bool getInputReport(std::span<std::uint8_t> buffer) override {
        const int got = hid_get_input_report(handle_, buffer.data(), buffer.size());
        if (got <= 0) {
            return false;
        }
        // What the device did not send reads as zero.
        std::fill(buffer.begin() + std::min<std::ptrdiff_t>(got, std::ssize(buffer)), buffer.end(), 0);
        return true;
    }

private:
    hid_device* handle_;
};

} // namespace

HidApiBackend::HidApiBackend() : initialised_(hid_init() == 0) {}

HidApiBackend::~HidApiBackend() {
    if (initialised_) {
        hid_exit();
    }
}

std::vector<HidDeviceInfo> HidApiBackend::enumerate() {
    std::vector<HidDeviceInfo> result;
    if (!initialised_) {
        return result;
    }
    hid_device_info* list = hid_enumerate(kVendorId, 0);
    for (const hid_device_info* it = list; it != nullptr; it = it->next) {
        result.push_back({it->path ? it->path : "", it->vendor_id, it->product_id});
    }
    hid_free_enumeration(list);
    return result;
}

std::unique_ptr<HidDevice> HidApiBackend::open(const HidDeviceInfo& info) {
    if (!initialised_ || info.path.empty()) {
        return nullptr;
    }
    hid_device* handle = hid_open_path(info.path.c_str());
    if (handle == nullptr) {
        return nullptr;
    }
    return std::make_unique<HidApiDevice>(handle);
}

} // namespace zav
