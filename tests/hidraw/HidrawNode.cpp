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
    g_clear_error(&error);
    return DataRef(data);
}

// HIDIOCGINPUT and HIDIOCSOUTPUT carry their length in the request.
bool isRequest(unsigned long request, unsigned long kind) {
    return _IOC_TYPE(request) == 'H' && _IOC_NR(request) == _IOC_NR(kind) &&
           _IOC_DIR(request) == (_IOC_READ | _IOC_WRITE);
}

} // namespace

HidrawNode::HidrawNode(std::string devnode, std::uint16_t vendorId, std::uint16_t productId)
    : devnode_(std::move(devnode)) {
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
    g_signal_handlers_disconnect_by_data(handler_, this);
    g_object_unref(handler_);
}

int HidrawNode::opens() const {
    std::lock_guard lock(mutex_);
    return opens_;
}

std::vector<HidrawNode::Output> HidrawNode::outputs() const {
    std::lock_guard lock(mutex_);
    return outputs_;
}

std::vector<HidrawNode::InputRequest> HidrawNode::inputRequests() const {
    std::lock_guard lock(mutex_);
    return inputs_;
}

void HidrawNode::setOutputIoctlKnown(bool known) {
    std::lock_guard lock(mutex_);
    outputIoctlKnown_ = known;
}

void HidrawNode::clearLog() {
    std::lock_guard lock(mutex_);
    outputs_.clear();
    inputs_.clear();
    adapter_.clearLog();
}

void HidrawNode::setGone() {
    std::lock_guard lock(mutex_);
    gone_ = true;
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
    static_cast<HidrawNode*>(self)->answerOutput(
        client, std::vector<std::uint8_t>(arg->data, arg->data + arg->data_len), OutputPath::Write);
    return TRUE;
}

// A request the adapter did not answer fails as the kernel fails it: ENODEV once the device is gone.
void HidrawNode::complete(UMockdevIoctlClient* client, bool done, long length) {
    if (done) {
        umockdev_ioctl_client_complete(client, length, 0);
    } else {
        umockdev_ioctl_client_complete(client, -1, adapter_.enumerate().empty() ? ENODEV : EIO);
    }
}

void HidrawNode::handleIoctl(UMockdevIoctlClient* client) {
    const unsigned long request = umockdev_ioctl_client_get_request(client);
    bool gone = false;
    bool ioctlKnown = false;
    {
        std::lock_guard lock(mutex_);
        gone = gone_;
        ioctlKnown = outputIoctlKnown_;
    }
    if (gone) {
        umockdev_ioctl_client_complete(client, -1, ENODEV);
    } else if (request == HIDIOCGRDESCSIZE) {
        const int size = static_cast<int>(kAdapterReportDescriptor.size());
        DataRef arg = resolveArg(client, sizeof size);
        std::memcpy(arg->data, &size, sizeof size);
        umockdev_ioctl_client_complete(client, 0, 0);
    } else if (isRequest(request, HIDIOCGINPUT(0))) {
        const std::size_t length = _IOC_SIZE(request);
        DataRef buffer = resolveArg(client, length);
        {
            std::lock_guard lock(mutex_);
            inputs_.push_back({buffer->data[0], length});
        }
        complete(client, device_->getInputReport(std::span(buffer->data, length)), static_cast<long>(length));
    } else if (isRequest(request, HIDIOCSOUTPUT(0)) && ioctlKnown) {
        DataRef buffer = resolveArg(client, _IOC_SIZE(request));
        answerOutput(client, std::vector<std::uint8_t>(buffer->data, buffer->data + _IOC_SIZE(request)),
                     OutputPath::Ioctl);
    } else {
        umockdev_ioctl_client_complete(client, -1, isRequest(request, HIDIOCSOUTPUT(0)) ? ENOTTY : EINVAL);
    }
}

void HidrawNode::answerOutput(UMockdevIoctlClient* client, std::vector<std::uint8_t> report,
                              OutputPath path) {
    bool gone = false;
    {
        std::lock_guard lock(mutex_);
        gone = gone_;
        outputs_.push_back({report, path});
    }
    if (gone) {
        umockdev_ioctl_client_complete(client, -1, ENODEV);
        return;
    }
    complete(client, device_->setOutputReport(report), static_cast<long>(report.size()));
}

} // namespace zav
