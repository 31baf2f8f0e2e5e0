#include "device/HidOutputReport.h"

#include "device/DeviceLog.h"

#include <linux/hidraw.h>
#include <sys/ioctl.h>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace zav {

namespace {

std::string reason(int error) {
    return std::string(std::strerror(error)) + " (errno " + std::to_string(error) + ")";
}

// hidraw sends write() on the interrupt OUT endpoint when the interface has one; HIDIOCSOUTPUT
// (kernel 5.11 and later) always sends SET_REPORT. The node is opened a second time beside
// hidapi's handle, since hidapi does not give its descriptor away.
class HidrawOutputSender : public OutputReportSender {
public:
    explicit HidrawOutputSender(std::string path) : path_(std::move(path)) {
        fd_ = ::open(path_.c_str(), O_RDWR | O_CLOEXEC);
        if (fd_ < 0) {
            logDeviceFailure("open " + path_ + " for output reports: " + reason(errno));
        }
    }
    ~HidrawOutputSender() override {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    HidrawOutputSender(const HidrawOutputSender&) = delete;
    HidrawOutputSender& operator=(const HidrawOutputSender&) = delete;

    bool send(std::span<const std::uint8_t> report) override {
        if (fd_ < 0) {
            return false;
        }
        if (ioctlKnown_) {
            // The ioctl's argument is not const, though the kernel only reads it.
            const int sent =
                ::ioctl(fd_, HIDIOCSOUTPUT(report.size()), const_cast<std::uint8_t*>(report.data()));
            if (sent >= 0) {
                return static_cast<std::size_t>(sent) == report.size();
            }
            const int error = errno;
            if (error != EINVAL && error != ENOTTY) {
                logDeviceFailure("HIDIOCSOUTPUT on " + path_ + ": " + reason(error));
                return false;
            }
            // A kernel older than the ioctl: a plain write is all there is.
            logDeviceFailure("HIDIOCSOUTPUT on " + path_ +
                             " refused as unknown, writing instead: " + reason(error));
            ioctlKnown_ = false;
        }
        const ssize_t written = ::write(fd_, report.data(), report.size());
        if (written < 0) {
            logDeviceFailure("write to " + path_ + ": " + reason(errno));
            return false;
        }
        return static_cast<std::size_t>(written) == report.size();
    }

private:
    std::string path_;
    int fd_ = -1;
    bool ioctlKnown_ = true;
};

} // namespace

std::unique_ptr<OutputReportSender> makeOutputReportSender(hid_device*, const std::string& path) {
    return std::make_unique<HidrawOutputSender>(path);
}

} // namespace zav
