#pragma once

#include "device/DeviceLink.h"
#include "device/SimulatedAdapter.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

typedef struct _UMockdevIoctlBase UMockdevIoctlBase;
typedef struct _UMockdevIoctlClient UMockdevIoctlClient;
typedef struct _UMockdevTestbed UMockdevTestbed;

namespace zav {

// One emulated /dev/hidrawN: umockdev hands its ioctls and writes, on its own worker thread, to a
// SimulatedAdapter plugged as the device's product.
class HidrawNode {
public:
    enum class OutputPath { Ioctl, Write }; // HIDIOCSOUTPUT (SET_REPORT) or a plain write()
    struct Output {
        std::vector<std::uint8_t> bytes;
        OutputPath path;
    };

    HidrawNode(std::string devnode, std::uint16_t vendorId, std::uint16_t productId);
    ~HidrawNode();
    HidrawNode(const HidrawNode&) = delete;
    HidrawNode& operator=(const HidrawNode&) = delete;

    std::string devnode, usbPath, hidrawPath;
    SimulatedAdapter adapter;
    UMockdevIoctlBase* handler = nullptr;
    std::atomic<int> opens{0};
    // False refuses HIDIOCSOUTPUT as unknown (ENOTTY), as a kernel before 5.11 does.
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

// An emulated USB bus in a process run under umockdev-wrapper: each plug() adds the USB device, its HID
// interface, HID device and hidraw node as sysfs and udev show them.
class HidrawTestbed {
public:
    HidrawTestbed();
    ~HidrawTestbed();
    HidrawTestbed(const HidrawTestbed&) = delete;
    HidrawTestbed& operator=(const HidrawTestbed&) = delete;

    static std::string unavailableReason(); // empty when the testbed works here

    HidrawNode& plug(std::uint16_t vendorId, std::uint16_t productId);
    HidrawNode& plugModel(int model) { return plug(kVendorId, productIdForModel(model)); }
    // Remove events from the node up to the USB device, then what is still open fails.
    void unplug(HidrawNode& node);
    // Listed but not openable, as before udev grants access (umockdev cannot refuse an open).
    void blockOpen(const HidrawNode& node, bool blocked);
    void hidrawEvent(const HidrawNode& node, const char* action);

private:
    std::string rootPath(const std::string& path) const;

    UMockdevTestbed* testbed_ = nullptr;
    std::vector<std::unique_ptr<HidrawNode>> plugged_;
    int nextPort_ = 1;
};

} // namespace zav
