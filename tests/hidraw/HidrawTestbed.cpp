#include "tests/hidraw/HidrawTestbed.h"

#include "device/DeviceLink.h"

#include <umockdev.h>

#include <glib/gstdio.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace zav {

namespace {

constexpr const char* kBusPath = "/devices/pci0000:00/0000:00:14.0/usb1";

std::string hex(unsigned value, int digits, bool upper) {
    char text[16];
    std::snprintf(text, sizeof text, upper ? "%0*X" : "%0*x", digits, value);
    return text;
}

} // namespace

HidrawTestbed::HidrawTestbed() : testbed_(umockdev_testbed_new()) {}

HidrawTestbed::~HidrawTestbed() {
    g_object_unref(testbed_);
    plugged_.clear();
}

std::string HidrawTestbed::unavailableReason() {
#if defined(__SANITIZE_THREAD__)
    // GLib is not instrumented, so every hand-over to umockdev's worker thread reads as a race.
    return "ThreadSanitizer cannot follow umockdev's worker thread";
#endif
    const char* preload = std::getenv("LD_PRELOAD");
    if (preload == nullptr || std::string(preload).find("libumockdev-preload") == std::string::npos) {
        return "not running under umockdev-wrapper";
    }
    UMockdevTestbed* probe = umockdev_testbed_new();
    GError* error = nullptr;
    const bool added =
        umockdev_testbed_add_from_string(probe, "P: /devices/zavora-probe\nE: SUBSYSTEM=zavora\n", &error);
    if (error != nullptr) {
        g_error_free(error);
    }
    // Seen through the preload, the probe's sysfs directory is where the kernel's would be.
    const bool visible = added && g_file_test("/sys/devices/zavora-probe", G_FILE_TEST_IS_DIR);
    g_object_unref(probe);
    return visible ? std::string() : "the umockdev testbed is not visible in /sys";
}

HidrawNode& HidrawTestbed::plugModel(int model) {
    return plug(kVendorId, productIdForModel(model));
}

HidrawNode& HidrawTestbed::plug(std::uint16_t vendorId, std::uint16_t productId) {
    const int port = nextPort_++;
    const int minor = port - 1;
    const std::string usb = std::string(kBusPath) + "/1-" + std::to_string(port);
    const std::string interface = usb + "/1-" + std::to_string(port) + ":1.0";
    const std::string hidName =
        "0003:" + hex(vendorId, 4, true) + ":" + hex(productId, 4, true) + "." + hex(port, 4, true);
    const std::string hid = interface + "/" + hidName;
    const std::string node = "hidraw" + std::to_string(minor);
    const std::string hidraw = hid + "/hidraw/" + node;

    std::string descriptor;
    for (std::uint8_t byte : kAdapterReportDescriptor) {
        descriptor += hex(byte, 2, true);
    }

    const std::string description =
        "P: " + usb + "\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\nA: idVendor=" + hex(vendorId, 4, false) +
        "\nA: idProduct=" + hex(productId, 4, false) +
        "\nA: bcdDevice=0100\nA: busnum=1\nA: devnum=" + std::to_string(port + 1) + "\n\n" +
        "P: " + interface +
        "\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_interface\nA: bInterfaceClass=03\nA: bInterfaceNumber=00\n\n" +
        "P: " + hid + "\nE: SUBSYSTEM=hid\nE: HID_ID=0003:0000" + hex(vendorId, 4, true) + ":0000" +
        hex(productId, 4, true) +
        "\nE: HID_NAME=Emulated HID device\nE: HID_UNIQ=\nH: report_descriptor=" + descriptor + "\n\n" +
        "P: " + hidraw + "\nE: SUBSYSTEM=hidraw\nE: DEVNAME=/dev/" + node +
        "\nA: dev=241:" + std::to_string(minor) + "\nL: device=../../../" + hidName + "\nN: " + node + "\n";

    GError* error = nullptr;
    auto emulated = std::make_unique<HidrawNode>("/dev/" + node, vendorId, productId);
    if (!umockdev_testbed_add_from_string(testbed_, description.c_str(), &error) ||
        !umockdev_testbed_attach_ioctl(testbed_, emulated->devnode().c_str(), emulated->handler(), &error)) {
        const std::string message = error != nullptr ? error->message : "unknown error";
        g_clear_error(&error);
        throw std::runtime_error("cannot emulate " + emulated->devnode() + ": " + message);
    }
    plugged_.push_back({std::move(emulated), "/sys" + usb, "/sys" + hidraw});
    return *plugged_.back().node;
}

void HidrawTestbed::unplug(HidrawNode& node) {
    const Plugged& p = find(node);
    const std::string hid = p.hidrawPath.substr(0, p.hidrawPath.rfind("/hidraw/"));
    const std::string interface = hid.substr(0, hid.rfind('/'));
    for (const std::string& path : {p.hidrawPath, hid, interface, p.usbPath}) {
        umockdev_testbed_uevent(testbed_, path.c_str(), "remove");
    }
    node.setGone();
    umockdev_testbed_remove_device(testbed_, p.usbPath.c_str());
    // umockdev keeps the node file; the kernel does not, so a new open finds nothing.
    g_unlink(rootPath(node.devnode()).c_str());
}

void HidrawTestbed::blockOpen(const HidrawNode& node, bool blocked) {
    const std::string open = rootPath(node.devnode());
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
    umockdev_testbed_uevent(testbed_, find(node).hidrawPath.c_str(), action);
}

void HidrawTestbed::usbEvent(const HidrawNode& node, const char* action) {
    umockdev_testbed_uevent(testbed_, find(node).usbPath.c_str(), action);
}

const HidrawTestbed::Plugged& HidrawTestbed::find(const HidrawNode& node) const {
    const auto it = std::find_if(plugged_.begin(), plugged_.end(),
                                 [&](const Plugged& p) { return p.node.get() == &node; });
    if (it == plugged_.end()) {
        throw std::logic_error("node not plugged into this testbed");
    }
    return *it;
}

} // namespace zav
