#include "device/HidOutputReport.h"

#include "device/DeviceLog.h"

#include <cwchar>
#include <string>

namespace zav {

namespace {

// Elsewhere hidapi itself knows how to send SET_REPORT, from version 0.15 on; before that
// hid_write is the only call there is.
class HidapiOutputSender : public OutputReportSender {
public:
    HidapiOutputSender(hid_device* handle, std::string path) : handle_(handle), path_(std::move(path)) {}

    bool send(std::span<const std::uint8_t> report) override {
#if defined(HID_API_VERSION) && HID_API_VERSION >= HID_API_MAKE_VERSION(0, 15, 0)
        const int sent = hid_send_output_report(handle_, report.data(), report.size());
        const char* call = "hid_send_output_report";
#else
        const int sent = hid_write(handle_, report.data(), report.size());
        const char* call = "hid_write";
#endif
        if (sent < 0) {
            logDeviceFailure(std::string(call) + " on " + path_ + ": " + hidErrorText(hid_error(handle_)));
            return false;
        }
        return static_cast<std::size_t>(sent) == report.size();
    }

private:
    hid_device* handle_;
    std::string path_;
};

} // namespace

std::unique_ptr<OutputReportSender> makeOutputReportSender(hid_device* handle, const std::string& path) {
    return std::make_unique<HidapiOutputSender>(handle, path);
}

} // namespace zav
