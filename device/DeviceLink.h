#pragma once

#include "device/Frames.h"
#include "device/HidBackend.h"
#include "device/MouseClassifier.h"
#include "device/ProfileImage.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace zav {

inline constexpr std::uint16_t kVendorId = 0x2B7C;
inline constexpr int kModelCount = 3;

// The product identifier of model 1..3, and the model of a product identifier (0 when it is none of ours).
std::uint16_t productIdForModel(int model);
int modelForProductId(std::uint16_t productId);

// Outcome of one status poll, classified from that exchange's own reply.
struct StatusPoll {
    bool ok = false;
    MouseKind before = MouseKind::None;
    MouseKind after = MouseKind::None;
    bool changed() const { return before != after; }
};

// How a write with its check read ended.
enum class WriteOutcome {
    Complete,       // committed, and the records read back as sent
    Failed,         // refused, broken off or not committed
    Differs,        // committed, but the records read back differ from what was sent
    ReadBackFailed, // committed, but the check read did not arrive whole
    OtherModel,     // the adapter attached is no longer the model the write was gathered for
    NotKept,        // the bank could not be read or kept before the write: nothing was written
};

// What is attached: the node the link opened and the model it matched. Empty path: nothing open.
struct AdapterIdentity {
    std::string path;
    int model = 0;
    bool operator==(const AdapterIdentity&) const = default;
};

// The one object that talks to the adapter. Every exchange holds the link's mutex from its first
// frame to its last and reads only its own reply, so exchanges from the connect worker and from
// the window never interleave. State read by the window (model, mouse) is atomic, so reading it
// never waits for a transfer in progress.
class DeviceLink {
public:
    explicit DeviceLink(HidBackend& backend);
    ~DeviceLink();
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    // Closes the device left open by the previous pass, then opens the first adapter in
    // enumeration order. True on a match, and at once when the link is closing.
    bool OpenAndIdentify();

    bool SendCommand(std::uint8_t code, std::uint8_t param);

    // Reads bank `bank` of the matched model into its work page. The page changes only when all
    // chunks arrived and the adapter's sum matches what arrived.
    bool ReadBank(int bank);

    // Reads bank `bank` as the adapter stores it, without touching any page: for checking a write.
    std::optional<ProfileImage> FetchBank(int bank);

    // Reads bank `bank` as a work page should hold it, without touching any page, so that the
    // window can take it over on its own thread.
    std::optional<ProfileImage> ReadBankImage(int bank);
    // The same for a job gathered for `model`: nothing is read when another model is attached now.
    std::optional<ProfileImage> ReadBankImage(int model, int bank);

    // A write whose inputs were fixed when it was gathered: `image` goes into bank `bank` of an
    // adapter of `model`, then the bank is read back and its first `checkedBytes` (the records;
    // what follows them belongs to the adapter) compared with what was sent. The link stays locked
    // from the first frame to the check, so no other exchange comes between.
    WriteOutcome WriteImage(int model, int bank, const ProfileImage& image, std::size_t checkedBytes);
    // The same, after reading the bank as the adapter holds it and handing it to `keep` under the same
    // lock, so that what is kept is exactly what the write replaces. When the read fails or `keep`
    // answers false, nothing is written (NotKept).
    WriteOutcome WriteImageKeeping(int model, int bank, const ProfileImage& image, std::size_t checkedBytes,
                                   const std::function<bool(const ProfileImage& before)>& keep);

    // Writes the send page of the matched model into bank `bank`. True only when the adapter
    // confirmed the sum and committed.
    bool WriteBank(int bank);

    // Status poll of the pages: "q" with `param`, and on success the classification of its reply
    // with every own mouse known, and the capability byte stored.
    StatusPoll PollStatus(std::uint8_t param = 0);

    // "q" with `param` for its capability byte alone: the mouse is left to the poll, which tells
    // the pages when it changes.
    bool QueryCapability(std::uint8_t param);

    // The node and model of the last match; an empty path when no device is open.
    AdapterIdentity identity() const;

    int model() const { return model_.load(); }
    std::uint16_t vendorId() const { return vendorId_.load(); }
    std::uint16_t productId() const { return productId_.load(); }
    MouseKind mouseKind() const { return mouseKind_.load(); }
    bool ordinaryMouseSeen() const { return ordinaryMouseSeen_.load(); }
    // The capability byte of the last successful status exchange, if there was one.
    std::optional<std::uint8_t> capability() const;
    // True when the last pass found an adapter that could not be opened and matched none.
    bool openRefused() const { return openRefused_.load(); }
    bool isOpen() const;

    std::array<std::uint8_t, 65> inputReport() const; // copy of the last input report
    ProfileImage& workImage(int model);               // model 1..3
    ProfileImage& sendImage(int model);

    // A device change forgets the mouse until the next status reply.
    void resetMouseKind() { mouseKind_ = MouseKind::None; }

    void setClosing();
    bool closing() const { return closing_.load(); }

private:
    bool send(const OutputBuffer& out);
    bool fetch(InputReport& in);
    bool exchange(std::uint8_t code, std::uint8_t param, InputReport& in);
    std::optional<ProfileImage> fetchLocked(int bank);
    bool writeLocked(int bank, const ProfileImage& image);
    WriteOutcome writeCheckedLocked(int bank, const ProfileImage& image, std::size_t checkedBytes);
    void setPath(std::string path);
    void classify(const InputReport& in, OwnMouseSet set);

    HidBackend& backend_;
    mutable std::mutex exchangeMutex_; // held for a whole exchange
    std::unique_ptr<HidDevice> device_;
    OutputBuffer output_{}; // one buffer: unnamed payload bytes keep the last frame's contents

    mutable std::mutex replyMutex_; // guards lastReply_ and path_
    InputReport lastReply_{};
    std::string path_;

    std::atomic<int> model_{0};
    std::atomic<std::uint16_t> vendorId_{0};
    std::atomic<std::uint16_t> productId_{0};
    std::atomic<MouseKind> mouseKind_{MouseKind::None};
    std::atomic<bool> ordinaryMouseSeen_{false};
    std::atomic<int> capability_{-1};
    std::atomic<bool> openRefused_{false};
    std::atomic<bool> closing_{false};

    std::array<ProfileImage, 2 * kModelCount> pages_{}; // work, send for model 1, 2, 3
};

} // namespace zav
