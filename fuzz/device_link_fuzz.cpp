// Drives DeviceLink over an adapter whose every answer comes from the input: which devices the
// enumeration lists and which of them open, whether each report goes out, and what each reply holds.
// Unless the input says otherwise the adapter behaves well (its sums match what it sent and received),
// so the link gets deep into identification, reads and writes before a fault hits. After each call the
// frames the adapter saw are compared with what the call reported:
// - a read that fails leaves every page as it was; a read that succeeds fills the work page (or, for
//   the window, a copy) with the bank the adapter sent, and one does succeed whenever all of its
//   exchanges did;
// - a write reports success exactly when the adapter saw all 35 frames with the send page's bytes,
//   answered the sum with the sum of those bytes and accepted "w";
// - identification opens only adapters, in enumeration order, after closing the one left open;
// - the mouse classification follows the status reply; nothing reads outside its own reply.

#include "device/DeviceLink.h"
#include "fuzz/FuzzCheck.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <numeric>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zav {
namespace {

using Frame = std::array<std::uint8_t, kOutputReportSize>;
using Pages = std::array<ProfileImage, 2 * kModelCount>;

constexpr std::array<std::uint16_t, kModelCount> kAdapterProducts = {0x00C4, 0x00C8, 0x00DB};
constexpr std::array<std::uint8_t, 7> kOwnMice = {0x61, 0xAF, 0xB7, 0xB8, 0xB9, 0xBA, 0xBB};
constexpr int kMaxSteps = 64;

// The framing of a reply, written out here so that the link's own check is tested rather than reused.
bool framed(std::span<const std::uint8_t> r) {
    return r[0] == 0x05 && r[1] == 0xA5 && r[3] == 0x5A && static_cast<std::uint8_t>(r[2] + r[4]) == 0xFF;
}

std::uint32_t sumOf(std::span<const std::uint8_t> bytes) {
    return std::accumulate(bytes.begin(), bytes.end(), std::uint32_t{0});
}

std::uint32_t sumField(const InputReport& r) {
    return std::uint32_t{r[5]} | std::uint32_t{r[6]} << 8 | std::uint32_t{r[7]} << 16 |
           std::uint32_t{r[8]} << 24;
}

void putSum(InputReport& r, std::uint32_t sum) {
    for (std::size_t i = 0; i < 4; ++i) {
        r[5 + i] = static_cast<std::uint8_t>(sum >> (8 * i));
    }
}

int modelOf(const HidDeviceInfo& info) {
    if (info.vendorId != kVendorId) {
        return 0;
    }
    const auto it = std::find(kAdapterProducts.begin(), kAdapterProducts.end(), info.productId);
    return it == kAdapterProducts.end() ? 0 : static_cast<int>(it - kAdapterProducts.begin()) + 1;
}

struct SentFrame {
    Frame bytes{};
    bool arrived = false;
    std::uint8_t code() const { return bytes[2]; }
    std::uint8_t param() const { return bytes[5]; }
};

struct Reply {
    std::size_t frame = 0; // index of the frame it answers
    bool delivered = false;
    InputReport bytes{};
};

// The far side of the cable, shared by the backend and every device it opens.
struct AdapterSide {
    explicit AdapterSide(FuzzedDataProvider& in) : input(in) {}

    // One fault in `odds` tries; an exhausted input never faults.
    bool fault(int odds) { return input.ConsumeIntegralInRange<int>(0, odds - 1) == odds - 1; }

    FuzzedDataProvider& input;
    std::vector<SentFrame> frames;
    std::vector<Reply> replies;
    std::optional<InputReport> lastDelivered;
    std::uint32_t received = 0;  // sum of the data frames since the last write start
    std::uint32_t delivered = 0; // sum of the chunks sent since the last read start
    int openDevices = 0;
    int enumerations = 0;
    std::vector<HidDeviceInfo> listed;  // the last enumeration
    std::vector<std::string> openAsked; // paths, every open the link asked for
    std::vector<bool> openGranted;      // and whether it was granted
};

class FuzzDevice : public HidDevice {
public:
    explicit FuzzDevice(AdapterSide& side) : side_(side) { ++side_.openDevices; }
    ~FuzzDevice() override { --side_.openDevices; }
    FuzzDevice(const FuzzDevice&) = delete;
    FuzzDevice& operator=(const FuzzDevice&) = delete;

    bool setOutputReport(std::span<const std::uint8_t> report) override {
        ZAV_FUZZ_CHECK(report.size() == kOutputReportSize);
        SentFrame frame;
        std::copy(report.begin(), report.end(), frame.bytes.begin());
        ZAV_FUZZ_CHECK(framed(frame.bytes));
        if (frame.code() == cmd::kStatus) {
            for (std::size_t i = frame::kPayload; i < kOutputReportSize; ++i) {
                ZAV_FUZZ_CHECK(frame.bytes[i] == (i ^ 0xAA));
            }
        }
        frame.arrived = !side_.fault(24);
        side_.frames.push_back(frame);
        if (!frame.arrived) {
            return false;
        }
        if (frame.code() == cmd::kReadStart) {
            side_.delivered = 0;
        }
        if (frame.code() == cmd::kWrite) {
            side_.received += sumOf(std::span(frame.bytes).subspan(frame::kPayload, kWriteChunkSize));
        }
        return true;
    }

    bool getInputReport(std::span<std::uint8_t> buffer) override {
        ZAV_FUZZ_CHECK(buffer.size() == kInputReportSize);
        ZAV_FUZZ_CHECK(buffer[0] == kInputReportIdAsked);
        // Nothing of an earlier reply may be left in the buffer the adapter fills.
        ZAV_FUZZ_CHECK(std::all_of(buffer.begin() + 1, buffer.end(), [](std::uint8_t b) { return b == 0; }));
        ZAV_FUZZ_CHECK(!side_.frames.empty() && side_.frames.back().arrived);

        Reply reply;
        reply.frame = side_.frames.size() - 1;
        const SentFrame& asked = side_.frames.back();
        // The frame a reply is fetched for is a write's start frame, not one of its data frames.
        if (asked.code() == cmd::kWrite) {
            side_.received = 0;
        }
        reply.bytes = honestReply(asked);
        switch (side_.input.ConsumeIntegralInRange<int>(0, 23)) {
        case 20: // no reply at all
            side_.replies.push_back(reply);
            return false;
        case 21: { // one framing byte wrong
            static constexpr std::array<std::size_t, 4> kFraming = {0, 1, 3, 4};
            const std::size_t at = kFraming[side_.input.ConsumeIntegralInRange<std::size_t>(0, 3)];
            reply.bytes[at] ^= static_cast<std::uint8_t>(side_.input.ConsumeIntegralInRange<int>(1, 255));
            break;
        }
        case 22: { // anything at all, as long or short as it comes
            reply.bytes.fill(0);
            reply.bytes[0] = kInputReportIdAsked;
            const std::vector<std::uint8_t> raw = side_.input.ConsumeBytes<std::uint8_t>(
                side_.input.ConsumeIntegralInRange<std::size_t>(0, kInputReportSize));
            std::copy(raw.begin(), raw.end(), reply.bytes.begin());
            break;
        }
        case 23: // a sum that is off
            putSum(reply.bytes,
                   sumField(reply.bytes) + side_.input.ConsumeIntegralInRange<std::uint32_t>(1, 0xFFFFFFFF));
            break;
        default:
            break;
        }
        reply.delivered = true;
        std::copy(reply.bytes.begin(), reply.bytes.end(), buffer.begin());
        side_.replies.push_back(reply);
        side_.lastDelivered = reply.bytes;
        return true;
    }

private:
    InputReport honestReply(const SentFrame& asked) {
        InputReport r{};
        r[0] = 0x05;
        r[1] = 0xA5;
        r[2] = asked.code();
        r[3] = 0x5A;
        r[4] = static_cast<std::uint8_t>(~asked.code());
        r[5] = asked.param();
        FuzzedDataProvider& in = side_.input;
        switch (asked.code()) {
        case cmd::kStatus: {
            r[reply::kCapability] = in.ConsumeIntegral<std::uint8_t>();
            std::array<std::uint8_t, 4> mouse{};
            switch (in.ConsumeIntegralInRange<int>(0, 3)) {
            case 1:
                mouse = {0x2B, 0x7C, 0x00,
                         kOwnMice[in.ConsumeIntegralInRange<std::size_t>(0, kOwnMice.size() - 1)]};
                break;
            case 2:
                mouse = {0x2B, 0x7C, 0x00,
                         static_cast<std::uint8_t>(
                             kAdapterProducts[in.ConsumeIntegralInRange<std::size_t>(0, kModelCount - 1)])};
                break;
            case 3: {
                const auto id = in.ConsumeIntegral<std::uint32_t>();
                mouse = {static_cast<std::uint8_t>(id >> 24), static_cast<std::uint8_t>(id >> 16),
                         static_cast<std::uint8_t>(id >> 8), static_cast<std::uint8_t>(id)};
                break;
            }
            default:
                break;
            }
            std::copy(mouse.begin(), mouse.end(), r.begin() + reply::kMouseId);
            break;
        }
        case cmd::kReadChunk: {
            const std::vector<std::uint8_t> data = in.ConsumeBytes<std::uint8_t>(kReadChunkSize);
            std::copy(data.begin(), data.end(), r.begin() + reply::kData);
            side_.delivered += sumOf(std::span(r).subspan(reply::kData, kReadChunkSize));
            break;
        }
        case cmd::kReadSum:
            putSum(r, side_.delivered);
            break;
        case cmd::kWriteSum:
            putSum(r, side_.received);
            break;
        default:
            break;
        }
        return r;
    }

    AdapterSide& side_;
};

class FuzzBackend : public HidBackend {
public:
    explicit FuzzBackend(AdapterSide& side) : side_(side) {}

    std::vector<HidDeviceInfo> enumerate() override {
        // Identification closes the adapter it left open before it looks again.
        ZAV_FUZZ_CHECK(side_.openDevices == 0);
        ++side_.enumerations;
        FuzzedDataProvider& in = side_.input;
        side_.listed.clear();
        // An exhausted input lists one KITE.
        const int count = (in.ConsumeIntegralInRange<int>(0, 4) + 1) % 5;
        for (int i = 0; i < count; ++i) {
            HidDeviceInfo info;
            info.path = "/dev/hidraw" + std::to_string(i);
            const int vendor = in.ConsumeIntegralInRange<int>(0, 3);
            info.vendorId = vendor < 3 ? kVendorId : in.ConsumeIntegral<std::uint16_t>();
            const int product = in.ConsumeIntegralInRange<int>(0, 4);
            info.productId = product < kModelCount    ? kAdapterProducts[static_cast<std::size_t>(product)]
                             : product == kModelCount ? std::uint16_t{0x0061}
                                                      : in.ConsumeIntegral<std::uint16_t>();
            side_.listed.push_back(info);
        }
        return side_.listed;
    }

    std::unique_ptr<HidDevice> open(const HidDeviceInfo& info) override {
        const bool granted = !side_.fault(8);
        side_.openAsked.push_back(info.path);
        side_.openGranted.push_back(granted);
        return granted ? std::make_unique<FuzzDevice>(side_) : nullptr;
    }

private:
    AdapterSide& side_;
};

Pages pagesOf(DeviceLink& link) {
    Pages pages;
    for (int model = 1; model <= kModelCount; ++model) {
        pages[static_cast<std::size_t>(2 * (model - 1))] = link.workImage(model);
        pages[static_cast<std::size_t>(2 * (model - 1) + 1)] = link.sendImage(model);
    }
    return pages;
}

// The reply fetched right after frame `index`, if any.
const Reply* replyTo(const AdapterSide& side, std::size_t index) {
    const auto it = std::find_if(side.replies.begin(), side.replies.end(),
                                 [index](const Reply& r) { return r.frame == index; });
    return it == side.replies.end() ? nullptr : &*it;
}

// Frame `index` went out and its reply came back framed.
bool exchanged(const AdapterSide& side, std::size_t index) {
    const Reply* reply = replyTo(side, index);
    return side.frames[index].arrived && reply != nullptr && reply->delivered && framed(reply->bytes);
}

bool isFrame(const SentFrame& frame, std::uint8_t code, int param) {
    return frame.code() == code && frame.param() == param;
}

// The bank, when the frames from `from` on are a read of `bank` in which every exchange succeeded and
// the adapter's sum matches the chunks.
std::optional<ProfileImage> bankRead(const AdapterSide& side, std::size_t from, int bank) {
    if (side.frames.size() - from != 2 + kReadChunks) {
        return std::nullopt;
    }
    if (!isFrame(side.frames[from], cmd::kReadStart, bank) || !exchanged(side, from)) {
        return std::nullopt;
    }
    ProfileImage image{};
    for (int n = 0; n < kReadChunks; ++n) {
        const std::size_t index = from + 1 + static_cast<std::size_t>(n);
        if (!isFrame(side.frames[index], cmd::kReadChunk, n) || !exchanged(side, index)) {
            return std::nullopt;
        }
        const InputReport& r = replyTo(side, index)->bytes;
        std::copy_n(r.begin() + reply::kData, kReadChunkSize, image.begin() + n * kReadChunkSize);
    }
    const std::size_t last = from + 1 + kReadChunks;
    if (!isFrame(side.frames[last], cmd::kReadSum, bank) || !exchanged(side, last) ||
        sumField(replyTo(side, last)->bytes) != sumOf(image)) {
        return std::nullopt;
    }
    return image;
}

// Whether the frames from `from` on are a complete write of `image` into `bank` that the adapter
// summed correctly and committed.
bool bankWritten(const AdapterSide& side, std::size_t from, int bank, const ProfileImage& image) {
    if (side.frames.size() - from != 3 + kWriteChunks) {
        return false;
    }
    if (!isFrame(side.frames[from], cmd::kWrite, bank) || !exchanged(side, from)) {
        return false;
    }
    for (int n = 0; n < kWriteChunks; ++n) {
        const SentFrame& frame = side.frames[from + 1 + static_cast<std::size_t>(n)];
        if (!frame.arrived || !isFrame(frame, cmd::kWrite, n) ||
            !std::equal(frame.bytes.begin() + frame::kPayload,
                        frame.bytes.begin() + frame::kPayload + kWriteChunkSize,
                        image.begin() + n * kWriteChunkSize)) {
            return false;
        }
        if (replyTo(side, from + 1 + static_cast<std::size_t>(n)) != nullptr) {
            return false;
        }
    }
    const std::size_t sumFrame = from + 1 + kWriteChunks;
    const Reply* sum = replyTo(side, sumFrame);
    if (!isFrame(side.frames[sumFrame], cmd::kWriteSum, bank) || !side.frames[sumFrame].arrived ||
        sum == nullptr || !sum->delivered || sumField(sum->bytes) != sumOf(image)) {
        return false;
    }
    return isFrame(side.frames[sumFrame + 1], cmd::kCommit, bank) && exchanged(side, sumFrame + 1);
}

void swapMossPs3Pairs(ProfileImage& image) {
    std::swap(image[14], image[18]);
    std::swap(image[15], image[17]);
}

// The classification of a status reply, by the table of mouse identities.
void checkMouse(const InputReport& r, bool fullSet, MouseKind kind, bool ordinarySeen, bool seenBefore) {
    const bool family = r[14] == 0x2B && r[15] == 0x7C && r[16] == 0x00;
    const bool own = family && (fullSet ? std::find(kOwnMice.begin(), kOwnMice.end(), r[17]) != kOwnMice.end()
                                        : r[17] == kOwnMice.front());
    const bool adapter = family && (r[17] == 0xC4 || r[17] == 0xC8 || r[17] == 0xDB);
    if (r[14] == 0 && r[15] == 0 && r[16] == 0 && r[17] == 0) {
        ZAV_FUZZ_CHECK(kind == MouseKind::None && ordinarySeen == seenBefore);
    } else if (own) {
        ZAV_FUZZ_CHECK(kind == MouseKind::Own && !ordinarySeen);
    } else if (adapter) {
        ZAV_FUZZ_CHECK(kind == MouseKind::None && ordinarySeen == seenBefore);
    } else {
        ZAV_FUZZ_CHECK(kind == MouseKind::Ordinary && ordinarySeen);
    }
}

struct Before {
    explicit Before(DeviceLink& link, const AdapterSide& side)
        : pages(pagesOf(link)), frames(side.frames.size()), model(link.model()), kind(link.mouseKind()),
          ordinarySeen(link.ordinaryMouseSeen()), capability(link.capability()) {}
    Pages pages;
    std::size_t frames;
    int model;
    MouseKind kind;
    bool ordinarySeen;
    std::optional<std::uint8_t> capability;
};

void checkStatus(const DeviceLink& link, const AdapterSide& side, const Before& before, bool fullSet) {
    if (side.frames.size() == before.frames + 1 && exchanged(side, before.frames)) {
        const InputReport& r = replyTo(side, before.frames)->bytes;
        checkMouse(r, fullSet, link.mouseKind(), link.ordinaryMouseSeen(), before.ordinarySeen);
        ZAV_FUZZ_CHECK(link.capability() == r[reply::kCapability]);
    } else {
        ZAV_FUZZ_CHECK(link.mouseKind() == before.kind && link.ordinaryMouseSeen() == before.ordinarySeen);
        ZAV_FUZZ_CHECK(link.capability() == before.capability);
    }
}

void identify(DeviceLink& link, AdapterSide& side) {
    const Before before(link, side);
    const bool wasClosing = link.closing();
    const int enumerations = side.enumerations;
    const std::size_t asked = side.openAsked.size();
    const bool found = link.OpenAndIdentify();
    if (wasClosing) {
        ZAV_FUZZ_CHECK(found && side.enumerations == enumerations && side.frames.size() == before.frames);
        return;
    }
    ZAV_FUZZ_CHECK(side.enumerations == enumerations + 1);

    // Adapters only, in enumeration order, up to the first that opens.
    std::size_t k = asked;
    int matched = 0;
    bool refused = false;
    for (const HidDeviceInfo& info : side.listed) {
        if (modelOf(info) == 0) {
            continue;
        }
        ZAV_FUZZ_CHECK(k < side.openAsked.size() && side.openAsked[k] == info.path);
        if (side.openGranted[k++]) {
            matched = modelOf(info);
            break;
        }
        refused = true;
    }
    ZAV_FUZZ_CHECK(k == side.openAsked.size());
    ZAV_FUZZ_CHECK(found == (matched != 0));
    ZAV_FUZZ_CHECK(link.isOpen() == found && side.openDevices == (found ? 1 : 0));
    ZAV_FUZZ_CHECK(pagesOf(link) == before.pages);
    if (!found) {
        ZAV_FUZZ_CHECK(link.model() == before.model && link.openRefused() == refused);
        ZAV_FUZZ_CHECK(side.frames.size() == before.frames);
        return;
    }
    ZAV_FUZZ_CHECK(link.model() == matched && link.vendorId() == kVendorId);
    ZAV_FUZZ_CHECK(link.productId() == kAdapterProducts[static_cast<std::size_t>(matched - 1)]);
    ZAV_FUZZ_CHECK(side.frames.size() == before.frames + 1 &&
                   isFrame(side.frames[before.frames], cmd::kStatus, 0));
    checkStatus(link, side, before, matched == 2);
}

int pickBank(FuzzedDataProvider& in) {
    switch (const int pick = in.ConsumeIntegralInRange<int>(0, 7)) {
    case 4:
        return -1;
    case 5:
        return 256;
    case 6:
        return in.ConsumeIntegral<int>();
    case 7:
        return 255;
    default:
        return pick;
    }
}

bool validBank(int bank) {
    return bank >= 0 && bank <= 0xFF;
}

// With no adapter matched or open, or a bank that does not fit the frame, nothing may go out.
bool mayTransfer(const DeviceLink& link, int bank) {
    return link.model() != 0 && link.isOpen() && validBank(bank);
}

void read(DeviceLink& link, AdapterSide& side, int bank) {
    const Before before(link, side);
    const bool ok = link.ReadBank(bank);
    if (!mayTransfer(link, bank)) {
        ZAV_FUZZ_CHECK(!ok && side.frames.size() == before.frames);
    }
    const std::optional<ProfileImage> seen = bankRead(side, before.frames, bank);
    ZAV_FUZZ_CHECK(ok == seen.has_value());
    Pages expected = before.pages;
    if (ok) {
        ProfileImage& work = expected[static_cast<std::size_t>(2 * (link.model() - 1))];
        work = *seen;
        if (link.model() == 2 && bank == 1) {
            swapMossPs3Pairs(work);
        }
    }
    ZAV_FUZZ_CHECK(pagesOf(link) == expected);
}

void fetch(DeviceLink& link, AdapterSide& side, int bank) {
    const Before before(link, side);
    const std::optional<ProfileImage> fetched = link.FetchBank(bank);
    if (!mayTransfer(link, bank)) {
        ZAV_FUZZ_CHECK(!fetched && side.frames.size() == before.frames);
    }
    ZAV_FUZZ_CHECK(fetched == bankRead(side, before.frames, bank));
    ZAV_FUZZ_CHECK(pagesOf(link) == before.pages);
}

// The bank as a work page should hold it, for the window to take over; no page changes.
void readImage(DeviceLink& link, AdapterSide& side, int bank) {
    const Before before(link, side);
    const std::optional<ProfileImage> image = link.ReadBankImage(bank);
    if (!mayTransfer(link, bank)) {
        ZAV_FUZZ_CHECK(!image && side.frames.size() == before.frames);
    }
    std::optional<ProfileImage> expected = bankRead(side, before.frames, bank);
    if (expected && link.model() == 2 && bank == 1) {
        swapMossPs3Pairs(*expected);
    }
    ZAV_FUZZ_CHECK(image == expected);
    ZAV_FUZZ_CHECK(pagesOf(link) == before.pages);
}

void write(DeviceLink& link, AdapterSide& side, int bank) {
    const Before before(link, side);
    const ProfileImage image = link.model() != 0 ? link.sendImage(link.model()) : ProfileImage{};
    const bool ok = link.WriteBank(bank);
    ZAV_FUZZ_CHECK(pagesOf(link) == before.pages);
    if (!mayTransfer(link, bank)) {
        ZAV_FUZZ_CHECK(!ok && side.frames.size() == before.frames);
        return;
    }
    ZAV_FUZZ_CHECK(ok == bankWritten(side, before.frames, bank, image));
    const std::size_t sent = side.frames.size() - before.frames;
    ZAV_FUZZ_CHECK(sent >= 1 && sent <= 4 + kWriteChunks);
    // A refused start ends the write; a failed commit is followed by one abort and nothing else.
    if (!exchanged(side, before.frames)) {
        ZAV_FUZZ_CHECK(sent == 1);
    }
    const std::size_t commit = before.frames + 2 + kWriteChunks;
    if (sent > 2 + kWriteChunks) {
        ZAV_FUZZ_CHECK(isFrame(side.frames[commit], cmd::kCommit, bank));
        ZAV_FUZZ_CHECK(sent == (exchanged(side, commit) ? 3u : 4u) + kWriteChunks);
        if (sent == 4 + kWriteChunks) {
            ZAV_FUZZ_CHECK(isFrame(side.frames[commit + 1], cmd::kAbort, bank));
        }
    }
}

void command(DeviceLink& link, AdapterSide& side, std::uint8_t code, std::uint8_t param) {
    const Before before(link, side);
    const bool ok = link.SendCommand(code, param);
    ZAV_FUZZ_CHECK(pagesOf(link) == before.pages);
    if (!link.isOpen()) {
        ZAV_FUZZ_CHECK(!ok && side.frames.size() == before.frames);
        return;
    }
    ZAV_FUZZ_CHECK(side.frames.size() == before.frames + 1 &&
                   isFrame(side.frames[before.frames], code, param));
    ZAV_FUZZ_CHECK(ok == exchanged(side, before.frames));
}

void poll(DeviceLink& link, AdapterSide& side, std::uint8_t param) {
    const Before before(link, side);
    const StatusPoll result = link.PollStatus(param);
    ZAV_FUZZ_CHECK(pagesOf(link) == before.pages);
    ZAV_FUZZ_CHECK(result.before == before.kind && result.after == link.mouseKind());
    if (!link.isOpen()) {
        ZAV_FUZZ_CHECK(!result.ok && side.frames.size() == before.frames);
    } else {
        ZAV_FUZZ_CHECK(side.frames.size() == before.frames + 1 &&
                       isFrame(side.frames[before.frames], cmd::kStatus, param));
        ZAV_FUZZ_CHECK(result.ok == exchanged(side, before.frames));
    }
    checkStatus(link, side, before, true);
}

void step(DeviceLink& link, AdapterSide& side) {
    FuzzedDataProvider& in = side.input;
    switch (in.ConsumeIntegralInRange<int>(0, 9)) {
    case 0:
        identify(link, side);
        break;
    case 1:
        poll(link, side, in.ConsumeIntegral<std::uint8_t>());
        break;
    case 2:
        read(link, side, pickBank(in));
        break;
    case 3:
        write(link, side, pickBank(in));
        break;
    case 4:
        fetch(link, side, pickBank(in));
        break;
    case 5: {
        const auto code = in.ConsumeIntegral<std::uint8_t>();
        command(link, side, code, in.ConsumeIntegral<std::uint8_t>());
        break;
    }
    case 6: { // the page edits what the next write sends
        ProfileImage& page = link.sendImage(in.ConsumeIntegralInRange<int>(0, kModelCount + 1));
        const std::size_t at = in.ConsumeIntegralInRange<std::size_t>(0, page.size());
        const std::vector<std::uint8_t> bytes = in.ConsumeBytes<std::uint8_t>(page.size() - at);
        std::copy(bytes.begin(), bytes.end(), page.begin() + static_cast<std::ptrdiff_t>(at));
        break;
    }
    case 7:
        link.resetMouseKind();
        ZAV_FUZZ_CHECK(link.mouseKind() == MouseKind::None);
        break;
    case 9:
        readImage(link, side, pickBank(in));
        break;
    default:
        link.setClosing();
        break;
    }
}

} // namespace
} // namespace zav

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zav;
    FuzzedDataProvider input(data, size);
    AdapterSide side(input);
    FuzzBackend backend(side);
    {
        DeviceLink link(backend);
        for (int n = 0; n < kMaxSteps && input.remaining_bytes() > 0; ++n) {
            step(link, side);
            ZAV_FUZZ_CHECK(link.model() >= 0 && link.model() <= kModelCount);
            ZAV_FUZZ_CHECK(link.isOpen() == (side.openDevices == 1) && side.openDevices <= 1);
            // The link's copy of the last reply is the last reply that came back.
            ZAV_FUZZ_CHECK(link.inputReport() == side.lastDelivered.value_or(InputReport{}));
        }
    }
    // The link closes the adapter when it goes.
    ZAV_FUZZ_CHECK(side.openDevices == 0);
    return 0;
}
