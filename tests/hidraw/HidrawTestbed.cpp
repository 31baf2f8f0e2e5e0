#include "tests/hidraw/HidrawTestbed.h"

#include <umockdev.h>

#include <glib/gstdio.h>
#include <linux/hidraw.h>
#include <sys/ioctl.h>

#include <array>
#include <cstring>
#include <span>
#include <stdexcept>

namespace zav {

namespace {

// A vendor-defined collection: output report 5 of 32 bytes, input reports 1 and 5 of 64 bytes.
constexpr auto kAdapterReportDescriptor = std::to_array<std::uint8_t>({
    0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75,
    0x08, 0x85, 0x05, 0x09, 0x02, 0x95, 0x20, 0x91, 0x02, 0x85, 0x01, 0x09, 0x03,
    0x95, 0x40, 0x81, 0x02, 0x85, 0x05, 0x09, 0x04, 0x95, 0x40, 0x81, 0x02, 0xC0,
});

constexpr const char* kBusPath = "/devices/pci0000:00/0000:00:14.0/usb1";

std::string hex(unsigned value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    return text;
}

using DataRef = std::unique_ptr<UMockdevIoctlData, decltype(&g_object_unref)>;

DataRef resolveArg(UMockdevIoctlClient* client, std::size_t length) {
    return DataRef(umockdev_ioctl_data_resolve(umockdev_ioctl_client_get_arg(client), 0, length, nullptr),
                   &g_object_unref);
}

bool isRequest(unsigned long request, unsigned long kind) {
    return _IOC_TYPE(request) == 'H' && _IOC_NR(request) == _IOC_NR(kind) &&
           _IOC_DIR(request) == (_IOC_READ | _IOC_WRITE);
}

} // namespace

HidrawNode::HidrawNode(std::string node, std::uint16_t vendorId, std::uint16_t productId)
    : devnode(std::move(node)) {
    if (const int model = vendorId == kVendorId ? modelForProductId(productId) : 0; model != 0) {
        adapter.plug(model);
    } else {
        adapter.plugForeign(vendorId, productId);
    }
    device_ = adapter.open(adapter.enumerate().front());
    handler = umockdev_ioctl_base_new();
    g_signal_connect(
        handler, "client-connected",
        G_CALLBACK(+[](UMockdevIoctlBase*, UMockdevIoctlClient*, HidrawNode* self) { ++self->opens; }), this);
    g_signal_connect(handler, "handle-ioctl",
                     G_CALLBACK(+[](UMockdevIoctlBase*, UMockdevIoctlClient* client, HidrawNode* self) {
                         self->handleIoctl(client);
                         return TRUE;
                     }),
                     this);
    g_signal_connect(
        handler, "handle-write",
        G_CALLBACK(+[](UMockdevIoctlBase*, UMockdevIoctlClient* client, HidrawNode* self) {
            UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
            self->answerOutput(client, {arg->data, arg->data + arg->data_len}, OutputPath::Write);
            return TRUE;
        }),
        this);
}

HidrawNode::~HidrawNode() {
    g_signal_handlers_disconnect_by_data(handler, this);
    g_object_unref(handler);
}

std::vector<HidrawNode::Output> HidrawNode::outputs() const {
    std::lock_guard lock(mutex_);
    return outputs_;
}

// Unanswered requests fail as the kernel fails them: ENODEV once the device is gone.
void HidrawNode::complete(UMockdevIoctlClient* client, bool done, long length) {
    umockdev_ioctl_client_complete(client, done ? length : -1,
                                   done                          ? 0
                                   : adapter.enumerate().empty() ? ENODEV
                                                                 : EIO);
}

void HidrawNode::handleIoctl(UMockdevIoctlClient* client) {
    const unsigned long request = umockdev_ioctl_client_get_request(client);
    const bool ioctlKnown = outputIoctlKnown;
    if (request == HIDIOCGRDESCSIZE) {
        const int size = static_cast<int>(kAdapterReportDescriptor.size());
        DataRef arg = resolveArg(client, sizeof size);
        std::memcpy(arg->data, &size, sizeof size);
        umockdev_ioctl_client_complete(client, 0, 0);
    } else if (isRequest(request, HIDIOCGINPUT(0))) {
        const std::size_t length = _IOC_SIZE(request);
        DataRef buffer = resolveArg(client, length);
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
    {
        std::lock_guard lock(mutex_);
        outputs_.push_back({report, path});
    }
    complete(client, device_->setOutputReport(report), static_cast<long>(report.size()));
}

HidrawTestbed::HidrawTestbed() : testbed_(umockdev_testbed_new()) {}

HidrawTestbed::~HidrawTestbed() {
    g_object_unref(testbed_);
}

std::string HidrawTestbed::unavailableReason() {
#if defined(__SANITIZE_THREAD__)
    // GLib is not instrumented, so every hand-over to umockdev's worker thread reads as a race.
    return "ThreadSanitizer cannot follow umockdev's worker thread";
#endif
    const char* preload = std::getenv("LD_PRELOAD");
    return preload && std::strstr(preload, "libumockdev-preload") ? "" : "not running under umockdev-wrapper";
}

HidrawNode& HidrawTestbed::plug(std::uint16_t vendorId, std::uint16_t productId) {
    const int port = nextPort_++;
    const std::string usb = std::string(kBusPath) + "/1-" + std::to_string(port);
    const std::string interface = usb + "/1-" + std::to_string(port) + ":1.0";
    const std::string hidName = "0003:" + hex(vendorId, 4) + ":" + hex(productId, 4) + "." + hex(port, 4);
    const std::string hid = interface + "/" + hidName;
    const std::string node = "hidraw" + std::to_string(port - 1);
    const std::string hidraw = hid + "/hidraw/" + node;

    std::string descriptor;
    for (std::uint8_t byte : kAdapterReportDescriptor) {
        descriptor += hex(byte, 2);
    }

    const std::string description =
        "P: " + usb + "\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\nA: idVendor=" + hex(vendorId, 4) +
        "\nA: idProduct=" + hex(productId, 4) +
        "\nA: bcdDevice=0100\nA: busnum=1\nA: devnum=" + std::to_string(port + 1) + "\n\n" +
        "P: " + interface +
        "\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_interface\nA: bInterfaceClass=03\nA: bInterfaceNumber=00\n\n" +
        "P: " + hid + "\nE: SUBSYSTEM=hid\nE: HID_ID=0003:0000" + hex(vendorId, 4) + ":0000" +
        hex(productId, 4) +
        "\nE: HID_NAME=Emulated HID device\nE: HID_UNIQ=\nH: report_descriptor=" + descriptor + "\n\n" +
        "P: " + hidraw + "\nE: SUBSYSTEM=hidraw\nE: DEVNAME=/dev/" + node +
        "\nA: dev=241:" + std::to_string(port - 1) + "\nL: device=../../../" + hidName + "\nN: " + node +
        "\n";

    GError* error = nullptr;
    auto emulated = std::make_unique<HidrawNode>("/dev/" + node, vendorId, productId);
    if (!umockdev_testbed_add_from_string(testbed_, description.c_str(), &error) ||
        !umockdev_testbed_attach_ioctl(testbed_, emulated->devnode.c_str(), emulated->handler, &error)) {
        const std::string message = error != nullptr ? error->message : "unknown error";
        g_clear_error(&error);
        throw std::runtime_error("cannot emulate " + emulated->devnode + ": " + message);
    }
    emulated->usbPath = "/sys" + usb;
    emulated->hidrawPath = "/sys" + hidraw;
    plugged_.push_back(std::move(emulated));
    return *plugged_.back();
}

void HidrawTestbed::unplug(HidrawNode& node) {
    const std::string hid = node.hidrawPath.substr(0, node.hidrawPath.rfind("/hidraw/"));
    const std::string interface = hid.substr(0, hid.rfind('/'));
    for (const std::string& path : {node.hidrawPath, hid, interface, node.usbPath}) {
        umockdev_testbed_uevent(testbed_, path.c_str(), "remove");
    }
    node.adapter.unplug();
    umockdev_testbed_remove_device(testbed_, node.usbPath.c_str());
    // umockdev keeps the node file; the kernel does not, so a new open finds nothing.
    g_unlink(rootPath(node.devnode).c_str());
}

void HidrawTestbed::blockOpen(const HidrawNode& node, bool blocked) {
    const std::string open = rootPath(node.devnode);
    const std::string hidden = open + ".blocked";
    g_rename((blocked ? open : hidden).c_str(), (blocked ? hidden : open).c_str());
}

std::string HidrawTestbed::rootPath(const std::string& path) const {
    gchar* root = umockdev_testbed_get_root_dir(testbed_);
    std::string result = std::string(root) + path;
    g_free(root);
    return result;
}

void HidrawTestbed::hidrawEvent(const HidrawNode& node, const char* action) {
    umockdev_testbed_uevent(testbed_, node.hidrawPath.c_str(), action);
}

} // namespace zav
