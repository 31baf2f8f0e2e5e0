#include "pages/KeyTables.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>

namespace zav {
namespace {

constexpr int kModels[] = {models::kKite, models::kMoss, models::kFern};

std::string label(int model, int mode, int code) {
    return codeToLabel(model, mode, static_cast<std::uint8_t>(code));
}

// Every label names one code; the console modes label the same codes and keep the adapter's functions.
TEST(CodeTables, labels_and_codes_convert_both_ways_and_one_console_row_per_model_is_golden) {
    for (int model : kModels) {
        for (int mode = 0; mode < kAssignModeCount; ++mode) {
            SCOPED_TRACE(testing::Message() << "model " << model << " mode " << mode);
            for (int code = 0; code < 256; ++code) {
                const std::string l = label(model, mode, code);
                if (!l.empty()) {
                    EXPECT_EQ(labelToCode(model, mode, l), code) << l;
                }
                if (mode != kModeKeyboard) {
                    EXPECT_EQ(l.empty(), label(model, kModePs4, code).empty()) << code;
                }
            }
            for (std::string_view own : {kLabelNoFunction, kLabelFn, kLabelWalk, kLabelQuick, kLabelSnipe}) {
                if (mode != kModeKeyboard) {
                    EXPECT_EQ(labelToCode(model, mode, own), labelToCode(model, kModePs4, own)) << own;
                }
            }
        }
        // "Fn" in keyboard mode exists on the second model only, and "NC" is code 0 there.
        EXPECT_EQ(labelToCode(model, kModeKeyboard, kLabelFn), model == models::kMoss ? 255 : 0);
        EXPECT_EQ(labelToCode(model, kModeKeyboard, kLabelNoFunction), 0);
    }

    // One golden row per model: the PlayStation 4 table in code order ("Χ" is the Greek capital chi).
    const std::tuple<int, int, std::string> rows[] = {
        {models::kKite, 36,
         "○|Χ|o|△|L1|R1|L2|R2|L3|R3|Wa|Qu|Sn|TP|NC|á|â|ß|à|é|ê|ç|è|ë|ì|í|î|Sh|Op|PS|||||Fn|"},
        {models::kMoss, 28, "○|Χ|o|△|á|â|ß|à|L1|R1|L2|R2|L3|R3|TP|Sh|Op|PS|Fn|Wa|Qu|Sn|NC|é|ê|ç|è|"},
        {models::kFern, 32, "○|Χ|o|△|L1|R1|L2|R2|L3|R3|Wa|Qu|NC|á|â|ß|à|é|ê|ç|è|ë|ì|í|î|Sn|Sh|Op|Fn|TP|PS|"}};
    for (const auto& [model, codes, golden] : rows) {
        std::string joined;
        for (int code = 0; code < codes; ++code) {
            joined += (code ? "|" : "") + label(model, kModePs4, code);
        }
        EXPECT_EQ(joined, golden) << model;
    }
}

// Keyboard codes are the usage numbers of the keys: runs of letters, digits, F keys and keypad digits.
TEST(CodeTables, keyboard_codes_follow_the_key_usage_numbers_and_unknowns_give_empty_and_zero) {
    for (int model : kModels) {
        for (int i = 0; i < 26; ++i) {
            EXPECT_EQ(labelToCode(model, kModeKeyboard, std::string(1, char('A' + i))), 4 + i);
        }
        for (int i = 0; i < 10; ++i) {
            const std::string digit(1, char('0' + (i + 1) % 10));
            EXPECT_EQ(labelToCode(model, kModeKeyboard, digit), 30 + i);
            EXPECT_EQ(labelToCode(model, kModeKeyboard, "Num" + digit), 89 + i);
        }
        for (int i = 0; i < 12; ++i) {
            EXPECT_EQ(labelToCode(model, kModeKeyboard, "F" + std::to_string(i + 1)), 58 + i);
        }
        for (int code = 0; code < 255; ++code) {
            EXPECT_EQ(label(model, kModeKeyboard, code), label(models::kKite, kModeKeyboard, code)) << code;
        }
    }

    for (const char* unknown : {"", "nc", "X", "Sel"}) { // case-sensitive; Latin X is not the cross
        EXPECT_EQ(labelToCode(models::kKite, kModePs4, unknown), 0) << unknown;
    }
    EXPECT_EQ(labelToCode(models::kKite, kModeKeyboard, "a"), 0);
    EXPECT_EQ(codeToLabel(0, kModePs4, 0), "");
    EXPECT_EQ(codeToLabel(4, kModeKeyboard, 4), "");
    for (int mode : {-1, kAssignModeCount}) {
        EXPECT_EQ(codeToLabel(models::kKite, mode, 0), "");
        EXPECT_EQ(labelToCode(models::kKite, mode, "A"), 0); // "A" is a PC-Pad label
    }
}

// Each slot has its own key index in the key block; both indices of the first model's slot 22 lead back.
TEST(SlotMaps, slots_indices_and_slot_statics_are_inverses) {
    for (int model : kModels) {
        const int keySlots = model == models::kMoss ? 23 : slotCount(model);
        for (int slot = 1; slot <= keySlots; ++slot) {
            const int index = slotToIndex(model, slot);
            EXPECT_LT(index, keyBlockSize(model)) << model << "/" << slot;
            EXPECT_EQ(indexToSlot(model, index), slot) << model << "/" << slot;
        }
        for (int slot = keySlots + 1; slot <= slotCount(model) + 1; ++slot) {
            EXPECT_EQ(slotToIndex(model, slot), 0) << model << "/" << slot;
        }
        EXPECT_EQ(slotToIndex(model, 0), 0);
    }
    EXPECT_EQ(indexToSlot(models::kKite, kKiteDualStickIndex), kKiteDualSlot);
    EXPECT_EQ(slotToIndex(models::kKite, kKiteDualSlot), kKiteDualDpadIndex);
    EXPECT_EQ(slotToIndex(0, 1), 0);
    EXPECT_EQ(indexToSlot(4, 0), 0);

    std::set<int> ids;
    for (int slot = 1; slot <= kMaxKeySlot; ++slot) {
        EXPECT_TRUE(ids.insert(slotControlId(slot)).second) << slot;
        EXPECT_EQ(slotForControlId(slotControlId(slot)), slot);
    }
    EXPECT_EQ(slotControlId(kMaxKeySlot + 1), 0);
    EXPECT_EQ(slotForControlId(kSlotButtonControlId), 0);
    EXPECT_EQ(slotForControlId(0), 0);
}

} // namespace
} // namespace zav
