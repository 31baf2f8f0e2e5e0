#include "device/Frames.h"

#include <gtest/gtest.h>

#include <vector>

namespace zav {
namespace {

InputReport acceptedReply(std::uint8_t code) {
    InputReport r{};
    r[0] = 0x05;
    r[1] = 0xA5;
    r[2] = code;
    r[3] = 0x5A;
    r[4] = static_cast<std::uint8_t>(0xFF - code);
    return r;
}

TEST(Frames, status_frame_is_byte_exact) {
    OutputBuffer out{};
    writeFrameHeader(out, 0x71, 0x00);
    writeStatusPayload(out);
    const std::vector<std::uint8_t> expected = {
        0x05, 0xA5, 0x71, 0x5A, 0x8E, 0x00, 0xAC, 0xAD, 0xA2, 0xA3, 0xA0, 0xA1, 0xA6, 0xA7, 0xA4, 0xA5, 0xBA,
        0xBB, 0xB8, 0xB9, 0xBE, 0xBF, 0xBC, 0xBD, 0xB2, 0xB3, 0xB0, 0xB1, 0xB6, 0xB7, 0xB4, 0xB5, 0x8A};
    EXPECT_EQ(std::vector<std::uint8_t>(out.begin(), out.begin() + 33), expected);
    // Bytes past the 33 sent stay zero.
    for (std::size_t i = 33; i < out.size(); ++i) {
        EXPECT_EQ(out[i], 0) << i;
    }
}

TEST(Frames, header_keeps_payload_of_previous_frame) {
    OutputBuffer out{};
    writeFrameHeader(out, 0x71, 0);
    writeStatusPayload(out);
    writeFrameHeader(out, 0x72, 3);
    EXPECT_EQ(out[2], 0x72);
    EXPECT_EQ(out[4], 0x8D);
    EXPECT_EQ(out[5], 3);
    EXPECT_EQ(out[6], 0xAC);
    EXPECT_EQ(out[32], 0x8A);
}

TEST(Frames, data_chunk_fills_bytes_6_to_21_only) {
    OutputBuffer out{};
    out.fill(0xEE);
    std::array<std::uint8_t, 16> chunk{};
    for (std::size_t i = 0; i < chunk.size(); ++i) {
        chunk[i] = static_cast<std::uint8_t>(i + 1);
    }
    writeDataChunk(out, chunk);
    EXPECT_EQ(out[5], 0xEE);
    EXPECT_EQ(out[6], 1);
    EXPECT_EQ(out[21], 16);
    EXPECT_EQ(out[22], 0xEE);
}

TEST(Frames, reply_acceptance_checks_framing_not_command) {
    EXPECT_TRUE(replyAccepted(acceptedReply(0x71)));
    // Byte 2 naming another command than the one sent is still accepted.
    EXPECT_TRUE(replyAccepted(acceptedReply(0x10)));

    auto bad = acceptedReply(0x71);
    bad[0] = 0x01;
    EXPECT_FALSE(replyAccepted(bad));
    bad = acceptedReply(0x71);
    bad[1] = 0xA4;
    EXPECT_FALSE(replyAccepted(bad));
    bad = acceptedReply(0x71);
    bad[3] = 0x5B;
    EXPECT_FALSE(replyAccepted(bad));
    bad = acceptedReply(0x71);
    bad[4] = 0x8F;
    EXPECT_FALSE(replyAccepted(bad));
    EXPECT_FALSE(replyAccepted(std::span<const std::uint8_t>(bad.data(), 4)));
}

TEST(Frames, sums_are_little_endian_and_wrap) {
    InputReport r{};
    r[5] = 0x34;
    r[6] = 0x12;
    r[7] = 0x01;
    r[8] = 0x80;
    EXPECT_EQ(replySum(r), 0x80011234u);
    std::vector<std::uint8_t> bytes(512, 0xFF);
    EXPECT_EQ(byteSum(bytes), 512u * 255u);
}

} // namespace
} // namespace zav
