#include "device/HidApiBackend.h"

#include "device/DeviceLink.h"
#include "device/DeviceLog.h"
#include "device/HidOutputReport.h"

#include <hidapi.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>

namespace zav {

std::string hidErrorText(const wchar_t* text) {
    std::string out;
    for (; text != nullptr && *text != L'\0'; ++text) {
        out += *text < 0x80 ? static_cast<char>(*text) : '?';
    }
    return out.empty() ? std::string("no reason given") : out;
}

namespace {

class HidApiDevice : public HidDevice {
public:
    HidApiDevice(hid_device* handle, std::string path)
        : handle_(handle), path_(std::move(path)), output_(makeOutputReportSender(handle_, path_)) {}
    ~HidApiDevice() override {
        output_.reset();
        hid_close(handle_);
    }
    HidApiDevice(const HidApiDevice&) = delete;
    HidApiDevice& operator=(const HidApiDevice&) = delete;

    bool setOutputReport(std::span<const std::uint8_t> report) override { return output_->send(report); }

    bool getInputReport(std::span<std::uint8_t> buffer) override {
        const int got = hid_get_input_report(handle_, buffer.data(), buffer.size());
        if (got <= 0) {
            logDeviceFailure("hid_get_input_report on " + path_ + ": " +
                             (got < 0 ? hidErrorText(hid_error(handle_)) : std::string("empty report")));
            return false;
        }
        // What the device did not send reads as zero.
        std::fill(buffer.begin() + std::min<std::ptrdiff_t>(got, std::ssize(buffer)), buffer.end(), 0);
        return true;
    }

private:
    hid_device* handle_;
    std::string path_;
    std::unique_ptr<OutputReportSender> output_;
};

} // namespace

HidApiBackend::HidApiBackend() : initialised_(hid_init() == 0) {
    if (!initialised_) {
        logDeviceFailure("hid_init: " + hidErrorText(hid_error(nullptr)));
    }
}

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
    errno = 0;
    hid_device* handle = hid_open_path(info.path.c_str());
    if (handle == nullptr) {
        const int error = errno;
        logDeviceFailure("hid_open_path " + info.path + ": " + hidErrorText(hid_error(nullptr)) +
                         (error != 0 ? "; " + std::string(std::strerror(error)) : std::string()));
        return nullptr;
    }
    return std::make_unique<HidApiDevice>(handle, info.path);
}

} // namespace zav
