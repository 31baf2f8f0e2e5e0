#include "pages/PageRecord.h"
#include "profiles/ProfileRecord.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <set>
#include <vector>

namespace zav {
namespace {

using Kite = std::array<std::uint8_t, 60>;
using Moss = std::array<std::uint8_t, 55>;
using Fern = Moss;

// Collecting with no buttons at all marks every byte the page writes with 255.
template <typename Record>
std::set<int> bytesWritten(int model, int mode) {
    Record record;
    record.fill(0xAA);
    EXPECT_TRUE(collectPage(model, mode, SlotLabels{}, record, false));
    std::set<int> written;
    for (std::size_t i = 0; i < record.size(); ++i) {
        if (record[i] != 0xAA) {
            written.insert(static_cast<int>(i));
        }
    }
    return written;
}

std::set<int> range(int first, int last, std::set<int> more = {}) {
    for (int i = first; i <= last; ++i) {
        more.insert(i);
    }
    return more;
}

TEST(ShowAndCollect, default_records_of_every_model_and_mode_collect_back_unchanged) {
    for (int model : {models::kKite, models::kMoss, models::kFern}) {
        for (int mode = 0; mode < kAssignModeCount; ++mode) {
            for (StickSelector selector : {StickSelector::DPad, StickSelector::LStick}) {
                ProfileImage image{};
                resetToDefaults(image, model, mode, 0);
                const auto record = recordAt(image, model, 0);
                const std::vector<std::uint8_t> before(record.begin(), record.end());
                const SlotLabels labels = showRecord(model, mode, record, selector);
                ASSERT_TRUE(collectPage(model, mode, labels, record, mossSwitchOn(record)));
                EXPECT_EQ(std::vector<std::uint8_t>(record.begin(), record.end()), before)
                    << "model " << model << " mode " << mode;
            }
        }
    }
}

TEST(ShowAndCollect, slot_22_shows_the_code_the_selector_chooses_and_collect_leaves_it) {
    Kite record{};
    record[8] = 0x0F;  // D-pad up
    record[43] = 0x13; // stick up
    const SlotLabels dpad = showRecord(models::kKite, kModePs4, record, StickSelector::DPad);
    const SlotLabels stick = showRecord(models::kKite, kModePs4, record, StickSelector::LStick);
    EXPECT_EQ(dpad[22], "\xC3\xA1");
    EXPECT_EQ(stick[22], "\xC3\xA9");
    EXPECT_EQ(dpad[21], stick[21]);
    SlotLabels labels = dpad;
    labels[22] = "L1";
    ASSERT_TRUE(collectPage(models::kKite, kModePs4, labels, record, false));
    EXPECT_EQ(record[8], 0x0F);
    EXPECT_EQ(record[43], 0x13);
}

// Slots of indices 29/30 show the bytes of 31/32 and the other way round, both ways of the page.
TEST(ShowAndCollect, first_model_ps3_exchanges_indices_29_30_with_31_32) {
    const std::pair<int, int> shownAt[] = {{29, 31}, {30, 32}, {31, 29}, {32, 30}};
    Kite record{};
    for (const auto& [index, byte] : shownAt) {
        record[static_cast<std::size_t>(byte)] = static_cast<std::uint8_t>(index - 14); // D-pad codes
    }
    SlotLabels labels = showRecord(models::kKite, kModePs3, record, StickSelector::DPad);
    for (const auto& [index, byte] : shownAt) {
        const auto slot = static_cast<std::size_t>(indexToSlot(models::kKite, index));
        EXPECT_EQ(labels[slot], codeToLabel(models::kKite, kModePs3, static_cast<std::uint8_t>(index - 14)));
        EXPECT_EQ(slotRecordByte(models::kKite, kModePs3, static_cast<int>(slot), StickSelector::DPad), byte);
        labels[slot] = codeToLabel(models::kKite, kModePs3, static_cast<std::uint8_t>(index - 25)); // L1..R2
    }
    ASSERT_TRUE(collectPage(models::kKite, kModePs3, labels, record, false));
    for (const auto& [index, byte] : shownAt) {
        EXPECT_EQ(record[static_cast<std::size_t>(byte)], index - 25) << index;
    }
    EXPECT_EQ(showRecord(models::kKite, kModePs4, record, StickSelector::DPad)[26],
              codeToLabel(models::kKite, kModePs4, record[29]));
}

TEST(ShowAndCollect, missing_buttons_store_255_unlabelled_codes_0_and_only_the_pages_bytes_are_written) {
    std::set<int> kiteUsed = range(0, 47);
    for (int unused : {1, 8, 10, 25, 26, 27, 28, 37, 38, 39, 40, 41, 42, 43}) {
        kiteUsed.erase(unused);
    }
    EXPECT_EQ(bytesWritten<Kite>(models::kKite, kModePs4), kiteUsed);
    EXPECT_EQ(bytesWritten<Kite>(models::kKite, kModePs3), kiteUsed);
    EXPECT_EQ(bytesWritten<Moss>(models::kMoss, kModePs4), range(0, 20, {25, 26, 53, 54}));
    EXPECT_EQ(bytesWritten<Moss>(models::kMoss, kModeKeyboard),
              range(0, 20, {25, 26, 49, 50, 51, 52, 53, 54}));
    EXPECT_EQ(bytesWritten<Fern>(models::kFern, kModePcPad), range(0, 27, {39, 40, 41, 42}));

    Kite record{};
    collectPage(models::kKite, kModePs4, SlotLabels{}, record, false);
    EXPECT_EQ(record[17], 0xFF);

    Kite unlabelled{};
    unlabelled[17] = 31; // no label on the first model
    const SlotLabels labels = showRecord(models::kKite, kModePs4, unlabelled, StickSelector::DPad);
    EXPECT_EQ(labels[1], "");
    EXPECT_EQ(labels[0], std::nullopt);
    ASSERT_TRUE(collectPage(models::kKite, kModePs4, labels, unlabelled, false));
    EXPECT_EQ(unlabelled[17], 0x00);
}

// Slots 24..28 show bytes 49..53; outside keyboard mode only byte 53 and the switch are collected.
TEST(SecondModel, extra_slots_and_the_switch) {
    Moss record{};
    record[4] = kMossKeyboardFnCode;
    record[49] = labelToCode(models::kMoss, kModeKeyboard, "M");
    record[52] = labelToCode(models::kMoss, kModeKeyboard, "A");
    record[53] = labelToCode(models::kMoss, kModeKeyboard, "Enter");
    const SlotLabels keyboard = showRecord(models::kMoss, kModeKeyboard, record, StickSelector::DPad);
    using Shown = std::vector<std::optional<std::string>>;
    EXPECT_EQ((Shown{keyboard[5], keyboard[24], keyboard[27], keyboard[28], keyboard[29]}),
              (Shown{"Fn", "M", "A", "Enter", std::nullopt}));
    EXPECT_EQ(showRecord(models::kMoss, kModePs4, record, StickSelector::DPad)[27],
              codeToLabel(models::kMoss, kModePs4, record[52]));

    const Moss shown = record;
    SlotLabels labels = keyboard;
    for (int slot = 24; slot <= 28; ++slot) {
        labels[static_cast<std::size_t>(slot)] = "L1";
    }
    ASSERT_TRUE(collectPage(models::kMoss, kModePs4, labels, record, true));
    EXPECT_TRUE(std::equal(record.begin() + 49, record.begin() + 53, shown.begin() + 49));
    EXPECT_EQ(record[53], labelToCode(models::kMoss, kModePs4, "L1"));
    EXPECT_TRUE(mossSwitchOn(record));
    EXPECT_FALSE(storeSlotLabel(models::kMoss, kModePs4, 24, "L1", record, StickSelector::DPad));

    labels[24] = "A";
    labels[27] = "Fn";
    ASSERT_TRUE(collectPage(models::kMoss, kModeKeyboard, labels, record, false));
    EXPECT_EQ(record[49], labelToCode(models::kMoss, kModeKeyboard, "A"));
    EXPECT_EQ(record[50], 0x00); // "L1" is no keyboard label
    EXPECT_EQ(record[52], kMossKeyboardFnCode);
    EXPECT_FALSE(mossSwitchOn(record));
}

TEST(StoreSlot, stores_into_the_byte_the_slot_shows_and_leaves_records_of_the_wrong_size_alone) {
    Kite kite{};
    EXPECT_TRUE(storeSlotLabel(models::kKite, kModePs4, 1, "L1", kite, StickSelector::DPad));
    EXPECT_EQ(kite[17], labelToCode(models::kKite, kModePs4, "L1"));
    EXPECT_TRUE(storeSlotLabel(models::kKite, kModePs4, 22, "R1", kite, StickSelector::LStick));
    EXPECT_TRUE(storeSlotLabel(models::kKite, kModePs4, 22, "L2", kite, StickSelector::DPad));
    EXPECT_EQ(kite[kKiteDualStickIndex], labelToCode(models::kKite, kModePs4, "R1"));
    EXPECT_EQ(kite[kKiteDualDpadIndex], labelToCode(models::kKite, kModePs4, "L2"));

    Fern fern{};
    EXPECT_TRUE(storeSlotLabel(models::kFern, kModePs4, 30, "NC", fern, StickSelector::DPad));
    EXPECT_EQ(fern[40], labelToCode(models::kFern, kModePs4, "NC"));
    EXPECT_FALSE(storeSlotLabel(models::kFern, kModePs4, 33, "NC", fern, StickSelector::DPad));
    EXPECT_FALSE(storeSlotLabel(models::kFern, kModePs4, 0, "NC", fern, StickSelector::DPad));

    std::array<std::uint8_t, 55> notKite{};
    notKite.fill(0xAA);
    EXPECT_FALSE(collectPage(models::kKite, kModePs4, SlotLabels{}, notKite, false));
    EXPECT_FALSE(storeSlotLabel(models::kKite, kModePs4, 1, "L1", notKite, StickSelector::DPad));
    EXPECT_FALSE(collectPage(4, kModePs4, SlotLabels{}, notKite, false));
    EXPECT_TRUE(std::all_of(notKite.begin(), notKite.end(), [](std::uint8_t b) { return b == 0xAA; }));
    EXPECT_EQ(showRecord(models::kKite, kModePs4, notKite, StickSelector::DPad)[1], std::nullopt);
    EXPECT_FALSE(mossSwitchOn(std::span<const std::uint8_t>(notKite.data(), 54)));
}

} // namespace
} // namespace zav
