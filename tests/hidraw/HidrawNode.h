#pragma once

#include "device/HidBackend.h"
#include "device/SimulatedAdapter.h"

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

typedef struct _UMockdevIoctlBase UMockdevIoctlBase;
typedef struct _UMockdevIoctlClient UMockdevIoctlClient;

namespace zav {

// A vendor-defined collection: output report 5 of 32 bytes, input reports 1 and 5 of 64 bytes.
inline constexpr auto kAdapterReportDescriptor = std::to_array<std::uint8_t>({
    0x06, 0x00, 0xFF, // usage page (vendor defined 0xFF00)
    0x09, 0x01,       // usage 1
    0xA1, 0x01,       // collection (application)
    0x15, 0x00,       //   logical minimum 0
    0x26, 0xFF, 0x00, //   logical maximum 255
    0x75, 0x08,       //   report size 8
    0x85, 0x05,       //   report id 5
    0x09, 0x02,       //   usage 2
    0x95, 0x20,       //   report count 32
    0x91, 0x02,       //   output (data, variable, absolute)
    0x85, 0x01,       //   report id 1
    0x09, 0x03,       //   usage 3
    0x95, 0x40,       //   report count 64
    0x81, 0x02,       //   input (data, variable, absolute)
    0x85, 0x05,       //   report id 5
    0x09, 0x04,       //   usage 4
    0x95, 0x40,       //   report count 64
    0x81, 0x02,       //   input (data, variable, absolute)
    0xC0,             // end collection
});

// One emulated /dev/hidrawN. umockdev hands every ioctl and write on the node to this object on its
// own worker thread; behind it sits a SimulatedAdapter plugged as the device's product, so the bytes
// that hidapi moves reach the same adapter logic the other tests drive directly.
class HidrawNode {
public:
    // How an output report reached the node: HIDIOCSOUTPUT (SET_REPORT on the control pipe) or a
    // plain write() (the interrupt OUT endpoint where the interface has one).
    enum class OutputPath { Ioctl, Write };

    struct InputRequest {
        std::uint8_t reportId = 0;
        std::size_t length = 0;
    };

    HidrawNode(std::string devnode, std::uint16_t vendorId, std::uint16_t productId);
    ~HidrawNode();
    HidrawNode(const HidrawNode&) = delete;
    HidrawNode& operator=(const HidrawNode&) = delete;

    const std::string& devnode() const { return devnode_; }
    std::uint16_t vendorId() const { return vendorId_; }
    std::uint16_t productId() const { return productId_; }
    SimulatedAdapter& adapter() { return adapter_; }
    UMockdevIoctlBase* handler() const { return handler_; }

    int opens() const; // connections to the node, failed open attempts included
    std::vector<std::vector<std::uint8_t>> writes() const; // every report written, as written
    std::vector<OutputPath> outputPaths() const;           // one per entry of writes()
    std::vector<InputRequest> inputRequests() const;
    // False makes the node refuse HIDIOCSOUTPUT as unknown (ENOTTY), as a kernel before 5.11 does.
    void setOutputIoctlKnown(bool known);
    void clearLog();

    // The device has left the bus: from now on every request fails as the kernel fails it.
    void setGone();

    // Output report number `n` (1 = the next one) is held unanswered until release(); the writer
    // blocks meanwhile, as it would on a bus that is being pulled.
    void holdReport(int n);
    bool waitHeld(std::chrono::milliseconds timeout);
    void release();

private:
    static void onConnected(UMockdevIoctlBase* handler, UMockdevIoctlClient* client, void* self);
    static int onIoctl(UMockdevIoctlBase* handler, UMockdevIoctlClient* client, void* self);
    static int onWrite(UMockdevIoctlBase* handler, UMockdevIoctlClient* client, void* self);

    void handleIoctl(UMockdevIoctlClient* client);
    void handleOutput(UMockdevIoctlClient* client, std::vector<std::uint8_t> report, OutputPath path);
    void answerOutput(UMockdevIoctlClient* client, const std::vector<std::uint8_t>& report);
    bool gone() const;

    std::string devnode_;
    std::uint16_t vendorId_;
    std::uint16_t productId_;
    SimulatedAdapter adapter_;
    std::unique_ptr<HidDevice> device_; // the adapter's side of the cable
    UMockdevIoctlBase* handler_ = nullptr;

    mutable std::mutex mutex_;
    std::condition_variable heldChanged_;
    int opens_ = 0;
    bool gone_ = false;
    int writesSeen_ = 0;
    std::optional<int> holdAt_;
    UMockdevIoctlClient* held_ = nullptr;
    std::vector<std::uint8_t> heldReport_;
    bool outputIoctlKnown_ = true;
    std::vector<std::vector<std::uint8_t>> writes_;
    std::vector<OutputPath> paths_;
    std::vector<InputRequest> inputs_;
};

} // namespace zav
