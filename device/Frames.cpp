#include "device/Frames.h"

#include <algorithm>

namespace zav {

void writeFrameHeader(OutputBuffer& out, std::uint8_t code, std::uint8_t param) {
    out[frame::kReportId] = kOutputReportId;
    out[frame::kSyncA] = frame::kSyncAValue;
    out[frame::kCode] = code;
    out[frame::kSyncB] = frame::kSyncBValue;
    out[frame::kCodeInv] = static_cast<std::uint8_t>(~code);
    out[frame::kParam] = param;
}

void writeStatusPayload(OutputBuffer& out) {
    for (std::size_t i = frame::kPayload; i < kOutputReportSize; ++i) {
        out[i] = static_cast<std::uint8_t>(i ^ 0xAA);
    }
}

void writeDataChunk(OutputBuffer& out, std::span<const std::uint8_t, kWriteChunkSize> chunk) {
    std::copy(chunk.begin(), chunk.end(), out.begin() + frame::kPayload);
}

bool replyAccepted(std::span<const std::uint8_t> reply) {
    if (reply.size() <= frame::kCodeInv) {
        return false;
    }
    return reply[frame::kReportId] == kOutputReportId && reply[frame::kSyncA] == frame::kSyncAValue &&
           reply[frame::kSyncB] == frame::kSyncBValue &&
           static_cast<std::uint8_t>(reply[frame::kCode] + reply[frame::kCodeInv]) == 0xFF;
}

std::uint32_t replySum(std::span<const std::uint8_t> reply) {
    if (reply.size() < reply::kSum + 4) {
        return 0;
    }
    return static_cast<std::uint32_t>(reply[reply::kSum]) |
           static_cast<std::uint32_t>(reply[reply::kSum + 1]) << 8 |
           static_cast<std::uint32_t>(reply[reply::kSum + 2]) << 16 |
           static_cast<std::uint32_t>(reply[reply::kSum + 3]) << 24;
}

std::uint32_t byteSum(std::span<const std::uint8_t> bytes) {
    std::uint32_t sum = 0;
    for (std::uint8_t b : bytes) {
        sum += b;
    }
    return sum;
}

} // namespace zav
