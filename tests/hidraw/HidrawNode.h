#pragma once

#include "device/HidBackend.h"
#include "device/SimulatedAdapter.h"

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

typedef struct _UMockdevIoctlBase UMockdevIoctlBase;
typedef struct _UMockdevIoctlClient UMockdevIoctlClient;

namespace zav {

// A vendor-defined collection: output report 5 of 32 bytes, input reports 1 and 5 of 64 bytes.
inline constexpr auto kAdapterReportDescriptor = std::to_array<std::uint8_t>({
    0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75,
    0x08, 0x85, 0x05, 0x09, 0x02, 0x95, 0x20, 0x91, 0x02, 0x85, 0x01, 0x09, 0x03,
    0x95, 0x40, 0x81, 0x02, 0x85, 0x05, 0x09, 0x04, 0x95, 0x40, 0x81, 0x02, 0xC0,
});

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
    struct InputRequest {
        std::uint8_t reportId = 0;
        std::size_t length = 0;
    };

    HidrawNode(std::string devnode, std::uint16_t vendorId, std::uint16_t productId);
    ~HidrawNode();
    HidrawNode(const HidrawNode&) = delete;
    HidrawNode& operator=(const HidrawNode&) = delete;

    const std::string& devnode() const { return devnode_; }
    SimulatedAdapter& adapter() { return adapter_; }
    UMockdevIoctlBase* handler() const { return handler_; }

    int opens() const; // connections to the node
    std::vector<Output> outputs() const;
    std::vector<InputRequest> inputRequests() const;
    // False makes the node refuse HIDIOCSOUTPUT as unknown (ENOTTY), as a kernel before 5.11 does.
    void setOutputIoctlKnown(bool known);
    void clearLog();
    // The device has left the bus: from now on every request fails as the kernel fails it.
    void setGone();

private:
    static void onConnected(UMockdevIoctlBase*, UMockdevIoctlClient*, void* self);
    static int onIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, void* self);
    static int onWrite(UMockdevIoctlBase*, UMockdevIoctlClient* client, void* self);
    void handleIoctl(UMockdevIoctlClient* client);
    void answerOutput(UMockdevIoctlClient* client, std::vector<std::uint8_t> report, OutputPath path);
    void complete(UMockdevIoctlClient* client, bool done, long length);

    std::string devnode_;
    SimulatedAdapter adapter_;
    std::unique_ptr<HidDevice> device_; // the adapter's side of the cable
    UMockdevIoctlBase* handler_ = nullptr;

    mutable std::mutex mutex_;
    int opens_ = 0;
    bool gone_ = false;
    bool outputIoctlKnown_ = true;
    std::vector<Output> outputs_;
    std::vector<InputRequest> inputs_;
};

} // namespace zav
