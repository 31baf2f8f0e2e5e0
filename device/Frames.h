#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace zav {

// Sizes of the reports exchanged with the adapter.
inline constexpr std::size_t kReportBufferSize = 65; // both buffers; only the first 33 bytes go out
inline constexpr std::size_t kOutputReportSize = 33;
inline constexpr std::size_t kInputReportSize = 65;
inline constexpr std::uint8_t kOutputReportId = 0x05;
inline constexpr std::uint8_t kInputReportIdAsked = 0x01;

using OutputBuffer = std::array<std::uint8_t, kReportBufferSize>;
using InputReport = std::array<std::uint8_t, kInputReportSize>;

// Byte offsets shared by both directions.
namespace frame {
inline constexpr std::size_t kReportId = 0; // 0x05
inline constexpr std::size_t kSyncA = 1;    // 0xA5
inline constexpr std::size_t kCode = 2;     // command code
inline constexpr std::size_t kSyncB = 3;    // 0x5A
inline constexpr std::size_t kCodeInv = 4;  // ~command code
inline constexpr std::size_t kParam = 5;    // parameter
inline constexpr std::size_t kPayload = 6;  // payload up to byte 32
inline constexpr std::uint8_t kSyncAValue = 0xA5;
inline constexpr std::uint8_t kSyncBValue = 0x5A;
} // namespace frame

// Where the adapter puts what we read from its replies.
namespace reply {
inline constexpr std::size_t kSum = 5;        // "t" and "v": 32-bit sum, least significant byte first
inline constexpr std::size_t kData = 6;       // "s": 32 bank bytes
inline constexpr std::size_t kCapability = 8; // "q"
inline constexpr std::size_t kMouseId = 14;   // "q": mouse vendor hi, lo, product hi, lo
} // namespace reply

namespace cmd {
inline constexpr std::uint8_t kStatus = 0x71;    // q
inline constexpr std::uint8_t kReadStart = 0x72; // r
inline constexpr std::uint8_t kReadChunk = 0x73; // s
inline constexpr std::uint8_t kReadSum = 0x74;   // t
inline constexpr std::uint8_t kWrite = 0x75;     // u: start frame and data frames
inline constexpr std::uint8_t kWriteSum = 0x76;  // v
inline constexpr std::uint8_t kCommit = 0x77;    // w
inline constexpr std::uint8_t kAbort = 0x78;     // x
inline constexpr std::uint8_t kRelease = 0x79;   // y
} // namespace cmd

inline constexpr int kBankSize = 512;
inline constexpr int kReadChunks = 16;
inline constexpr int kReadChunkSize = 32;
inline constexpr int kWriteChunks = 32;
inline constexpr int kWriteChunkSize = 16;
static_assert(kReadChunks * kReadChunkSize == kBankSize);
static_assert(kWriteChunks * kWriteChunkSize == kBankSize);
static_assert(reply::kData + kReadChunkSize <= kInputReportSize);
static_assert(frame::kPayload + kWriteChunkSize <= kOutputReportSize);

// Writes bytes 0..5 of a frame; the payload is left as the last frame left it.
void writeFrameHeader(OutputBuffer& out, std::uint8_t code, std::uint8_t param);

// The status command's fixed payload: byte i holds i XOR 0xAA.
void writeStatusPayload(OutputBuffer& out);

// Writes one 16-byte data chunk of a bank write into bytes 6..21.
void writeDataChunk(OutputBuffer& out, std::span<const std::uint8_t, kWriteChunkSize> chunk);

// A reply is accepted on its framing alone; byte 2 need not name the command that was sent.
bool replyAccepted(std::span<const std::uint8_t> reply);

// The 32-bit sum in bytes 5..8 of a "t" or "v" reply.
std::uint32_t replySum(std::span<const std::uint8_t> reply);

// Byte sum as the adapter computes it.
std::uint32_t byteSum(std::span<const std::uint8_t> bytes);

} // namespace zav
