#include "device/DeviceLink.h"

#include "device/AdapterModel.h"
#include "device/DeviceLog.h"

#include <algorithm>
#include <string>

namespace zav {

namespace {

static_assert(kAdapterModels.size() == kModelCount);

bool validModel(int model) {
    return model >= 1 && model <= kModelCount;
}

} // namespace

std::uint16_t productIdForModel(int model) {
    const AdapterModel* adapter = adapterModel(model);
    return adapter != nullptr ? adapter->productId : 0;
}

int modelForProductId(std::uint16_t productId) {
    const auto it = std::find_if(kAdapterModels.begin(), kAdapterModels.end(),
                                 [productId](const AdapterModel& a) { return a.productId == productId; });
    return it == kAdapterModels.end() ? 0 : it->model;
}

DeviceLink::DeviceLink(HidBackend& backend) : backend_(backend) {}

DeviceLink::~DeviceLink() = default;

bool DeviceLink::OpenAndIdentify() {
    if (closing_) {
        return true;
    }
    std::lock_guard lock(exchangeMutex_);
    device_.reset();
    setPath({});
    openRefused_ = false;
    bool refused = false;
    for (const HidDeviceInfo& info : backend_.enumerate()) {
        if (closing_) {
            return true;
        }
        const int model = info.vendorId == kVendorId ? modelForProductId(info.productId) : 0;
        if (model == 0) {
            continue;
        }
        std::unique_ptr<HidDevice> device = backend_.open(info);
        if (!device) {
            refused = true;
            continue;
        }
        device_ = std::move(device);
        setPath(info.path);
        vendorId_ = info.vendorId;
        productId_ = info.productId;
        model_ = model;

        InputReport in;
        if (exchange(cmd::kStatus, 0, in)) {
            classify(in, identificationMouseSet(model));
        }
        return true;
    }
    openRefused_ = refused;
    return false;
}

bool DeviceLink::SendCommand(std::uint8_t code, std::uint8_t param) {
    std::lock_guard lock(exchangeMutex_);
    InputReport in;
    return exchange(code, param, in);
}

StatusPoll DeviceLink::PollStatus(std::uint8_t param) {
    std::lock_guard lock(exchangeMutex_);
    StatusPoll poll;
    poll.before = mouseKind_.load();
    InputReport in;
    poll.ok = exchange(cmd::kStatus, param, in);
    if (poll.ok) {
        classify(in, OwnMouseSet::Full);
    }
    poll.after = mouseKind_.load();
    return poll;
}

bool DeviceLink::QueryCapability(std::uint8_t param) {
    std::lock_guard lock(exchangeMutex_);
    InputReport in;
    if (!exchange(cmd::kStatus, param, in)) {
        return false;
    }
    capability_ = in[reply::kCapability];
    return true;
}

AdapterIdentity DeviceLink::identity() const {
    std::lock_guard lock(replyMutex_);
    return {path_, path_.empty() ? 0 : model_.load()};
}

void DeviceLink::setPath(std::string path) {
    std::lock_guard lock(replyMutex_);
    path_ = std::move(path);
}

bool DeviceLink::ReadBank(int bank) {
    std::optional<ProfileImage> image = ReadBankImage(bank);
    if (!image) {
        return false;
    }
    workImage(model_.load()) = *image;
    return true;
}

std::optional<ProfileImage> DeviceLink::ReadBankImage(int bank) {
    return ReadBankImage(model_.load(), bank);
}

std::optional<ProfileImage> DeviceLink::ReadBankImage(int model, int bank) {
    std::lock_guard lock(exchangeMutex_);
    if (model != model_.load()) {
        return std::nullopt;
    }
    std::optional<ProfileImage> fetched = fetchLocked(bank);
    if (fetched) {
        exchangeStoredCodes(model_.load(), bank, *fetched);
    }
    return fetched;
}

std::optional<ProfileImage> DeviceLink::FetchBank(int bank) {
    std::lock_guard lock(exchangeMutex_);
    return fetchLocked(bank);
}

std::optional<ProfileImage> DeviceLink::fetchLocked(int bank) {
    if (!validModel(model_.load()) || bank < 0 || bank > 0xFF) {
        return std::nullopt;
    }
    const auto param = static_cast<std::uint8_t>(bank);
    InputReport in;
    if (!exchange(cmd::kReadStart, param, in)) {
        return std::nullopt;
    }
    // Chunks land in a scratch page: a bank counts only when every chunk arrived and the sums agree.
    ProfileImage scratch{};
    std::uint32_t sum = 0;
    bool complete = true;
    for (int n = 0; n < kReadChunks; ++n) {
        if (!exchange(cmd::kReadChunk, static_cast<std::uint8_t>(n), in)) {
            complete = false;
            continue;
        }
        const auto data = std::span(in).subspan(reply::kData, kReadChunkSize);
        std::copy(data.begin(), data.end(), scratch.begin() + n * kReadChunkSize);
        sum += byteSum(data);
    }
    if (!exchange(cmd::kReadSum, param, in) || !complete || replySum(in) != sum) {
        logDeviceFailure("bank " + std::to_string(bank) + " did not arrive whole");
        return std::nullopt;
    }
    return scratch;
}

bool DeviceLink::WriteBank(int bank) {
    std::lock_guard lock(exchangeMutex_);
    if (!validModel(model_.load())) {
        return false;
    }
    return writeLocked(bank, sendImage(model_.load()));
}

WriteOutcome DeviceLink::WriteImage(int model, int bank, const ProfileImage& image,
                                    std::size_t checkedBytes) {
    std::lock_guard lock(exchangeMutex_);
    if (!validModel(model) || model != model_.load()) {
        return WriteOutcome::OtherModel;
    }
    return writeCheckedLocked(bank, image, checkedBytes);
}

WriteOutcome DeviceLink::WriteImageKeeping(int model, int bank, const ProfileImage& image,
                                           std::size_t checkedBytes,
                                           const std::function<bool(const ProfileImage& before)>& keep) {
    std::lock_guard lock(exchangeMutex_);
    if (!validModel(model) || model != model_.load()) {
        return WriteOutcome::OtherModel;
    }
    const std::optional<ProfileImage> before = fetchLocked(bank);
    if (!before || !keep(*before)) {
        return WriteOutcome::NotKept;
    }
    return writeCheckedLocked(bank, image, checkedBytes);
}

WriteOutcome DeviceLink::writeCheckedLocked(int bank, const ProfileImage& image, std::size_t checkedBytes) {
    if (!writeLocked(bank, image)) {
        return WriteOutcome::Failed;
    }
    const std::optional<ProfileImage> written = fetchLocked(bank);
    if (!written) {
        return WriteOutcome::ReadBackFailed;
    }
    const std::size_t n = std::min(checkedBytes, image.size());
    return std::equal(image.begin(), image.begin() + static_cast<std::ptrdiff_t>(n), written->begin())
               ? WriteOutcome::Complete
               : WriteOutcome::Differs;
}

bool DeviceLink::writeLocked(int bank, const ProfileImage& image) {
    if (bank < 0 || bank > 0xFF) {
        return false;
    }
    const auto param = static_cast<std::uint8_t>(bank);
    InputReport in;
    if (!exchange(cmd::kWrite, param, in)) {
        return false;
    }
    std::uint32_t sum = 0;
    for (int n = 0; n < kWriteChunks; ++n) {
        const auto chunk =
            std::span(image).subspan(static_cast<std::size_t>(n * kWriteChunkSize)).first<kWriteChunkSize>();
        writeFrameHeader(output_, cmd::kWrite, static_cast<std::uint8_t>(n));
        writeDataChunk(output_, chunk);
        sum += byteSum(chunk);
        if (!send(output_)) {
            return false;
        }
    }
    // The sum reply is judged by its sum alone.
    writeFrameHeader(output_, cmd::kWriteSum, param);
    if (!send(output_) || !fetch(in)) {
        return false;
    }
    if (replySum(in) != sum) {
        return false;
    }
    if (exchange(cmd::kCommit, param, in)) {
        return true;
    }
    exchange(cmd::kAbort, param, in);
    return false;
}

std::optional<std::uint8_t> DeviceLink::capability() const {
    const int value = capability_.load();
    if (value < 0) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(value);
}

bool DeviceLink::isOpen() const {
    std::lock_guard lock(exchangeMutex_);
    return device_ != nullptr;
}

std::array<std::uint8_t, 65> DeviceLink::inputReport() const {
    std::lock_guard lock(replyMutex_);
    return lastReply_;
}

ProfileImage& DeviceLink::workImage(int model) {
    const int m = std::clamp(model, 1, kModelCount);
    return pages_[static_cast<std::size_t>(2 * (m - 1))];
}

ProfileImage& DeviceLink::sendImage(int model) {
    const int m = std::clamp(model, 1, kModelCount);
    return pages_[static_cast<std::size_t>(2 * (m - 1) + 1)];
}

void DeviceLink::setClosing() {
    closing_ = true;
}

bool DeviceLink::send(const OutputBuffer& out) {
    if (!device_) {
        return false;
    }
    return device_->setOutputReport(std::span(out).first(kOutputReportSize));
}

bool DeviceLink::fetch(InputReport& in) {
    if (!device_) {
        return false;
    }
    // A short report leaves its missing bytes zero.
    in.fill(0);
    in[0] = kInputReportIdAsked;
    if (!device_->getInputReport(in)) {
        return false;
    }
    std::lock_guard lock(replyMutex_);
    lastReply_ = in;
    return true;
}

bool DeviceLink::exchange(std::uint8_t code, std::uint8_t param, InputReport& in) {
    writeFrameHeader(output_, code, param);
    if (code == cmd::kStatus) {
        writeStatusPayload(output_);
    }
    if (!send(output_) || !fetch(in)) {
        return false;
    }
    if (!replyAccepted(in)) {
        logDeviceFailure("reply to command " + std::to_string(code) + " with parameter " +
                         std::to_string(param) + " not accepted");
        return false;
    }
    return true;
}

void DeviceLink::classify(const InputReport& in, OwnMouseSet set) {
    const auto id = std::span(in).subspan<reply::kMouseId, 4>();
    const MouseState next = classifyMouse(id, set, {mouseKind_.load(), ordinaryMouseSeen_.load()});
    ordinaryMouseSeen_ = next.ordinarySeen;
    mouseKind_ = next.kind;
    capability_ = in[reply::kCapability];
}

} // namespace zav
