#include "profiles/ProfileLibrary.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileName.h"
#include "profiles/ProfileRecord.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <csignal>
#include <sys/resource.h>

namespace zav {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using Names = std::vector<std::string>;

// While it lives no file can grow, as on a full disk; this binds root too. Kept around one call, so that
// nothing else is written meanwhile.
class NoRoom {
public:
    NoRoom() {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit none = saved_;
        none.rlim_cur = 0;
        ::setrlimit(RLIMIT_FSIZE, &none);
    }
    ~NoRoom() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    NoRoom(const NoRoom&) = delete;
    NoRoom& operator=(const NoRoom&) = delete;

private:
    rlimit saved_{};
    void (*oldHandler_)(int) = nullptr;
};

template <typename Operation>
void withNoRoom(Operation operation) {
    NoRoom guard;
    operation();
}

// A page whose slot buttons hold one assignment that only collect() stores into the record.
class FakePage : public LibraryPage {
public:
    int model() const override { return model_; }
    int mode() const override { return mode_; }
    int slot() const override { return slot_; }
    std::span<std::uint8_t> record(int slot) override { return recordAt(work, model_, slot); }
    void collect() override { record(slot_)[0] = shownKey; }
    void resetAndShow(int slot) override {
        resets.push_back(slot);
        resetToDefaults(work, model_, mode_, slot);
    }
    void takeLoadedRecord(int mode, std::span<const std::uint8_t> loaded) override {
        appliedModes.push_back(mode);
        mode_ = mode;
        std::copy(loaded.begin(), loaded.end(), record(slot_).begin());
    }
    bool connected() const override { return connected_; }
    void showBlankSlotItem() override { ++blankShown; }
    void sendStatus() override { ++statusSent; }

    int model_ = models::kKite;
    int mode_ = 0;
    int slot_ = 0;
    bool connected_ = false;
    ProfileImage work{};
    std::uint8_t shownKey = 0x2C;
    std::vector<int> resets;
    std::vector<int> appliedModes;
    int blankShown = 0;
    int statusSent = 0;
};

// Records every message with the list as it stood at that moment.
class RecordingPrompter : public Prompter {
public:
    explicit RecordingPrompter(const ProfileListModel& list) : list_(list) {}
    void tell(TextId text) override {
        told.push_back(text);
        listAtTell.push_back(list_.items());
    }
    bool ask(TextId text) override {
        asked.push_back(text);
        return answer;
    }
    std::vector<TextId> told;
    std::vector<Names> listAtTell;
    std::vector<TextId> asked;
    bool answer = true;

private:
    const ProfileListModel& list_;
};

class Library : public testing::Test {
protected:
    static fs::path makeDocuments() {
        std::string pattern = (fs::temp_directory_path() / "zav-library-XXXXXX").string();
        return ::mkdtemp(pattern.data()) != nullptr ? fs::path(pattern) : fs::path();
    }
    void SetUp() override { ASSERT_FALSE(docs.empty()); }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(folder(page.mode_), fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(docs, ec);
    }

    fs::path folder(int mode) const {
        static const char* kModes[] = {"ProfilePS4", "ProfilePS3", "ProfilePC", "ProfileKBD"};
        static const char* kModels[] = {"", "ZAV KITE", "ZAV 5230", "ZAV 5270"};
        return docs / "ZAV Software" / kModels[page.model_] / kModes[mode];
    }
    // A profile file of the page's model in the folder of `mode`, made for `fileMode`.
    void put(const std::string& name, int mode, int fileMode, std::uint8_t firstKey = 0x11) {
        fs::create_directories(folder(mode));
        Bytes rec(static_cast<std::size_t>(recordSize(page.model_)), 0x04);
        rec[0] = firstKey;
        ASSERT_TRUE(writeProfileFile(folder(mode) / (name + ".zav4"), page.model_, rec, fileMode));
    }
    Bytes contents(const std::string& name) const {
        std::ifstream in(folder(page.mode_) / (name + ".zav4"), std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    bool has(const std::string& name) const { return fs::exists(folder(page.mode_) / (name + ".zav4")); }
    void choose(const std::string& name) {
        list.select(list.indexOf(name));
        lib.loadSelected();
    }

    fs::path docs = makeDocuments();
    FakePage page;
    ProfileListModel list;
    RecordingPrompter prompter{list};
    ProfileLibrary lib{docs, page, list, prompter};
};

TEST_F(Library, an_empty_ps3_folder_gets_the_first_run_profile_from_the_page_record) {
    page.mode_ = 1;
    page.work[0] = 0x5A;
    lib.buildListForStart();
    EXPECT_EQ(list.items(), Names{"Profile"});
    EXPECT_EQ(list.selected(), 0);
    EXPECT_EQ(list.text(), "Profile");
    EXPECT_EQ(lib.currentProfileName(), ""); // shown, not loaded
    EXPECT_EQ(lib.profileFolder(), folder(1) / "");
    const Bytes file = contents("Profile");
    ASSERT_EQ(file.size(), 128u);
    EXPECT_EQ(file[0], 0x5A);
    EXPECT_EQ(file[60], 0x01);  // mode
    EXPECT_EQ(file[127], 0x01); // model
    EXPECT_TRUE(prompter.told.empty());

    choose("Profile");
    ASSERT_EQ(lib.currentProfileName(), "Profile");
    lib.buildListForModeChange();
    EXPECT_EQ(lib.currentProfileName(), "");
    EXPECT_EQ(list.text(), "");
}

TEST_F(Library, folders_follow_model_and_mode_and_a_missing_documents_folder_is_made) {
    page.model_ = models::kMoss;
    EXPECT_EQ(lib.modeFolder(3), docs / "ZAV Software" / "ZAV 5230" / "ProfileKBD" / "");
    page.model_ = models::kFern;
    EXPECT_EQ(lib.modeFolder(2), docs / "ZAV Software" / "ZAV 5270" / "ProfilePC" / "");

    // A fresh account: no documents folder yet. The whole path is made and the first profile written.
    ProfileLibrary fresh(docs / "absent" / "Documents", page, list, prompter);
    fresh.buildList();
    EXPECT_EQ(list.items(), Names{"Profile"});
    EXPECT_TRUE(fs::is_regular_file(docs / "absent" / "Documents" / "ZAV Software" / "ZAV 5270" /
                                    "ProfilePS4" / "Profile.zav4"));

    // No documents folder known at all: nothing is made anywhere, nothing is listed.
    const fs::path before = fs::current_path();
    fs::current_path(docs);
    ProfileLibrary nowhere(fs::path(), page, list, prompter);
    nowhere.buildList();
    fs::current_path(before);
    EXPECT_TRUE(list.items().empty());
    EXPECT_FALSE(fs::exists(docs / "ZAV Software"));

    // Something that is not a folder where the mode folder goes: no list and no first-run file, and
    // New, Copy and Save say that they could not save.
    fs::create_directories(folder(0).parent_path());
    std::ofstream(folder(0)).put('x');
    lib.buildList();
    EXPECT_TRUE(list.items().empty());
    EXPECT_EQ(list.text(), "");
    lib.newProfile();
    list.setText("Typed");
    lib.copyProfile();
    lib.saveProfile();
    list.setText("");
    lib.saveProfile();
    EXPECT_EQ(prompter.told, std::vector<TextId>(4, TextId::SaveFailed));
    EXPECT_TRUE(list.items().empty());
}

TEST_F(Library, officials_head_the_ps4_list_newest_found_first_and_new_names_follow_them) {
    const Names officials = ProfileLibrary::officialNames(models::kKite);
    ASSERT_EQ(officials.size(), 11u);
    EXPECT_EQ(officials.front(), "ZAV_A1_OW1");
    EXPECT_EQ(officials.back(), "ZAV_A1_R6S_2");
    for (const std::string& name : officials) {
        put(name, 0, 0);
    }
    put("Fast", 0, 0);
    put("zav_a1_ow1", 0, 0); // officials match case-sensitively
    put("ZAV_B1_OW1", 0, 0); // another model's official
    lib.buildList();

    Names expected;
    for (const auto& entry : fs::directory_iterator(folder(0))) {
        const std::string name = entry.path().stem().string();
        if (std::find(officials.begin(), officials.end(), name) != officials.end()) {
            expected.insert(expected.begin(), name);
        } else {
            expected.push_back(name);
        }
    }
    EXPECT_EQ(list.items(), expected);
    EXPECT_EQ(std::set<std::string>(list.items().begin(), list.items().begin() + 11),
              std::set<std::string>(officials.begin(), officials.end()));

    lib.newProfile();
    EXPECT_EQ(list.items()[11], "Profile");
    EXPECT_EQ(list.selected(), 11);
    EXPECT_EQ(lib.currentProfileName(), "Profile");
}

TEST_F(Library, new_names_go_to_the_end_of_a_short_ps4_list_and_first_elsewhere) {
    put("A", 0, 0);
    put("B", 0, 0);
    lib.buildList();
    lib.newProfile();
    EXPECT_EQ(list.items().back(), "Profile");
    EXPECT_EQ(list.selected(), 2);

    page.mode_ = 1;
    put("C", 1, 1);
    lib.buildList();
    lib.copyProfile();
    EXPECT_EQ(list.items(), (Names{"C(1)", "C"}));
    EXPECT_EQ(list.selected(), 0);
}

TEST_F(Library, save_as_new_asks_numbers_after_existing_names_and_stores_the_collected_page) {
    put("Profile", 0, 0);
    put("Profile0001", 0, 0);
    lib.buildList();
    list.setText("");
    prompter.answer = false;
    lib.saveProfile();
    EXPECT_FALSE(has("Profile0002"));

    prompter.answer = true;
    lib.saveProfile();
    EXPECT_EQ(prompter.asked, (std::vector<TextId>{TextId::SaveAsNewQuestion, TextId::SaveAsNewQuestion}));
    ASSERT_TRUE(has("Profile0002"));
    EXPECT_EQ(contents("Profile0002")[0], page.shownKey);
    EXPECT_EQ(lib.currentProfileName(), "Profile0002");
    EXPECT_TRUE(prompter.told.empty());

    fs::remove(folder(0) / "Profile.zav4");
    EXPECT_EQ(lib.findFreeName("Profile", NameStyle::NewProfile), "Profile");
    for (int n = 3; n <= 999; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "Profile%04d.zav4", n);
        std::ofstream(folder(0) / name).put('x');
    }
    put("Profile", 0, 0);
    EXPECT_EQ(lib.findFreeName("Profile", NameStyle::NewProfile), "Profile1000");
}

TEST_F(Library, copy_numbers_after_the_list_text_and_stores_the_collected_page) {
    put("Fast", 0, 0, 0x01);
    put("Fast(1)", 0, 0);
    lib.buildListForStart();
    list.setText("Fast");
    lib.copyProfile();
    ASSERT_TRUE(has("Fast(2)"));
    EXPECT_EQ(contents("Fast(2)")[0], page.shownKey);
    EXPECT_EQ(list.text(), "Fast(2)");
    EXPECT_EQ(lib.currentProfileName(), "Fast(2)");

    list.setText("");
    lib.copyProfile();
    EXPECT_EQ(prompter.told, std::vector<TextId>{TextId::PleaseChooseFile});
    EXPECT_EQ(lib.currentProfileName(), "");

    // Twenty characters limit typing only: copies of long names are made, and copied again.
    list.setText("ABCDEFGHIJKLMNOPQRST");
    lib.copyProfile();
    EXPECT_TRUE(has("ABCDEFGHIJKLMNOPQRST(1)"));
    lib.copyProfile();
    EXPECT_TRUE(has("ABCDEFGHIJKLMNOPQRST(1)(1)"));
    EXPECT_EQ(lib.currentProfileName(), "ABCDEFGHIJKLMNOPQRST(1)(1)");
    EXPECT_EQ(prompter.told, std::vector<TextId>{TextId::PleaseChooseFile});
}

TEST_F(Library, save_under_a_typed_name_renames_and_tells_before_the_list_changes) {
    lib.buildListForStart(); // first run
    choose("Profile");
    list.setText("Sniper");
    lib.saveProfile();
    EXPECT_TRUE(has("Sniper"));
    EXPECT_FALSE(has("Profile"));
    EXPECT_EQ(contents("Sniper")[0], page.shownKey);
    EXPECT_EQ(prompter.told, std::vector<TextId>{TextId::SaveSucceeded});
    EXPECT_EQ(prompter.listAtTell.back(), Names{"Profile"});
    EXPECT_EQ(list.items(), Names{"Sniper"});
    EXPECT_EQ(list.selected(), 0);
    EXPECT_EQ(lib.currentProfileName(), "Sniper");

    put("Fast", 0, 0, 0x01);
    const Bytes fast = contents("Fast");
    list.setText("Fast");
    lib.saveProfile();
    EXPECT_EQ(prompter.told.back(), TextId::FileAlreadyExists);
    EXPECT_EQ(contents("Fast"), fast);
    EXPECT_TRUE(has("Sniper"));
    EXPECT_EQ(lib.currentProfileName(), "Sniper");
}

TEST_F(Library, save_under_the_current_name_overwrites_it_and_reports_a_failed_write) {
    put("Mine", 0, 0, 0x01);
    lib.buildListForStart();
    choose("Mine");
    ASSERT_EQ(list.text(), "Mine");
    lib.saveProfile();
    EXPECT_EQ(contents("Mine")[0], page.shownKey);
    EXPECT_EQ(prompter.told, std::vector<TextId>{TextId::SaveSucceeded});
    EXPECT_EQ(list.items(), Names{"Mine"});
    EXPECT_EQ(lib.currentProfileName(), "Mine");

    const Bytes before = contents("Mine");
    page.shownKey = 0x33;
    withNoRoom([&] { lib.saveProfile(); });
    EXPECT_EQ(prompter.told.back(), TextId::SaveFailed);
    EXPECT_EQ(contents("Mine"), before);

    // A rename that cannot write keeps the old file and the list.
    list.setText("Renamed");
    withNoRoom([&] { lib.saveProfile(); });
    EXPECT_EQ(prompter.told.back(), TextId::SaveFailed);
    EXPECT_TRUE(has("Mine"));
    EXPECT_FALSE(has("Renamed"));
    EXPECT_EQ(list.items(), Names{"Mine"});
    EXPECT_EQ(lib.currentProfileName(), "Mine");
}

TEST_F(Library, new_copy_and_save_as_new_that_cannot_write_say_so_and_leave_page_and_list_alone) {
    put("Fast", 0, 0);
    lib.buildListForStart();
    choose("Fast");
    page.work.fill(0x5C); // an edit not saved yet
    const ProfileImage edited = page.work;
    withNoRoom([&] { lib.newProfile(); });
    list.setText("Fast");
    withNoRoom([&] { lib.copyProfile(); });
    list.setText("");
    withNoRoom([&] { lib.saveProfile(); });
    EXPECT_EQ(prompter.told, std::vector<TextId>(3, TextId::SaveFailed));
    EXPECT_TRUE(page.resets.empty());
    page.work[0] = edited[0]; // Copy and Save collect the shown key into the record
    EXPECT_EQ(page.work, edited);
    EXPECT_EQ(list.items(), Names{"Fast"});
    EXPECT_EQ(lib.currentProfileName(), "Fast");
    // No temporary file stays behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder(0)), fs::directory_iterator()), 1);
}

TEST_F(Library, official_profiles_are_protected_in_every_mode) {
    for (int mode = 0; mode < 4; ++mode) {
        page.mode_ = mode;
        put("ZAV_A1_OW1", mode, mode, 0x01);
        const Bytes official = contents("ZAV_A1_OW1");
        lib.buildList();
        choose("ZAV_A1_OW1");
        ASSERT_EQ(lib.currentProfileName(), "ZAV_A1_OW1") << "mode " << mode;
        list.setText("Other");
        lib.saveProfile();
        list.setText("ZAV_A1_OW1");
        lib.deleteProfile();
        EXPECT_EQ(prompter.told,
                  (std::vector<TextId>{TextId::OfficialProfileCannotChange, TextId::ProfileCannotBeDeleted}))
            << "mode " << mode;
        EXPECT_TRUE(prompter.asked.empty());
        EXPECT_EQ(contents("ZAV_A1_OW1"), official);
        EXPECT_FALSE(has("Other"));
        prompter.told.clear();
    }
}

TEST_F(Library, delete_removes_the_typed_name_and_its_file_after_asking) {
    put("A", 1, 1);
    put("B", 1, 1);
    put("zav_a1_ow1", 1, 1);
    page.mode_ = 1;
    lib.buildList();
    list.select(list.indexOf("B"));
    list.setText("A");
    prompter.answer = false;
    lib.deleteProfile();
    EXPECT_TRUE(has("A"));

    prompter.answer = true;
    lib.deleteProfile();
    EXPECT_FALSE(has("A"));
    EXPECT_EQ(list.indexOf("A"), -1);
    EXPECT_NE(list.indexOf("B"), -1);
    EXPECT_EQ(list.selected(), 0);
    EXPECT_EQ(lib.currentProfileName(), ""); // item 0 is shown, not loaded

    // A lower-case official name is an ordinary profile; a name without a file still loses its item.
    fs::remove(folder(1) / "B.zav4");
    for (const char* name : {"zav_a1_ow1", "B"}) {
        list.setText(name);
        lib.deleteProfile();
    }
    EXPECT_TRUE(list.items().empty());
    EXPECT_FALSE(has("zav_a1_ow1"));
    EXPECT_EQ(lib.currentProfileName(), "");
    EXPECT_EQ(prompter.asked.size(), 4u);
    EXPECT_TRUE(prompter.told.empty());
}

TEST_F(Library, a_profile_that_cannot_be_removed_keeps_its_item) {
    put("Kept", 0, 0);
    lib.buildList();
    fs::create_directories(folder(0) / "Stuck.zav4" / "inside");
    list.setText("Stuck");
    lib.deleteProfile();
    EXPECT_EQ(prompter.told, std::vector<TextId>{TextId::ProfileCannotBeDeleted});
    EXPECT_TRUE(fs::exists(folder(0) / "Stuck.zav4" / "inside"));

    fs::permissions(folder(0), fs::perms::owner_read | fs::perms::owner_exec);
    if (std::ofstream(folder(0) / "probe").is_open()) {
        GTEST_SKIP() << "running with privileges that ignore permission bits";
    }
    list.select(0);
    lib.deleteProfile();
    EXPECT_TRUE(has("Kept"));
    EXPECT_EQ(list.items(), Names{"Kept"});
    EXPECT_EQ(prompter.told.back(), TextId::ProfileCannotBeDeleted);
}

TEST_F(Library, names_that_cannot_be_files_are_refused) {
    for (const char* good :
         {"Sniper", "a b", "ＡＢＣ", "COM10", "CONSOLE", "x.CON", "...", "Fast(1)", " lead"}) {
        EXPECT_TRUE(validProfileName(good)) << good;
    }
    for (const char c : std::string_view("/\\<>:\"|?*\t\x7f\0", 12)) {
        EXPECT_FALSE(validProfileName(std::string("a") + c + "b")) << int(c);
    }
    for (const char* bad :
         {"", "   ", "\u3000", ".", "..", " .. ", "c1\u0085", "CON", "con", "Nul.txt", "lpt9.a.b", "com1 ",
          "AUX .x", "123456789012345678901", "\xC3", "\xC0\xAF", "\xED\xA0\x80"}) {
        EXPECT_FALSE(validProfileName(bad)) << bad;
    }
    EXPECT_FALSE(validProfileName("\xF4\x90\x80\x80")); // beyond U+10FFFF
    // Twenty characters in forty bytes.
    std::string twenty;
    for (int i = 0; i < 20; ++i) {
        twenty += "É";
    }
    EXPECT_TRUE(validProfileName(twenty));
    EXPECT_FALSE(validProfileName(twenty + "É"));

    lib.buildListForStart();
    std::ofstream(docs / "ZAV Software" / "x.zav4").put('x');
    for (const char* typed : {"../x", "CON", "../../x"}) {
        list.setText(typed);
        lib.saveProfile();
        lib.deleteProfile();
        lib.copyProfile();
    }
    EXPECT_EQ(prompter.told, std::vector<TextId>(9, TextId::InvalidProfileName));
    EXPECT_TRUE(fs::exists(docs / "ZAV Software" / "x.zav4"));
    EXPECT_FALSE(fs::exists(docs / "ZAV Software" / "ZAV KITE" / "x.zav4"));
    EXPECT_FALSE(fs::exists(docs / "x.zav4"));
    EXPECT_FALSE(has("CON"));
    EXPECT_TRUE(prompter.asked.empty());
}

TEST_F(Library, loading_takes_the_record_mode_and_writer_of_the_file) {
    fs::create_directories(folder(0));
    std::ofstream(folder(0) / "Empty.zav4");
    put("Kite", 0, 0, 0x21);
    ASSERT_TRUE(writeProfileFile(folder(0) / "Moss.zav4", models::kMoss, Bytes(55, 0x04), 0));
    lib.buildList();

    choose("Kite");
    EXPECT_EQ(page.work[0], 0x21);
    EXPECT_EQ(lib.loadedFileModel(), 1);
    EXPECT_EQ(lib.currentProfileName(), "Kite");
    EXPECT_EQ(page.appliedModes, std::vector<int>{0});
    EXPECT_EQ(page.blankShown, 1);

    page.connected_ = true;
    choose("Moss");
    EXPECT_EQ(lib.loadedFileModel(), 2);
    EXPECT_EQ(page.blankShown, 1);
    choose("Empty");
    EXPECT_EQ(lib.loadedFileModel(), 1);
    EXPECT_EQ(Bytes(page.work.begin(), page.work.begin() + 60), Bytes(60, 0));
}

TEST_F(Library, a_file_with_a_mode_byte_beyond_three_leaves_the_page_as_it_was) {
    put("Odd", 0, 4);
    lib.buildListForStart();
    page.work.fill(0xAA);
    const ProfileImage before = page.work;
    choose("Odd");
    EXPECT_EQ(prompter.told, std::vector<TextId>{TextId::ProfileCannotBeLoaded});
    EXPECT_EQ(page.work, before);
    EXPECT_TRUE(page.appliedModes.empty());
    EXPECT_EQ(page.blankShown, 0);
    EXPECT_EQ(lib.loadedFileModel(), 0);
    EXPECT_EQ(lib.profileFolder(), folder(0) / "");
}

TEST_F(Library, a_profile_made_for_another_mode_keeps_its_folder_and_list) {
    put("Pad", 0, 2, 0x31);
    put("Other", 2, 2);
    lib.buildListForStart();
    const Names before = list.items();
    choose("Pad");
    EXPECT_EQ(page.mode_, 2);
    EXPECT_EQ(lib.profileFolder(), folder(0) / "");
    EXPECT_EQ(list.items(), before);
    EXPECT_EQ(list.text(), "Pad");
    EXPECT_EQ(lib.currentProfileName(), "Pad");

    // Save writes the file it came from, now holding the mode of the page.
    lib.saveProfile();
    EXPECT_TRUE(fs::exists(folder(0) / "Pad.zav4"));
    EXPECT_FALSE(fs::exists(folder(2) / "Pad.zav4"));
}

TEST_F(Library, new_resets_slot_zero_but_a_first_kite_profile_comes_from_the_page_slot) {
    page.slot_ = 2;
    page.work.fill(0xAA);
    lib.buildList();
    list.setText("");
    lib.newProfile();
    EXPECT_EQ(page.resets, std::vector<int>{0});
    EXPECT_EQ(page.slot_, 2);
    Bytes slot0(recordAt(page.work, 1, 0).begin(), recordAt(page.work, 1, 0).end());
    Bytes loaded(60);
    int mode = -1;
    int marker = -1;
    ASSERT_TRUE(readProfileFile(folder(0) / "Profile0001.zav4", 1, loaded, mode, marker));
    EXPECT_EQ(loaded, slot0);

    // With an empty list and edit field, KITE takes its own slot and FERN slot 0.
    for (int model : {models::kKite, models::kFern}) {
        page.model_ = model;
        page.resets.clear();
        lib.buildList();
        while (list.count() > 0) {
            fs::remove(folder(0) / (list.items()[0] + ".zav4"));
            list.removeAt(0);
        }
        list.select(0);
        lib.newProfile();
        EXPECT_EQ(page.resets, std::vector<int>{model == models::kKite ? 2 : 0});
        EXPECT_EQ(list.items(), Names{"Profile"});
    }

    lib.resetProfile();
    EXPECT_EQ(page.resets.back(), 2);
    EXPECT_EQ(page.statusSent, 1);
    EXPECT_EQ(lib.currentProfileName(), "Profile");
}

// What the list merely shows (after start, a mode change or a Delete) is never current: Save under a
// typed name then makes a new profile and deletes or overwrites nothing.
TEST_F(Library, save_never_renames_or_overwrites_a_profile_that_was_only_shown) {
    put("A", 0, 0, 0x0A);
    put("B", 0, 0, 0x0B);
    lib.buildListForStart();
    const std::string first = list.text();
    ASSERT_FALSE(first.empty());
    const Bytes firstBefore = contents(first);
    list.setText("Sniper");
    lib.saveProfile();
    EXPECT_EQ(prompter.told, std::vector<TextId>{TextId::SaveSucceeded});
    EXPECT_TRUE(has("A"));
    EXPECT_TRUE(has("B"));
    EXPECT_EQ(contents("Sniper")[0], page.shownKey);
    EXPECT_EQ(lib.currentProfileName(), "Sniper");

    // Typing the shown item's own name is not an overwrite of it.
    lib.buildListForModeChange();
    list.setText(first);
    lib.saveProfile();
    EXPECT_EQ(prompter.told.back(), TextId::FileAlreadyExists);
    EXPECT_EQ(contents(first), firstBefore);

    // One Delete and one Save remove one profile, never two.
    choose("A");
    lib.deleteProfile();
    EXPECT_FALSE(has("A"));
    EXPECT_EQ(lib.currentProfileName(), "");
    const std::string shown = list.text();
    list.setText("Renamed");
    lib.saveProfile();
    EXPECT_TRUE(has(shown));
    EXPECT_TRUE(has("Renamed"));

    // Deleting another profile leaves the loaded one current.
    choose("B");
    list.setText("Sniper");
    lib.deleteProfile();
    EXPECT_EQ(lib.currentProfileName(), "B");
}

// A rename whose old file stays (another user's file in a shared folder; here a folder put in its place)
// says so, and both stay listed.
TEST_F(Library, a_rename_that_cannot_remove_the_old_file_says_so_and_keeps_both) {
    put("Old", 0, 0);
    lib.buildListForStart();
    choose("Old");
    fs::remove(folder(0) / "Old.zav4");
    fs::create_directories(folder(0) / "Old.zav4" / "inside");
    list.setText("New");
    lib.saveProfile();
    EXPECT_EQ(prompter.told, std::vector<TextId>{TextId::OldProfileNotDeleted});
    EXPECT_TRUE(has("New"));
    EXPECT_TRUE(fs::exists(folder(0) / "Old.zav4" / "inside"));
    EXPECT_NE(list.indexOf("Old"), -1);
    EXPECT_EQ(list.text(), "New");
    EXPECT_EQ(lib.currentProfileName(), "New");
}

// Names that are not UTF-8 are listed as the file system gives them; only what is shown is mended.
TEST_F(Library, names_that_are_not_utf8_keep_their_bytes_through_every_operation) {
    const std::string raw = "Bad\xFF\xFEName";
    put(raw, 0, 0, 0x4B);
    lib.buildListForStart();
    ASSERT_EQ(list.items(), Names{raw});
    const std::string shown = ProfileListModel::shownName(raw);
    EXPECT_EQ(shown, "Bad\xEF\xBF\xBD\xEF\xBF\xBDName");
    EXPECT_EQ(ProfileListModel::shownName("Caf\xC3\xA9"), "Caf\xC3\xA9");
    EXPECT_EQ(ProfileListModel::shownName("\xC0\xAF"), "\xEF\xBF\xBD\xEF\xBF\xBD"); // overlong slash

    // What the edit field shows stands for the file's own name.
    list.setShownText(shown);
    EXPECT_EQ(list.text(), raw);
    choose(raw);
    EXPECT_EQ(page.work[0], 0x4B);
    EXPECT_EQ(lib.currentProfileName(), raw);
    list.setShownText(shown);
    lib.saveProfile();
    EXPECT_EQ(prompter.told, std::vector<TextId>{TextId::SaveSucceeded});
    EXPECT_EQ(contents(raw)[0], page.shownKey);
    list.setShownText(shown);
    lib.copyProfile();
    EXPECT_TRUE(has(raw + "(1)"));
    list.select(list.indexOf(raw));
    list.setShownText(shown);
    lib.deleteProfile();
    EXPECT_FALSE(has(raw));
    // No file was ever made under the mended name.
    for (const auto& entry : fs::directory_iterator(folder(0))) {
        EXPECT_EQ(entry.path().filename().string().find("\xEF\xBF\xBD"), std::string::npos);
    }
}

// A link in the folder is a profile only when it leads to a regular file in that same folder; it is then
// read there, and a save puts a file of its own in the link's place.
TEST_F(Library, links_count_only_when_they_lead_to_a_file_of_the_same_folder) {
    put("Real", 0, 0, 0x52);
    put("Elsewhere", 1, 1);
    const fs::path outside = docs / "secret";
    std::ofstream(outside) << "not a profile";
    fs::create_symlink("Real.zav4", folder(0) / "In.zav4");
    fs::create_symlink(outside, folder(0) / "Out.zav4");
    fs::create_symlink("../ProfilePS3/Elsewhere.zav4", folder(0) / "Up.zav4");
    fs::create_symlink("Gone.zav4", folder(0) / "Dangling.zav4");
    lib.buildListForStart();
    EXPECT_EQ(std::set<std::string>(list.items().begin(), list.items().end()),
              (std::set<std::string>{"Real", "In"}));

    choose("In");
    EXPECT_EQ(page.work[0], 0x52);
    EXPECT_EQ(lib.currentProfileName(), "In");
    lib.saveProfile();
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(folder(0) / "In.zav4")));
    EXPECT_EQ(contents("Real")[0], 0x52);

    // A name held by a link that is not listed is taken, and nothing is written through it.
    list.setText("Out");
    lib.saveProfile();
    EXPECT_EQ(prompter.told.back(), TextId::FileAlreadyExists);
    std::string text;
    std::getline(std::ifstream(outside), text);
    EXPECT_EQ(text, "not a profile");

    // A listed link turned elsewhere later is not read.
    fs::remove(folder(0) / "In.zav4");
    fs::create_symlink(outside, folder(0) / "In.zav4");
    prompter.told.clear();
    page.work.fill(0xAA);
    const ProfileImage before = page.work;
    choose("In");
    EXPECT_EQ(prompter.told, std::vector<TextId>{TextId::ProfileCannotBeLoaded});
    EXPECT_EQ(page.work, before);
}

// A listed file that cannot be loaded says so and leaves the page alone.
TEST_F(Library, a_listed_file_that_cannot_be_loaded_says_so) {
    put("Seven", 0, 7);
    put("Vanishing", 0, 0);
    lib.buildListForStart();
    fs::remove(folder(0) / "Vanishing.zav4");
    page.work.fill(0xAA);
    const ProfileImage before = page.work;
    choose("Seven");
    choose("Vanishing");
    EXPECT_EQ(prompter.told, std::vector<TextId>(2, TextId::ProfileCannotBeLoaded));
    EXPECT_EQ(page.work, before);
    EXPECT_TRUE(page.appliedModes.empty());
    EXPECT_EQ(lib.currentProfileName(), "");
}

// What the page makes from its own record is its own model's, so Write takes it; a copy of another
// model's profile stays that model's.
TEST_F(Library, a_profile_this_page_made_is_this_pages_model) {
    lib.buildListForStart();
    lib.newProfile();
    EXPECT_EQ(lib.loadedFileModel(), models::kKite);

    ProfileLibrary other(docs, page, list, prompter);
    other.buildListForStart();
    list.setText("");
    other.saveProfile();
    EXPECT_EQ(other.loadedFileModel(), models::kKite);

    ProfileLibrary third(docs, page, list, prompter);
    third.buildList();
    ASSERT_TRUE(writeProfileFile(folder(0) / "Moss.zav4", models::kMoss, Bytes(55, 0x04), 0));
    third.buildList();
    list.select(list.indexOf("Moss"));
    third.loadSelected();
    third.copyProfile();
    EXPECT_EQ(third.loadedFileModel(), models::kMoss);
}

TEST(ProfileListModel, edits_keep_the_selection_on_its_item) {
    ProfileListModel list;
    list.append("A");
    list.append("B");
    EXPECT_FALSE(list.insertAt(3, "X"));
    list.select(1);
    ASSERT_TRUE(list.insertAt(0, "C"));
    EXPECT_EQ(list.selected(), 2);
    list.setText("typed");
    EXPECT_EQ(list.selected(), 2);
    ASSERT_TRUE(list.remove("B"));
    EXPECT_EQ(list.selected(), -1);
    EXPECT_EQ(list.text(), "typed");
    list.select(5);
    EXPECT_EQ(list.selected(), -1);
    EXPECT_EQ(list.text(), "");
}

} // namespace
} // namespace zav
