#include "profiles/ProfileLibrary.h"

#include "profiles/ModelDescription.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileName.h"
#include "profiles/ProfileRecord.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <system_error>

namespace zav {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kSoftwareFolder = "ZAV Software";

// Indexed by AssignMode.
constexpr std::array<std::string_view, kAssignModeCount> kModeFolders = {
    "ProfilePS4",
    "ProfilePS3",
    "ProfilePC",
    "ProfileKBD",
};

constexpr std::array<std::string_view, ProfileLibrary::kOfficialCount> kOfficialSuffixes = {
    "OW1", "BF1_1", "BF1_2", "BF1_3", "IW_1", "IW_2", "MW_1", "MW_2", "MW_3", "R6S_1", "R6S_2",
};

fs::path pathOf(std::string_view utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string utf8Of(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// Profile0001 .. Profile0999, then Profile1000 and on: four digits at least.
std::string numbered(std::string_view base, NameStyle style, unsigned long n) {
    char digits[32];
    if (style == NameStyle::NewProfile) {
        std::snprintf(digits, sizeof digits, "%04lu", n);
        return std::string(base) + digits;
    }
    std::snprintf(digits, sizeof digits, "(%lu)", n);
    return std::string(base) + digits;
}

} // namespace

ProfileLibrary::ProfileLibrary(std::filesystem::path documents, LibraryPage& page, ProfileListModel& list,
                               Prompter& prompter)
    : documents_(std::move(documents)), page_(page), list_(list), prompter_(prompter) {}

fs::path ProfileLibrary::modelFolder(int model) const {
    const ModelDescription* folder = modelDescription(model);
    // Without a documents folder there is no place for profiles: never a folder relative to wherever
    // the program was started.
    if (folder == nullptr || documents_.empty()) {
        return {};
    }
    return documents_ / pathOf(kSoftwareFolder) / pathOf(folder->folder);
}

fs::path ProfileLibrary::modeFolder(int mode) const {
    const fs::path model = modelFolder(page_.model());
    if (model.empty()) {
        return {};
    }
    if (mode < 0 || mode >= kAssignModeCount) {
        return model / "";
    }
    return model / pathOf(kModeFolders[static_cast<std::size_t>(mode)]) / "";
}

std::vector<std::string> ProfileLibrary::officialNames(int model) {
    std::vector<std::string> names;
    if (const ModelDescription* folder = modelDescription(model)) {
        for (const std::string_view suffix : kOfficialSuffixes) {
            names.push_back(std::string(folder->officialPrefix) + std::string(suffix));
        }
    }
    return names;
}

bool ProfileLibrary::isOfficial(std::string_view name) const {
    const ModelDescription* folder = modelDescription(page_.model());
    if (folder == nullptr || !name.starts_with(folder->officialPrefix)) {
        return false;
    }
    name.remove_prefix(folder->officialPrefix.size());
    return std::find(kOfficialSuffixes.begin(), kOfficialSuffixes.end(), name) != kOfficialSuffixes.end();
}

fs::path ProfileLibrary::fileOf(std::string_view name) const {
    // Whatever the name, the file stays in the profile folder.
    if (profileFolder_.empty() || name.empty() ||
        name.find_first_of(std::string_view("/\\\0", 3)) != name.npos) {
        return {};
    }
    return profileFolder_ / pathOf(std::string(name) + std::string(kExtension));
}

fs::path ProfileLibrary::readablePath(const fs::path& file) const {
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(file, ec);
    if (fs::is_regular_file(status)) {
        return file;
    }
    if (!fs::is_symlink(status)) {
        return {};
    }
    // A link counts only when it leads to a regular file right in this folder; it is then read there.
    const fs::path target = fs::canonical(file, ec);
    if (ec || !fs::is_regular_file(fs::symlink_status(target, ec)) ||
        target.parent_path() != fs::canonical(profileFolder_, ec) || ec) {
        return {};
    }
    return target;
}

std::vector<std::string> ProfileLibrary::profileNames() const {
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(profileFolder_, ec);
    if (profileFolder_.empty() || ec) {
        return names;
    }
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        // The name is kept as the file system's bytes, whatever their encoding, so that every later
        // operation finds this very file.
        const std::string file = utf8Of(it->path().filename());
        if (file.size() <= kExtension.size() || !file.ends_with(kExtension)) {
            continue;
        }
        // The entry's own type comes with the listing; only links need a closer look.
        std::error_code typeError;
        const fs::file_status status = it->symlink_status(typeError);
        if (fs::is_regular_file(status) || (fs::is_symlink(status) && !readablePath(it->path()).empty())) {
            names.push_back(file.substr(0, file.size() - kExtension.size()));
        }
    }
    return names;
}

bool ProfileLibrary::anythingNamed(std::string_view name) const {
    const fs::path file = fileOf(name);
    std::error_code ec;
    return !file.empty() && fs::exists(fs::symlink_status(file, ec));
}

bool ProfileLibrary::usableName(std::string_view name) const {
    return validProfileName(name) || (list_.indexOf(name) >= 0 && !fileOf(name).empty());
}

bool ProfileLibrary::writeCurrentRecord(std::string_view name, int slot) {
    return writeRecord(name, page_.record(slot));
}

bool ProfileLibrary::writeRecord(std::string_view name, std::span<const std::uint8_t> record) {
    const fs::path file = fileOf(name);
    return !file.empty() && writeProfileFile(file, page_.model(), record, page_.mode());
}

void ProfileLibrary::madeHere(const std::string& name) {
    place(name);
    currentProfileName_ = name;
    // What this page wrote from its own record is this page's model's, unless it came from another
    // model's file.
    if (loadedFileModel_ == 0) {
        loadedFileModel_ = page_.model();
    }
}

void ProfileLibrary::place(const std::string& name) {
    list_.remove(name);
    const int at = page_.mode() == 0 ? std::min(kOfficialCount, list_.count()) : 0;
    list_.insertAt(at, name);
    list_.select(at);
}

std::string ProfileLibrary::findFreeName(std::string_view base, NameStyle style) const {
    const std::vector<std::string> taken = profileNames();
    const auto isFree = [&](const std::string& candidate) {
        return std::find(taken.begin(), taken.end(), candidate) == taken.end() && !anythingNamed(candidate);
    };
    if (style == NameStyle::NewProfile && isFree(std::string(base))) {
        return std::string(base);
    }
    for (unsigned long n = 1;; ++n) {
        std::string candidate = numbered(base, style, n);
        if (isFree(candidate)) {
            return candidate;
        }
    }
}

void ProfileLibrary::buildList() {
    profileFolder_ = modeFolder(page_.mode());
    if (!profileFolder_.empty()) {
        // The whole path, the documents folder included: a fresh account may have none yet.
        std::error_code ec;
        fs::create_directories(profileFolder_, ec);
    }

    list_.clear();
    const std::vector<std::string> names = profileNames();
    for (const std::string& name : names) {
        // Officials go to the top, each new one above those found before it.
        if (page_.mode() == 0 && isOfficial(name)) {
            list_.insertAt(0, name);
        } else {
            list_.append(name);
        }
    }
    if (names.empty() && writeCurrentRecord(kDefaultName, page_.slot())) {
        list_.append(std::string(kDefaultName));
    }
    list_.select(0);
}

void ProfileLibrary::buildListForStart() {
    buildList();
}

void ProfileLibrary::buildListForModeChange() {
    buildList();
    currentProfileName_.clear();
    list_.setText({});
}

void ProfileLibrary::loadSelected() {
    if (list_.selected() < 0) {
        return;
    }
    list_.select(list_.selected());
    const std::string name = list_.text();

    // Read aside first: a file that cannot be read or names no mode leaves the page as it was.
    const std::span<std::uint8_t> record = page_.record(page_.slot());
    std::vector<std::uint8_t> loaded(record.begin(), record.end());
    int mode = 0;
    int marker = 0;
    const fs::path file = fileOf(name).empty() ? fs::path() : readablePath(fileOf(name));
    if (file.empty() || !readProfileFile(file, page_.model(), loaded, mode, marker) || mode < 0 ||
        mode >= kAssignModeCount) {
        prompter_.tell(TextId::ProfileCannotBeLoaded);
        return;
    }

    if (!page_.connected()) {
        page_.showBlankSlotItem();
    }
    loadedFileModel_ = marker != 0 ? marker : page_.model();
    // The page takes the file's mode; the folder and the list stay those the profile was chosen from,
    // so a later save or delete acts on the same file.
    page_.takeLoadedRecord(mode, loaded);
    currentProfileName_ = list_.text();
}

void ProfileLibrary::newProfile() {
    // The very first profile comes from the page's own slot on KITE; otherwise from slot 0.
    const bool first = list_.text().empty() && list_.count() == 0;
    const ModelDescription* model = modelDescription(page_.model());
    const int slot = first && model != nullptr && model->firstProfileFromPageSlot ? page_.slot() : 0;
    const std::string name = findFreeName(kDefaultName, NameStyle::NewProfile);

    // The file is written from the defaults first; only once it is kept does the page show them, so a
    // failed New loses no unsaved edit.
    const std::span<const std::uint8_t> current = page_.record(slot);
    std::vector<std::uint8_t> fresh(current.begin(), current.end());
    const std::span<const std::int16_t> defaults = defaultRecord(page_.model(), page_.mode());
    for (std::size_t i = 0; i < defaults.size() && i < fresh.size(); ++i) {
        if (defaults[i] != kKeepByte) {
            fresh[i] = static_cast<std::uint8_t>(defaults[i]);
        }
    }
    if (!writeRecord(name, fresh)) {
        prompter_.tell(TextId::SaveFailed);
        return;
    }
    page_.resetAndShow(slot);
    madeHere(name);
    loadedFileModel_ = page_.model();
}

void ProfileLibrary::copyProfile() {
    const std::string base = list_.text();
    if (base.empty()) {
        currentProfileName_.clear();
        prompter_.tell(TextId::PleaseChooseFile);
        return;
    }
    if (!usableName(base)) {
        prompter_.tell(TextId::InvalidProfileName);
        return;
    }
    // Only "(n)" is added to a name the user may act on, so the result is a file name of this folder
    // too; twenty characters is a limit of typing, not of file names.
    const std::string name = findFreeName(base, NameStyle::Copy);
    page_.collect();
    if (!writeCurrentRecord(name, page_.slot())) {
        prompter_.tell(TextId::SaveFailed);
        return;
    }
    madeHere(name);
}

void ProfileLibrary::saveProfile() {
    const std::string typed = list_.text();
    if (typed.empty()) {
        if (!prompter_.ask(TextId::SaveAsNewQuestion)) {
            return;
        }
        const std::string name = findFreeName(kDefaultName, NameStyle::NewProfile);
        page_.collect();
        if (!writeCurrentRecord(name, page_.slot())) {
            prompter_.tell(TextId::SaveFailed);
            return;
        }
        madeHere(name);
        return;
    }

    page_.collect();
    if (isOfficial(currentProfileName_)) {
        prompter_.tell(TextId::OfficialProfileCannotChange);
        return;
    }
    if (!usableName(typed)) {
        prompter_.tell(TextId::InvalidProfileName);
        return;
    }

    if (!currentProfileName_.empty() && typed == currentProfileName_) {
        if (!writeCurrentRecord(typed, page_.slot())) {
            prompter_.tell(TextId::SaveFailed);
            return;
        }
        prompter_.tell(TextId::SaveSucceeded);
        list_.remove(currentProfileName_);
        place(typed);
        currentProfileName_ = list_.text();
        return;
    }

    // A new name: with a profile current this is a rename, otherwise a new profile. Whatever already has
    // the name is kept, even a file that could not be overwritten.
    if (anythingNamed(typed)) {
        prompter_.tell(TextId::FileAlreadyExists);
        return;
    }
    if (!writeCurrentRecord(typed, page_.slot())) {
        prompter_.tell(TextId::SaveFailed);
        return;
    }
    if (currentProfileName_.empty()) {
        prompter_.tell(TextId::SaveSucceeded);
        madeHere(typed);
        return;
    }
    // The old file goes only once the new one is complete; one that cannot be removed stays listed, and
    // the user is told.
    const std::string old = currentProfileName_;
    const fs::path oldFile = fileOf(old);
    std::error_code ec;
    const fs::file_status oldStatus = oldFile.empty() ? fs::file_status() : fs::symlink_status(oldFile, ec);
    const bool gone =
        !oldFile.empty() &&
        (!fs::exists(oldStatus) || (!fs::is_directory(oldStatus) && (fs::remove(oldFile, ec) || !ec)));
    prompter_.tell(gone ? TextId::SaveSucceeded : TextId::OldProfileNotDeleted);
    place(typed);
    if (gone) {
        list_.remove(old);
    }
    currentProfileName_ = list_.text();
}

void ProfileLibrary::deleteProfile() {
    const std::string name = list_.text();
    if (name.empty()) {
        return;
    }
    if (isOfficial(name)) {
        prompter_.tell(TextId::ProfileCannotBeDeleted);
        return;
    }
    if (!usableName(name)) {
        prompter_.tell(TextId::InvalidProfileName);
        return;
    }
    if (!prompter_.ask(TextId::DeleteQuestion)) {
        return;
    }

    const fs::path file = fileOf(name);
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(file, ec);
    if (fs::exists(status)) {
        // A folder of that name is not a profile; anything that stays keeps its list item.
        const bool removed = !fs::is_directory(status) && (fs::remove(file, ec) || !ec);
        if (!removed) {
            prompter_.tell(TextId::ProfileCannotBeDeleted);
            return;
        }
    }
    list_.remove(name);
    list_.select(0);
    // The item now shown was not loaded: it does not become current. A profile that was current and
    // still exists stays so.
    if (name == currentProfileName_) {
        currentProfileName_.clear();
    }
}

void ProfileLibrary::resetProfile() {
    page_.resetAndShow(page_.slot());
    page_.sendStatus();
}

} // namespace zav
