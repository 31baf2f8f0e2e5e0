#include "pages/KeyTables.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zav {
namespace {

constexpr int kModels[] = {models::kKite, models::kMoss, models::kFern};

int labelledCodes(int model, int mode) {
    int count = 0;
    for (int code = 0; code < 256; ++code) {
        if (!codeToLabel(model, mode, static_cast<std::uint8_t>(code)).empty()) {
            ++count;
        }
    }
    return count;
}

TEST(CodeTables, every_label_converts_back_to_its_code_in_every_model_and_mode) {
    for (int model : kModels) {
        for (int mode = 0; mode < kAssignModeCount; ++mode) {
            for (int code = 0; code < 256; ++code) {
                const std::string label = codeToLabel(model, mode, static_cast<std::uint8_t>(code));
                if (!label.empty()) {
                    EXPECT_EQ(labelToCode(model, mode, label), code)
                        << "model " << model << " mode " << mode << " label " << label;
                }
            }
        }
    }
}

// No code beyond those listed carries a label (the golden rows below cover the listed ones).
TEST(CodeTables, console_tables_have_no_stray_codes) {
    const int consoleCodes[] = {0, 31, 27, 31}; // indexed by model; the first lacks 30..33
    for (int model : kModels) {
        for (int mode = kModePs4; mode <= kModePcPad; ++mode) {
            EXPECT_EQ(labelledCodes(model, mode), consoleCodes[model]) << model << "/" << mode;
        }
    }
}

std::string joinedConsoleLabels(int model, int mode, int codes) {
    std::string joined;
    for (int code = 0; code < codes; ++code) {
        joined += (code ? "|" : "") + codeToLabel(model, mode, static_cast<std::uint8_t>(code));
    }
    return joined;
}

// Every console table in code order ("Χ" is the Greek capital chi).
TEST(CodeTables, console_tables_read_in_code_order) {
    EXPECT_EQ(joinedConsoleLabels(models::kKite, kModePs4, 36),
              "○|Χ|o|△|L1|R1|L2|R2|L3|R3|Wa|Qu|Sn|TP|NC|á|â|ß|à|é|ê|ç|è|ë|ì|í|î|Sh|Op|PS|||||Fn|");
    EXPECT_EQ(joinedConsoleLabels(models::kKite, kModePs3, 36),
              "○|Χ|o|△|L1|R1|L2|R2|L3|R3|Wa|Qu|Sn|TP|NC|á|â|ß|à|é|ê|ç|è|ë|ì|í|î|Sel|Sta|PS|||||Fn|");
    EXPECT_EQ(joinedConsoleLabels(models::kKite, kModePcPad, 36),
              "B|A|X|Y|LB|RB|LT|RT|LSB|RSB|Wa|Qu|Sn|TP|NC|á|â|ß|à|é|ê|ç|è|ë|ì|í|î|Bac|Sta|Home|||||Fn|");
    EXPECT_EQ(joinedConsoleLabels(models::kMoss, kModePs4, 28),
              "○|Χ|o|△|á|â|ß|à|L1|R1|L2|R2|L3|R3|TP|Sh|Op|PS|Fn|Wa|Qu|Sn|NC|é|ê|ç|è|");
    EXPECT_EQ(joinedConsoleLabels(models::kMoss, kModePs3, 28),
              "○|Χ|o|△|á|â|ß|à|L1|R1|L2|R2|L3|R3|TP|Sel|Sta|PS|Fn|Wa|Qu|Sn|NC|é|ê|ç|è|");
    EXPECT_EQ(joinedConsoleLabels(models::kMoss, kModePcPad, 28),
              "B|A|X|Y|á|â|ß|à|LB|RB|LT|RT|LSB|RSB|TP|Bac|Sta|Home|Fn|Wa|Qu|Sn|NC|é|ê|ç|è|");
    EXPECT_EQ(joinedConsoleLabels(models::kFern, kModePs4, 32),
              "○|Χ|o|△|L1|R1|L2|R2|L3|R3|Wa|Qu|NC|á|â|ß|à|é|ê|ç|è|ë|ì|í|î|Sn|Sh|Op|Fn|TP|PS|");
    EXPECT_EQ(joinedConsoleLabels(models::kFern, kModePs3, 32),
              "○|Χ|o|△|L1|R1|L2|R2|L3|R3|Wa|Qu|NC|á|â|ß|à|é|ê|ç|è|ë|ì|í|î|Sn|Sel|Sta|Fn|TP|PS|");
    EXPECT_EQ(joinedConsoleLabels(models::kFern, kModePcPad, 32),
              "B|A|X|Y|LB|RB|LT|RT|LSB|RSB|Wa|Qu|NC|á|â|ß|à|é|ê|ç|è|ë|ì|í|î|Sn|Bac|Sta|Fn|TP|Home|");
}

TEST(CodeTables, special_labels_have_each_models_own_codes) {
    EXPECT_EQ(labelToCode(models::kKite, kModePs4, "NC"), 14);
    EXPECT_EQ(labelToCode(models::kMoss, kModePs3, "NC"), 22);
    EXPECT_EQ(labelToCode(models::kFern, kModePcPad, "NC"), 12);
    EXPECT_EQ(labelToCode(models::kKite, kModePs4, "Fn"), 34);
    EXPECT_EQ(labelToCode(models::kMoss, kModePs4, "Fn"), 18);
    EXPECT_EQ(labelToCode(models::kFern, kModePs4, "Fn"), 28);
    for (int model : kModels) {
        EXPECT_EQ(labelToCode(model, kModeKeyboard, "NC"), 0);
    }
    // Keyboard "Fn" exists on the second model only.
    EXPECT_EQ(labelToCode(models::kMoss, kModeKeyboard, "Fn"), 255);
    EXPECT_EQ(labelToCode(models::kKite, kModeKeyboard, "Fn"), 0);
    EXPECT_EQ(labelToCode(models::kFern, kModeKeyboard, "Fn"), 0);
}

std::string joinedKeyboardLabels(int model) {
    std::string joined;
    for (int code = 0; code < 256; ++code) {
        const std::string label = codeToLabel(model, kModeKeyboard, static_cast<std::uint8_t>(code));
        if (!label.empty()) {
            joined += std::to_string(code) + "=" + label + " ";
        }
    }
    return joined;
}

TEST(CodeTables, keyboard_table_reads_in_code_order) {
    const std::string shared =
        "0=NC 4=A 5=B 6=C 7=D 8=E 9=F 10=G 11=H 12=I 13=J 14=K 15=L 16=M 17=N 18=O 19=P 20=Q 21=R "
        "22=S 23=T 24=U 25=V 26=W 27=X 28=Y 29=Z 30=1 31=2 32=3 33=4 34=5 35=6 36=7 37=8 38=9 39=0 "
        "40=Enter 41=Esc 42=BS 43=Tab 44=Space 45=- 46== 47=[ 48=] 49=\\ 51=; 52='' 53=~ 54=, 55=. "
        "56=? 57=Caps 58=F1 59=F2 60=F3 61=F4 62=F5 63=F6 64=F7 65=F8 66=F9 67=F10 68=F11 69=F12 "
        "70=Print 71=ScrLk 72=Pause 73=Ins 74=Home 75=PgUp 76=Del 77=End 78=PgDo 79=→ 80=← 81=↓ "
        "82=↑ 83=NumLk 84=Num/ 85=Num* 86=Num- 87=Num+ 88=NumEt 89=Num1 90=Num2 91=Num3 92=Num4 "
        "93=Num5 94=Num6 95=Num7 96=Num8 97=Num9 98=Num0 99=Num. 101=App 238=ScrUp 239=ScrDo "
        "240=LCtrl 241=LSft 242=LAlt 243=LWin 244=RCtrl 245=RSft 246=RAlt 247=RWin 248=MsL 249=MsR "
        "250=MsM 251=Back 252=Forwd 253=Sd+ 254=Sd- ";
    EXPECT_EQ(joinedKeyboardLabels(models::kKite), shared);
    EXPECT_EQ(joinedKeyboardLabels(models::kFern), shared);
    EXPECT_EQ(joinedKeyboardLabels(models::kMoss), shared + "255=Fn ");
}

TEST(CodeTables, unknown_labels_models_and_modes_give_empty_and_zero) {
    EXPECT_EQ(labelToCode(models::kKite, kModePs4, ""), 0);
    EXPECT_EQ(labelToCode(models::kKite, kModePs4, "nc"), 0); // case-sensitive
    EXPECT_EQ(labelToCode(models::kKite, kModePs4, "X"), 0);  // Latin X is not the cross
    EXPECT_EQ(labelToCode(models::kKite, kModeKeyboard, "a"), 0);
    EXPECT_EQ(labelToCode(models::kKite, kModePs4, "Sel"), 0); // PS3 only
    EXPECT_EQ(codeToLabel(0, kModePs4, 0), "");
    EXPECT_EQ(codeToLabel(4, kModeKeyboard, 4), "");
    EXPECT_EQ(codeToLabel(models::kKite, 4, 0), "");
    EXPECT_EQ(codeToLabel(models::kKite, -1, 0), "");
    EXPECT_EQ(labelToCode(models::kKite, 4, "B"), 0);
}

TEST(SlotMaps, listed_slots_and_indices_are_inverses) {
    for (int model : kModels) {
        const int keySlots = model == models::kMoss ? 23 : slotCount(model);
        for (int slot = 1; slot <= keySlots; ++slot) {
            EXPECT_EQ(indexToSlot(model, slotToIndex(model, slot)), slot) << model << "/" << slot;
        }
        for (int index = 0; index < 64; ++index) {
            const int slot = indexToSlot(model, index);
            if (slot != 0 && !(model == models::kKite && index == 43)) {
                EXPECT_EQ(slotToIndex(model, slot), index) << model << "/" << index;
            }
        }
    }
}

std::string joinedSlotIndices(int model) {
    std::string joined;
    for (int slot = 1; slot <= slotCount(model); ++slot) {
        joined += std::to_string(slotToIndex(model, slot)) + " ";
    }
    return joined;
}

// Slot 1 first; the second model's slots 24..28 are no key indices.
TEST(SlotMaps, indices_in_slot_order_and_out_of_range) {
    EXPECT_EQ(
        joinedSlotIndices(models::kKite),
        "17 19 4 0 15 18 24 3 7 11 20 21 2 9 14 22 23 5 16 13 6 8 32 31 12 29 30 33 34 35 36 44 45 46 47 ");
    EXPECT_EQ(joinedSlotIndices(models::kMoss),
              "0 1 2 3 4 13 5 6 7 8 14 15 16 17 18 19 20 25 26 9 10 11 12 0 0 0 0 0 ");
    EXPECT_EQ(joinedSlotIndices(models::kFern),
              "0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24 25 26 27 39 40 41 42 ");
    EXPECT_EQ(indexToSlot(models::kKite, 43), 22);
    for (int index : {1, 10, 25, 28, 37, 42}) {
        EXPECT_EQ(indexToSlot(models::kKite, index), 0) << index;
    }
    EXPECT_EQ(indexToSlot(models::kMoss, 27), 0); // left-stick bytes have their own panel
    EXPECT_EQ(indexToSlot(models::kFern, 38), 0);
    EXPECT_EQ(slotToIndex(models::kKite, 0), 0);
    EXPECT_EQ(slotToIndex(models::kKite, 36), 0);
    EXPECT_EQ(slotToIndex(models::kFern, 33), 0);
    EXPECT_EQ(slotToIndex(0, 1), 0);
    EXPECT_EQ(indexToSlot(4, 0), 0);
}

TEST(SlotControls, ids_follow_the_page_templates) {
    EXPECT_EQ(slotControlId(20), 1086);
    EXPECT_EQ(slotControlId(21), 1092);
    EXPECT_EQ(slotControlId(33), 1105);
    EXPECT_EQ(slotControlId(35), 1109);
    EXPECT_EQ(slotControlId(36), 0);
    for (int slot = 1; slot <= kMaxKeySlot; ++slot) {
        EXPECT_EQ(slotForControlId(slotControlId(slot)), slot);
    }
    EXPECT_EQ(slotForControlId(1104), 0);
    EXPECT_EQ(slotForControlId(0), 0);
}

TEST(SymbolLabels, only_the_square_and_the_arrows_become_symbols) {
    EXPECT_EQ(wingdingsToUnicode("o"), "\xE2\x96\xA1");        // white square
    EXPECT_EQ(wingdingsToUnicode("\xC3\x9F"), "\xE2\x86\x90"); // thin left
    EXPECT_EQ(wingdingsToUnicode("\xC3\xA8"), "\xE2\x9E\xA1"); // heavy right
    EXPECT_EQ(wingdingsToUnicode("\xC3\xAB"), "\xE2\xAC\x89"); // heavy up-left
    EXPECT_EQ(wingdingsToUnicode("Home"), "Home");
    int symbols = 0;
    for (int mode = 0; mode < kAssignModeCount; ++mode) {
        for (int code = 0; code < 256; ++code) {
            const std::string label = codeToLabel(models::kKite, mode, static_cast<std::uint8_t>(code));
            symbols += isWingdingsLabel(label) ? 1 : 0;
        }
    }
    EXPECT_EQ(symbols, 13 + 13 + 12); // PC-Pad has "X" for the square; keyboard labels are never symbols
}

} // namespace
} // namespace zav
