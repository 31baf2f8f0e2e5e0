#pragma once

#include "tests/hidraw/HidrawNode.h"

#include <memory>
#include <string>
#include <vector>

typedef struct _UMockdevTestbed UMockdevTestbed;

namespace zav {

// An emulated USB bus: each plug() adds a USB device, its HID interface, its HID device with the
// adapter's report descriptor and a hidraw node, as sysfs and udev show them, and hangs a HidrawNode
// on the node. One testbed at a time, in a process run under umockdev-wrapper.
class HidrawTestbed {
public:
    HidrawTestbed();
    ~HidrawTestbed();
    HidrawTestbed(const HidrawTestbed&) = delete;
    HidrawTestbed& operator=(const HidrawTestbed&) = delete;

    // Empty when the testbed works in this process, else why it does not.
    static std::string unavailableReason();

    HidrawNode& plug(std::uint16_t vendorId, std::uint16_t productId);
    HidrawNode& plugModel(int model);
    // The kernel's order: remove events from the hidraw node up to the USB device, then sysfs and the
    // node vanish, and what is still open on the node fails from then on.
    void unplug(HidrawNode& node);
    // While blocked, the device stays listed but its node cannot be opened, as when udev has not yet
    // granted the user access (the node is taken out of /dev: umockdev cannot refuse an open).
    void blockOpen(const HidrawNode& node, bool blocked);
    // A udev event for the node's hidraw device, or for its USB device.
    void hidrawEvent(const HidrawNode& node, const char* action);
    void usbEvent(const HidrawNode& node, const char* action);

private:
    struct Plugged {
        std::unique_ptr<HidrawNode> node;
        std::string usbPath;    // /sys/devices/.../1-N
        std::string hidrawPath; // /sys/devices/.../hidraw/hidrawM
    };
    const Plugged& find(const HidrawNode& node) const;
    std::string rootPath(const std::string& path) const; // where the testbed keeps /dev/...

    UMockdevTestbed* testbed_ = nullptr;
    std::vector<Plugged> plugged_;
    int nextPort_ = 1;
};

} // namespace zav
