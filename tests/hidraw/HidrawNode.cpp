#include "tests/hidraw/HidrawNode.h"

#include "device/DeviceLink.h"

#include <umockdev.h>

#include <linux/hidraw.h>
#include <sys/ioctl.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <span>

namespace zav {

namespace {

struct DataUnref {
    void operator()(UMockdevIoctlData* data) const { g_object_unref(data); }
};
using DataRef = std::unique_ptr<UMockdevIoctlData, DataUnref>;

// The client's memory behind the ioctl argument, copied here; changes go back on completion.
DataRef resolveArg(UMockdevIoctlClient* client, std::size_t length) {
    GError* error = nullptr;
    UMockdevIoctlData* data =
        umockdev_ioctl_data_resolve(umockdev_ioctl_client_get_arg(client), 0, length, &error);
    if (error != nullptr) {
        g_error_free(error);
    }
    return DataRef(data);
}

bool isGetInputReport(unsigned long request) {
    return _IOC_TYPE(request) == 'H' && _IOC_NR(request) == _IOC_NR(HIDIOCGINPUT(0)) &&
           _IOC_DIR(request) == (_IOC_READ | _IOC_WRITE);
}

bool isSetOutputReport(unsigned long request) {
    return _IOC_TYPE(request) == 'H' && _IOC_NR(request) == _IOC_NR(HIDIOCSOUTPUT(0)) &&
           _IOC_DIR(request) == (_IOC_READ | _IOC_WRITE);
}

} // namespace

HidrawNode::HidrawNode(std::string devnode, std::uint16_t vendorId, std::uint16_t productId)
    : devnode_(std::move(devnode)), vendorId_(vendorId), productId_(productId) {
    const int model = vendorId == kVendorId ? modelForProductId(productId) : 0;
    if (model != 0) {
        adapter_.plug(model);
    } else {
        adapter_.plugForeign(vendorId, productId);
    }
    device_ = adapter_.open(adapter_.enumerate().front());

    handler_ = umockdev_ioctl_base_new();
    g_signal_connect(handler_, "client-connected", G_CALLBACK(&HidrawNode::onConnected), this);
    g_signal_connect(handler_, "handle-ioctl", G_CALLBACK(&HidrawNode::onIoctl), this);
    g_signal_connect(handler_, "handle-write", G_CALLBACK(&HidrawNode::onWrite), this);
}

HidrawNode::~HidrawNode() {
    release();
    g_signal_handlers_disconnect_by_data(handler_, this);
    g_object_unref(handler_);
}

int HidrawNode::opens() const {
    std::lock_guard lock(mutex_);
    return opens_;
}

std::vector<std::vector<std::uint8_t>> HidrawNode::writes() const {
    std::lock_guard lock(mutex_);
    return writes_;
}

std::vector<HidrawNode::OutputPath> HidrawNode::outputPaths() const {
    std::lock_guard lock(mutex_);
    return paths_;
}

void HidrawNode::setOutputIoctlKnown(bool known) {
    std::lock_guard lock(mutex_);
    outputIoctlKnown_ = known;
}

std::vector<HidrawNode::InputRequest> HidrawNode::inputRequests() const {
    std::lock_guard lock(mutex_);
    return inputs_;
}

void HidrawNode::clearLog() {
    std::lock_guard lock(mutex_);
    writes_.clear();
    paths_.clear();
    inputs_.clear();
    adapter_.clearLog();
}

void HidrawNode::setGone() {
    std::lock_guard lock(mutex_);
    gone_ = true;
}

void HidrawNode::holdReport(int n) {
    std::lock_guard lock(mutex_);
    holdAt_ = writesSeen_ + n;
}

bool HidrawNode::waitHeld(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return heldChanged_.wait_for(lock, timeout, [this] { return held_ != nullptr; });
}

void HidrawNode::release() {
    UMockdevIoctlClient* client = nullptr;
    std::vector<std::uint8_t> report;
    {
        std::lock_guard lock(mutex_);
        holdAt_.reset();
        std::swap(client, held_);
        std::swap(report, heldReport_);
    }
    if (client != nullptr) {
        // Completing is safe from any thread, and the report was copied when it came.
        answerOutput(client, report);
        g_object_unref(client);
    }
}

void HidrawNode::onConnected(UMockdevIoctlBase*, UMockdevIoctlClient*, void* self) {
    auto* node = static_cast<HidrawNode*>(self);
    std::lock_guard lock(node->mutex_);
    ++node->opens_;
}

int HidrawNode::onIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, void* self) {
    static_cast<HidrawNode*>(self)->handleIoctl(client);
    return TRUE;
}

int HidrawNode::onWrite(UMockdevIoctlBase*, UMockdevIoctlClient* client, void* self) {
    UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
    static_cast<HidrawNode*>(self)->handleOutput(
        client, std::vector<std::uint8_t>(arg->data, arg->data + arg->data_len), OutputPath::Write);
    return TRUE;
}

bool HidrawNode::gone() const {
    std::lock_guard lock(mutex_);
    return gone_;
}

void HidrawNode::handleIoctl(UMockdevIoctlClient* client) {
    if (gone()) {
        umockdev_ioctl_client_complete(client, -1, ENODEV);
        return;
    }
    const unsigned long request = umockdev_ioctl_client_get_request(client);
    const int descriptorSize = static_cast<int>(kAdapterReportDescriptor.size());

    if (request == HIDIOCGRDESCSIZE) {
        DataRef size = resolveArg(client, sizeof(int));
        if (!size) {
            umockdev_ioctl_client_complete(client, -1, EFAULT);
            return;
        }
        std::memcpy(size->data, &descriptorSize, sizeof descriptorSize);
        umockdev_ioctl_client_complete(client, 0, 0);
        return;
    }

    if (request == HIDIOCGRDESC) {
        DataRef descriptor = resolveArg(client, sizeof(hidraw_report_descriptor));
        if (!descriptor) {
            umockdev_ioctl_client_complete(client, -1, EFAULT);
            return;
        }
        // As the kernel does: the caller says how much it wants in the size field.
        auto* out = reinterpret_cast<hidraw_report_descriptor*>(descriptor->data);
        if (out->size > HID_MAX_DESCRIPTOR_SIZE - 1) {
            umockdev_ioctl_client_complete(client, -1, EINVAL);
            return;
        }
        const std::size_t length = std::min<std::size_t>(out->size, kAdapterReportDescriptor.size());
        std::copy_n(kAdapterReportDescriptor.begin(), length, out->value);
        umockdev_ioctl_client_complete(client, 0, 0);
        return;
    }

    if (isGetInputReport(request)) {
        const std::size_t length = _IOC_SIZE(request);
        DataRef buffer = resolveArg(client, length);
        if (!buffer || length == 0) {
            umockdev_ioctl_client_complete(client, -1, EFAULT);
            return;
        }
        {
            std::lock_guard lock(mutex_);
            inputs_.push_back({buffer->data[0], length});
        }
        const bool answered = device_->getInputReport(std::span(buffer->data, length));
        if (answered) {
            umockdev_ioctl_client_complete(client, static_cast<long>(length), 0);
        } else {
            umockdev_ioctl_client_complete(client, -1, adapter_.enumerate().empty() ? ENODEV : EIO);
        }
        return;
    }

    if (isSetOutputReport(request)) {
        bool known = false;
        {
            std::lock_guard lock(mutex_);
            known = outputIoctlKnown_;
        }
        const std::size_t length = _IOC_SIZE(request);
        if (!known) {
            umockdev_ioctl_client_complete(client, -1, ENOTTY);
            return;
        }
        DataRef buffer = resolveArg(client, length);
        if (!buffer || length == 0) {
            umockdev_ioctl_client_complete(client, -1, EFAULT);
            return;
        }
        handleOutput(client, std::vector<std::uint8_t>(buffer->data, buffer->data + length),
                     OutputPath::Ioctl);
        return;
    }

    umockdev_ioctl_client_complete(client, -1, EINVAL);
}

void HidrawNode::handleOutput(UMockdevIoctlClient* client, std::vector<std::uint8_t> report,
                              OutputPath path) {
    {
        std::lock_guard lock(mutex_);
        writes_.push_back(report);
        paths_.push_back(path);
        ++writesSeen_;
        if (holdAt_ && writesSeen_ == *holdAt_) {
            held_ = static_cast<UMockdevIoctlClient*>(g_object_ref(client));
            heldReport_ = std::move(report);
            heldChanged_.notify_all();
            return;
        }
    }
    answerOutput(client, report);
}

void HidrawNode::answerOutput(UMockdevIoctlClient* client, const std::vector<std::uint8_t>& report) {
    if (gone()) {
        umockdev_ioctl_client_complete(client, -1, ENODEV);
        return;
    }
    const std::size_t length = report.size();
    if (device_->setOutputReport(std::span<const std::uint8_t>(report.data(), length))) {
        umockdev_ioctl_client_complete(client, static_cast<long>(length), 0);
    } else {
        umockdev_ioctl_client_complete(client, -1, adapter_.enumerate().empty() ? ENODEV : EIO);
    }
}

} // namespace zav
