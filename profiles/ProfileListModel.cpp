#include "profiles/ProfileListModel.h"

#include <algorithm>
#include <utility>

namespace zav {

int ProfileListModel::indexOf(std::string_view text) const {
    const auto found = std::find(items_.begin(), items_.end(), text);
    return found == items_.end() ? -1 : static_cast<int>(found - items_.begin());
}

void ProfileListModel::clear() {
    items_.clear();
    selected_ = -1;
    text_.clear();
}

void ProfileListModel::append(std::string name) {
    items_.push_back(std::move(name));
}

bool ProfileListModel::insertAt(int index, std::string name) {
    if (index < 0 || index > count()) {
        return false;
    }
    items_.insert(items_.begin() + index, std::move(name));
    if (selected_ >= index) {
        ++selected_;
    }
    return true;
}

bool ProfileListModel::removeAt(int index) {
    if (index < 0 || index >= count()) {
        return false;
    }
    items_.erase(items_.begin() + index);
    if (selected_ == index) {
        selected_ = -1;
    } else if (selected_ > index) {
        --selected_;
    }
    return true;
}

bool ProfileListModel::remove(std::string_view text) {
    return removeAt(indexOf(text));
}

void ProfileListModel::select(int index) {
    if (index < 0 || index >= count()) {
        selected_ = -1;
        text_.clear();
        return;
    }
    selected_ = index;
    text_ = items_[static_cast<std::size_t>(index)];
}

void ProfileListModel::setText(std::string text) {
    text_ = std::move(text);
}

void ProfileListModel::setShownText(std::string shown) {
    if (selected_ >= 0 && shownName(items_[static_cast<std::size_t>(selected_)]) == shown) {
        text_ = items_[static_cast<std::size_t>(selected_)];
        return;
    }
    const auto found = std::find_if(items_.begin(), items_.end(),
                                    [&](const std::string& item) { return shownName(item) == shown; });
    text_ = found != items_.end() ? *found : std::move(shown);
}

std::string ProfileListModel::shownName(std::string_view name) {
    std::string shown;
    shown.reserve(name.size());
    std::size_t i = 0;
    while (i < name.size()) {
        const auto lead = static_cast<unsigned char>(name[i]);
        std::size_t length = lead < 0x80             ? 1
                             : (lead & 0xE0) == 0xC0 ? 2
                             : (lead & 0xF0) == 0xE0 ? 3
                             : (lead & 0xF8) == 0xF0 ? 4
                                                     : 0;
        char32_t cp = length == 1   ? lead
                      : length == 2 ? lead & 0x1F
                      : length == 3 ? lead & 0x0F
                                    : lead & 0x07;
        bool valid = length != 0 && i + length <= name.size();
        for (std::size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(name[i + k]);
            valid = (next & 0xC0) == 0x80;
            cp = (cp << 6) | (next & 0x3F);
        }
        // No overlong forms, no surrogates, nothing beyond U+10FFFF.
        constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
        valid = valid && cp >= kLeast[length] && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
        if (valid) {
            shown.append(name.substr(i, length));
            i += length;
        } else {
            shown.append("\xEF\xBF\xBD"); // U+FFFD
            ++i;
        }
    }
    return shown;
}

} // namespace zav
