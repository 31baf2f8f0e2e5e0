#include "device/SimulatedAdapter.h"

#include "device/DeviceLink.h"

#include <algorithm>
#include <thread>

namespace zav {

namespace {

bool framed(std::span<const std::uint8_t> report) {
    return report.size() == kOutputReportSize && report[frame::kReportId] == kOutputReportId &&
           report[frame::kSyncA] == frame::kSyncAValue && report[frame::kSyncB] == frame::kSyncBValue &&
           static_cast<std::uint8_t>(report[frame::kCode] + report[frame::kCodeInv]) == 0xFF;
}

void putSum(InputReport& reply, std::uint32_t sum) {
    for (std::size_t i = 0; i < 4; ++i) {
        reply[reply::kSum + i] = static_cast<std::uint8_t>(sum >> (8 * i));
    }
}

} // namespace

// The handle a DeviceLink holds. It forwards to the adapter, which must outlive it.
class SimulatedAdapter::Device : public HidDevice {
public:
    Device(SimulatedAdapter& adapter, std::string path) : adapter_(adapter), path_(std::move(path)) {}

    bool setOutputReport(std::span<const std::uint8_t> report) override {
        return adapter_.receive(path_, report);
    }
    bool getInputReport(std::span<std::uint8_t> buffer) override { return adapter_.answer(path_, buffer); }

private:
    SimulatedAdapter& adapter_;
    std::string path_;
};

SimulatedAdapter::SimulatedAdapter() = default;
SimulatedAdapter::~SimulatedAdapter() = default;

std::vector<HidDeviceInfo> SimulatedAdapter::enumerate() {
    std::lock_guard lock(mutex_);
    std::vector<HidDeviceInfo> result;
    for (const Port& port : ports_) {
        result.push_back(port.info);
    }
    return result;
}

std::unique_ptr<HidDevice> SimulatedAdapter::open(const HidDeviceInfo& info) {
    std::lock_guard lock(mutex_);
    if (refuseOpen_) {
        return nullptr;
    }
    const bool known = std::any_of(ports_.begin(), ports_.end(),
                                   [&](const Port& port) { return port.info.path == info.path; });
    if (!known) {
        return nullptr;
    }
    return std::make_unique<Device>(*this, info.path);
}

void SimulatedAdapter::plug(int model) {
    {
        std::lock_guard lock(mutex_);
        ports_.clear();
        writeBank_ = -1;
    }
    addDevice(kVendorId, productIdForModel(model));
}

void SimulatedAdapter::plugForeign(std::uint16_t vendorId, std::uint16_t productId) {
    {
        std::lock_guard lock(mutex_);
        ports_.clear();
    }
    addDevice(vendorId, productId);
}

void SimulatedAdapter::addDevice(std::uint16_t vendorId, std::uint16_t productId) {
    std::lock_guard lock(mutex_);
    Port port;
    port.info.path = "/dev/simulated-hidraw" + std::to_string(nextPort_++);
    port.info.vendorId = vendorId;
    port.info.productId = productId;
    port.model = vendorId == kVendorId ? modelForProductId(productId) : 0;
    ports_.push_back(port);
}

void SimulatedAdapter::unplug() {
    std::lock_guard lock(mutex_);
    ports_.clear();
    writeBank_ = -1;
}

int SimulatedAdapter::pluggedModel() const {
    std::lock_guard lock(mutex_);
    for (const Port& port : ports_) {
        if (port.model != 0) {
            return port.model;
        }
    }
    return 0;
}

void SimulatedAdapter::setMouse(std::uint16_t vendorId, std::uint16_t productId) {
    std::lock_guard lock(mutex_);
    mouse_ = {static_cast<std::uint8_t>(vendorId >> 8), static_cast<std::uint8_t>(vendorId),
              static_cast<std::uint8_t>(productId >> 8), static_cast<std::uint8_t>(productId)};
}

void SimulatedAdapter::setCapability(std::uint8_t capability) {
    std::lock_guard lock(mutex_);
    capability_ = capability;
}

ProfileImage SimulatedAdapter::bank(int model, int mode) const {
    std::lock_guard lock(mutex_);
    return banks_.at(static_cast<std::size_t>(model - 1)).at(static_cast<std::size_t>(mode));
}

void SimulatedAdapter::setBank(int model, int mode, const ProfileImage& image) {
    std::lock_guard lock(mutex_);
    banks_.at(static_cast<std::size_t>(model - 1)).at(static_cast<std::size_t>(mode)) = image;
}

SimulatedAdapter::Banks SimulatedAdapter::banks() const {
    std::lock_guard lock(mutex_);
    return banks_;
}

void SimulatedAdapter::setBanks(const Banks& banks) {
    std::lock_guard lock(mutex_);
    banks_ = banks;
}

void SimulatedAdapter::refuseCommand(std::uint8_t code) {
    std::lock_guard lock(mutex_);
    refusedCodes_.insert(code);
}

void SimulatedAdapter::refuseDataChunk(int chunk) {
    std::lock_guard lock(mutex_);
    refusedChunks_.insert(chunk);
}

void SimulatedAdapter::dropReadChunkReply(int chunk) {
    std::lock_guard lock(mutex_);
    droppedReadChunks_.insert(chunk);
}

void SimulatedAdapter::dropReadChunkReplyAfterCommit(int chunk) {
    std::lock_guard lock(mutex_);
    droppedAfterCommit_.insert(chunk);
}

void SimulatedAdapter::reportWrongSum(bool wrong) {
    std::lock_guard lock(mutex_);
    wrongSum_ = wrong;
}

void SimulatedAdapter::vanishAfterFrames(int frames) {
    std::lock_guard lock(mutex_);
    framesLeft_ = frames;
}

void SimulatedAdapter::refuseOpen(bool refuse) {
    std::lock_guard lock(mutex_);
    refuseOpen_ = refuse;
}

void SimulatedAdapter::setShortReplies(std::size_t length) {
    std::lock_guard lock(mutex_);
    shortReplies_ = length;
}

void SimulatedAdapter::clearFaults() {
    std::lock_guard lock(mutex_);
    refusedCodes_.clear();
    refusedChunks_.clear();
    droppedReadChunks_.clear();
    droppedAfterCommit_.clear();
    pendingDrop_.reset();
    wrongSum_ = false;
    framesLeft_.reset();
    refuseOpen_ = false;
    shortReplies_ = 0;
    changeFrom_.reset();
}

void SimulatedAdapter::changeBankFromOnCommit(std::size_t from) {
    std::lock_guard lock(mutex_);
    changeFrom_ = from;
}

void SimulatedAdapter::setReportLatency(std::chrono::microseconds latency) {
    std::lock_guard lock(mutex_);
    latency_ = latency;
}

void SimulatedAdapter::setCommitListener(std::function<bool(const Banks&)> listener) {
    std::lock_guard lock(mutex_);
    commitListener_ = std::move(listener);
}

std::vector<SimulatedAdapter::LoggedFrame> SimulatedAdapter::frames() const {
    std::lock_guard lock(mutex_);
    return log_;
}

std::vector<std::uint8_t> SimulatedAdapter::frameCodes() const {
    std::lock_guard lock(mutex_);
    std::vector<std::uint8_t> codes;
    codes.reserve(log_.size());
    for (const LoggedFrame& f : log_) {
        codes.push_back(f.code());
    }
    return codes;
}

int SimulatedAdapter::repliesFetched() const {
    std::lock_guard lock(mutex_);
    return replies_;
}

void SimulatedAdapter::clearLog() {
    std::lock_guard lock(mutex_);
    log_.clear();
    replies_ = 0;
}

void SimulatedAdapter::setLogging(bool enabled) {
    std::lock_guard lock(mutex_);
    logging_ = enabled;
}

bool SimulatedAdapter::present(const std::string& path) const {
    return std::any_of(ports_.begin(), ports_.end(),
                       [&](const Port& port) { return port.info.path == path; });
}

void SimulatedAdapter::wait() const {
    std::chrono::microseconds latency;
    {
        std::lock_guard lock(mutex_);
        latency = latency_;
    }
    if (latency.count() <= 0) {
        return;
    }
    // Sleep most of it and spin the rest: a plain sleep overshoots by far more than a benchmark can bear.
    const auto deadline = std::chrono::steady_clock::now() + latency;
    constexpr auto kSpin = std::chrono::microseconds(200);
    if (latency > kSpin) {
        std::this_thread::sleep_for(latency - kSpin);
    }
    while (std::chrono::steady_clock::now() < deadline) {
    }
}

bool SimulatedAdapter::receive(const std::string& path, std::span<const std::uint8_t> report) {
    wait();
    std::lock_guard lock(mutex_);
    if (!present(path)) {
        return false;
    }
    if (framesLeft_) {
        if (*framesLeft_ <= 0) {
            ports_.clear();
            writeBank_ = -1;
            return false;
        }
        --*framesLeft_;
    }
    int model = 0;
    for (const Port& port : ports_) {
        if (port.info.path == path) {
            model = port.model;
        }
    }
    if (report.size() >= kOutputReportSize && report[frame::kCode] == cmd::kWrite && writeBank_ >= 0 &&
        chunksReceived_ < kWriteChunks && report[frame::kParam] == chunksReceived_ &&
        refusedChunks_.count(chunksReceived_) != 0) {
        return false;
    }
    if (logging_) {
        LoggedFrame logged;
        logged.path = path;
        std::copy_n(report.begin(), std::min(report.size(), kOutputReportSize), logged.bytes.begin());
        log_.push_back(logged);
    }
    if (model != 0) {
        handleFrame(model, report);
    }
    // Gone right after the last frame it was allowed: not even that frame's reply comes back.
    if (framesLeft_ && *framesLeft_ == 0) {
        ports_.clear();
        writeBank_ = -1;
    }
    return true;
}

bool SimulatedAdapter::answer(const std::string& path, std::span<std::uint8_t> buffer) {
    wait();
    std::lock_guard lock(mutex_);
    if (!present(path)) {
        return false;
    }
    if (pendingDrop_) {
        pendingDrop_.reset();
        return false;
    }
    ++replies_;
    const std::size_t length =
        std::min({buffer.size(), reply_.size(), shortReplies_ ? shortReplies_ : reply_.size()});
    std::copy_n(reply_.begin(), length, buffer.begin());
    return true;
}

void SimulatedAdapter::setReply(std::uint8_t code, std::uint8_t param, bool accepted) {
    reply_.fill(0);
    reply_[frame::kReportId] = kOutputReportId;
    reply_[frame::kSyncA] = accepted ? frame::kSyncAValue : 0x00;
    reply_[frame::kCode] = code;
    reply_[frame::kSyncB] = frame::kSyncBValue;
    reply_[frame::kCodeInv] = static_cast<std::uint8_t>(~code);
    reply_[frame::kParam] = param;
}

void SimulatedAdapter::handleFrame(int model, std::span<const std::uint8_t> report) {
    if (!framed(report)) {
        setReply(0, 0, false);
        return;
    }
    const std::uint8_t code = report[frame::kCode];
    const std::uint8_t param = report[frame::kParam];
    const bool refused = refusedCodes_.count(code) != 0;
    auto& banks = banks_[static_cast<std::size_t>(model - 1)];

    // A "u" carrying the next expected chunk number continues the write under way; any other starts one.
    if (code == cmd::kWrite && writeBank_ >= 0 && chunksReceived_ < kWriteChunks &&
        param == chunksReceived_) {
        std::copy_n(report.begin() + frame::kPayload, kWriteChunkSize,
                    pending_.begin() + static_cast<std::ptrdiff_t>(param) * kWriteChunkSize);
        ++chunksReceived_;
        return; // data frames are not answered
    }

    setReply(code, param, !refused);
    if (refused) {
        if (code == cmd::kWrite || code == cmd::kCommit) {
            writeBank_ = -1;
        }
        return;
    }
    switch (code) {
    case cmd::kStatus:
        reply_[reply::kCapability] = capability_;
        std::copy(mouse_.begin(), mouse_.end(), reply_.begin() + reply::kMouseId);
        break;
    case cmd::kReadStart:
        readBank_ = param % kModes;
        break;
    case cmd::kReadChunk:
        if (param >= kReadChunks) {
            setReply(code, param, false);
            break;
        }
        std::copy_n(banks[static_cast<std::size_t>(readBank_)].begin() + param * kReadChunkSize,
                    kReadChunkSize, reply_.begin() + reply::kData);
        if (droppedReadChunks_.count(param) != 0) {
            pendingDrop_ = param;
        }
        break;
    case cmd::kReadSum:
        putSum(reply_, byteSum(banks[static_cast<std::size_t>(readBank_)]) + (wrongSum_ ? 1 : 0));
        break;
    case cmd::kWrite:
        if (param >= kModes) {
            setReply(code, param, false);
            writeBank_ = -1;
            break;
        }
        writeBank_ = param;
        chunksReceived_ = 0;
        pending_.fill(0);
        break;
    case cmd::kWriteSum:
        putSum(reply_, byteSum(pending_) + (wrongSum_ ? 1 : 0));
        break;
    case cmd::kCommit: {
        if (writeBank_ < 0 || chunksReceived_ != kWriteChunks) {
            setReply(code, param, false);
            break;
        }
        Banks next = banks_;
        ProfileImage& committed =
            next[static_cast<std::size_t>(model - 1)][static_cast<std::size_t>(writeBank_)];
        committed = pending_;
        if (changeFrom_) {
            for (std::size_t i = *changeFrom_; i < committed.size(); ++i) {
                committed[i] = static_cast<std::uint8_t>(committed[i] ^ 0x5A);
            }
        }
        writeBank_ = -1;
        // A write that cannot be kept is refused, and the banks stay as they were.
        if (commitListener_ && !commitListener_(next)) {
            setReply(code, param, false);
            break;
        }
        banks_ = next;
        droppedReadChunks_.insert(droppedAfterCommit_.begin(), droppedAfterCommit_.end());
        break;
    }
    case cmd::kAbort:
        writeBank_ = -1;
        break;
    case cmd::kRelease:
        break;
    default:
        setReply(code, param, false);
        break;
    }
}

} // namespace zav
