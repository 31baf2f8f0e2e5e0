#pragma once

#include "device/DeviceLink.h"
#include "device/HidBackend.h"
#include "device/SimulatedAdapter.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

typedef struct _UMockdevIoctlBase UMockdevIoctlBase;
typedef struct _UMockdevIoctlClient UMockdevIoctlClient;
typedef struct _UMockdevTestbed UMockdevTestbed;

namespace zav {

// One emulated /dev/hidrawN. umockdev hands every ioctl and write on the node to this object on its
// own worker thread; behind it sits a SimulatedAdapter plugged as the device's product, so the bytes
// that hidapi moves reach the same adapter logic the other tests drive directly.
class HidrawNode {
public:
    // How an output report came: HIDIOCSOUTPUT (SET_REPORT on the control pipe) or a plain write().
    enum class OutputPath { Ioctl, Write };
    struct Output {
        std::vector<std::uint8_t> bytes;
        OutputPath path;
    };

    HidrawNode(std::string devnode, std::uint16_t vendorId, std::uint16_t productId);
    ~HidrawNode();
    HidrawNode(const HidrawNode&) = delete;
    HidrawNode& operator=(const HidrawNode&) = delete;

    std::string devnode;
    std::string usbPath, hidrawPath; // in /sys, set by the testbed
    SimulatedAdapter adapter;
    UMockdevIoctlBase* handler = nullptr;

    std::atomic<int> opens{0}; // connections to the node
    // False makes the node refuse HIDIOCSOUTPUT as unknown (ENOTTY), as a kernel before 5.11 does.
    std::atomic<bool> outputIoctlKnown{true};
    std::vector<Output> outputs() const;

private:
    void handleIoctl(UMockdevIoctlClient* client);
    void answerOutput(UMockdevIoctlClient* client, std::vector<std::uint8_t> report, OutputPath path);
    void complete(UMockdevIoctlClient* client, bool done, long length);

    std::unique_ptr<HidDevice> device_; // the adapter's side of the cable

    mutable std::mutex mutex_;
    std::vector<Output> outputs_;
};

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
    HidrawNode& plugModel(int model) { return plug(kVendorId, productIdForModel(model)); }
    // The kernel's order: remove events from the hidraw node up to the USB device, then sysfs and the
    // node vanish, and what is still open on the node fails from then on.
    void unplug(HidrawNode& node);
    // While blocked, the device stays listed but its node cannot be opened, as when udev has not yet
    // granted the user access (the node is taken out of /dev: umockdev cannot refuse an open).
    void blockOpen(const HidrawNode& node, bool blocked);
    // A udev event for the node's hidraw device.
    void hidrawEvent(const HidrawNode& node, const char* action);

private:
    std::string rootPath(const std::string& path) const; // where the testbed keeps /dev/...

    UMockdevTestbed* testbed_ = nullptr;
    std::vector<std::unique_ptr<HidrawNode>> plugged_;
    int nextPort_ = 1;
};

} // namespace zav
