#pragma once

#include "device/Frames.h"
#include "device/HidBackend.h"
#include "device/ProfileImage.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace zav {

// The adapter as seen from the other side of the cable, for the demo and the tests. It can be
// plugged in as any of the three models or as a foreign device, keeps four banks per model, and
// commits a write only on "w". Tests can make it fail in precise ways and read back every frame.
class SimulatedAdapter : public HidBackend {
public:
    static constexpr int kModes = 4;
    using Banks = std::array<std::array<ProfileImage, kModes>, 3>; // [model - 1][mode]

    struct LoggedFrame {
        std::string path;
        std::array<std::uint8_t, kOutputReportSize> bytes{};
        std::uint8_t code() const { return bytes[frame::kCode]; }
        std::uint8_t param() const { return bytes[frame::kParam]; }
    };

    SimulatedAdapter();
    ~SimulatedAdapter() override;

    // HidBackend
    std::vector<HidDeviceInfo> enumerate() override;
    std::unique_ptr<HidDevice> open(const HidDeviceInfo& info) override;

    // What is plugged in. plug() replaces everything with one adapter of `model` (1..3).
    void plug(int model);
    void plugForeign(std::uint16_t vendorId, std::uint16_t productId);
    // Adds another device after the ones already plugged (enumeration order is plug order).
    void addDevice(std::uint16_t vendorId, std::uint16_t productId);
    void unplug();
    int pluggedModel() const; // model of the first adapter plugged, 0 when none

    // Identity of the attached mouse as the status reply reports it: vendor and product, high byte first.
    void setMouse(std::uint16_t vendorId, std::uint16_t productId);
    void setCapability(std::uint8_t capability);

    ProfileImage bank(int model, int mode) const;
    void setBank(int model, int mode, const ProfileImage& image);
    Banks banks() const;
    void setBanks(const Banks& banks);

    // Fault injection. Each fault stays until clearFaults().
    void refuseCommand(std::uint8_t code);         // its reply is not accepted
    void refuseDataChunk(int chunk);               // the send of write data frame `chunk` fails
    void dropReadChunkReply(int chunk);            // the reply to "s" `chunk` cannot be fetched
    void dropReadChunkReplyAfterCommit(int chunk); // the same, from the next committed write on
    void reportWrongSum(bool wrong);               // "t" and "v" answer a sum one too high
    void vanishAfterFrames(int frames);            // gone after this many more output reports
    void refuseOpen(bool refuse);                  // open() fails, as for a node without access rights
    void setShortReplies(std::size_t length);      // replies carry only this many bytes (0: full length)
    // On each commit the adapter rewrites the bank's bytes from `from` on with its own data, as
    // firmware that keeps something of its own after the records.
    void changeBankFromOnCommit(std::size_t from);
    void clearFaults();

    // Asked to keep every write before it is committed, with all banks as they would then be (the demo
    // keeps them in a file). When it answers false the adapter refuses "w" and keeps its banks, as a
    // flash that fails to program would.
    void setCommitListener(std::function<bool(const Banks&)> listener);

    // Time each report takes, to model USB timing in benchmarks.
    void setReportLatency(std::chrono::microseconds latency);

    // The log of every output report that reached a device, and the count of fetched replies.
    std::vector<LoggedFrame> frames() const;
    std::vector<std::uint8_t> frameCodes() const;
    int repliesFetched() const;
    void clearLog();
    void setLogging(bool enabled);

private:
    class Device;
    friend class Device;

    struct Port {
        HidDeviceInfo info;
        int model = 0; // 0 for a foreign device
    };

    bool receive(const std::string& path, std::span<const std::uint8_t> report);
    bool answer(const std::string& path, std::span<std::uint8_t> buffer);
    bool present(const std::string& path) const;
    void handleFrame(int model, std::span<const std::uint8_t> report);
    void setReply(std::uint8_t code, std::uint8_t param, bool accepted);
    void wait() const;

    mutable std::mutex mutex_;
    std::vector<Port> ports_;
    int nextPort_ = 0;
    Banks banks_{};
    std::array<std::uint8_t, 4> mouse_{};
    std::uint8_t capability_ = 0;

    // The adapter's protocol state.
    int readBank_ = 0;
    int writeBank_ = -1;     // bank of the write under way, -1 when none
    int chunksReceived_ = 0; // data frames since "u" started a write
    ProfileImage pending_{};
    InputReport reply_{};

    // Faults.
    std::set<std::uint8_t> refusedCodes_;
    std::set<int> refusedChunks_;
    std::set<int> droppedReadChunks_;
    std::set<int> droppedAfterCommit_;
    std::optional<int> pendingDrop_;
    bool wrongSum_ = false;
    std::optional<int> framesLeft_;
    bool refuseOpen_ = false;
    std::size_t shortReplies_ = 0;
    std::optional<std::size_t> changeFrom_;
    std::chrono::microseconds latency_{0};

    std::function<bool(const Banks&)> commitListener_;
    bool logging_ = true;
    std::vector<LoggedFrame> log_;
    int replies_ = 0;
};

} // namespace zav
