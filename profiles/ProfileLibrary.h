#pragma once

#include "profiles/LibraryPage.h"
#include "profiles/ProfileListModel.h"
#include "profiles/Prompter.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zav {

// The two ways of making up the name of a new profile file.
enum class NameStyle {
    NewProfile, // "Profile", then Profile0001, Profile0002 ... Profile0999, Profile1000 ...
    Copy,       // base(1), base(2) ...
};

// The profile files of one page: the folder per model and mode, the profile list (1126) and the
// operations behind the page's New, Copy, Save, Delete and Default buttons. Every message goes through
// the prompter; every file it touches lies in the profile folder.
class ProfileLibrary {
public:
    // Profiles end in this extension; the name shown is the file name without it.
    static constexpr std::string_view kExtension = ".zav4";
    // The name of the first-run file and the base of new names.
    static constexpr std::string_view kDefaultName = "Profile";
    // In PlayStation 4 mode new names go right after the eleven official profiles.
    static constexpr int kOfficialCount = 11;

    ProfileLibrary(std::filesystem::path documents, LibraryPage& page, ProfileListModel& list,
                   Prompter& prompter);

    // Folder of the page's current mode, ending in a separator; set by buildList and by a load that
    // changes the mode.
    const std::filesystem::path& profileFolder() const { return profileFolder_; }
    // The profile this page loaded, created or saved last, which Save overwrites or renames; empty when
    // none. A profile the list merely shows (after start, a mode change or a Delete) is not current.
    const std::string& currentProfileName() const { return currentProfileName_; }
    void setCurrentProfileName(std::string name) { currentProfileName_ = std::move(name); }
    // Model number of the file last loaded; 0 before any load. A profile this page creates from its own
    // record is this page's model.
    int loadedFileModel() const { return loadedFileModel_; }

    // Creates the folders (the documents folder included), lists the profiles of the current mode
    // (official ones first in PlayStation 4 mode), writes the first-run file "Profile" into an empty
    // folder and selects item 0 without loading it. Listed are regular files, and links that lead to a
    // regular file in this same folder; names keep the file system's bytes.
    void buildList();
    // buildList at page start; no profile is current.
    void buildListForStart();
    // buildList after a mode change: no profile is current and the edit field is cleared.
    void buildListForModeChange();

    // The handlers of a selection in the list and of New, Copy, Save, Delete and Default. A file that
    // cannot be loaded, and a New, Copy or Save that cannot write, say so and leave the page as it was.
    void loadSelected();
    void newProfile();
    void copyProfile();
    void saveProfile();
    void deleteProfile();
    void resetProfile();

    // The first name of the style that no file of the profile folder uses.
    std::string findFreeName(std::string_view base, NameStyle style) const;

    // "<documents>/ZAV Software/ZAV KITE" and so on; empty for an unknown model.
    std::filesystem::path modelFolder(int model) const;
    // The page model's folder of a mode ("ProfilePS4/" ...), ending in a separator; the model folder
    // alone for a mode outside 0..3.
    std::filesystem::path modeFolder(int mode) const;
    // The eleven official profile names of a model; none for an unknown model.
    static std::vector<std::string> officialNames(int model);
    // Exact, case-sensitive match against the page model's official names.
    bool isOfficial(std::string_view name) const;

private:
    std::filesystem::path fileOf(std::string_view name) const;
    // Names of the profile files in the folder, in the order the file system gives them.
    std::vector<std::string> profileNames() const;
    bool anythingNamed(std::string_view name) const;
    // A name the user may act on: a valid name, or one the list shows because its file is in the folder.
    bool usableName(std::string_view name) const;
    // The file to read for a listed name: the file itself, or the file a link leads to when that is a
    // regular file in the profile folder; empty otherwise.
    std::filesystem::path readablePath(const std::filesystem::path& file) const;
    bool writeCurrentRecord(std::string_view name, int slot);
    bool writeRecord(std::string_view name, std::span<const std::uint8_t> record);
    // After New, Copy or a save under a new name: the profile is placed, selected and current.
    void madeHere(const std::string& name);
    // Puts a new or renamed profile into the list and selects it.
    void place(const std::string& name);

    std::filesystem::path documents_;
    LibraryPage& page_;
    ProfileListModel& list_;
    Prompter& prompter_;
    std::filesystem::path profileFolder_;
    std::string currentProfileName_;
    int loadedFileModel_ = 0;
};

} // namespace zav
