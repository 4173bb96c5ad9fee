// The window's menu bar as plain data. This platform has no native menu
// bar: the items are reached through shortcut keys (the n-th item of the
// bar, counted across its pop-ups, is Alt+n), and the ids travel the same
// path a native menu's commands would.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qel {

struct MenuItem {
    std::int32_t id = 0;
    std::string label;  // Shift-JIS
};

struct MenuPopup {
    std::string label;  // Shift-JIS
    std::vector<MenuItem> items;
};

struct MenuBar {
    std::vector<MenuPopup> popups;

    // The id of the n-th item across all pop-ups, or -1.
    std::int32_t itemIdAt(int index) const {
        if (index < 0) return -1;
        for (const MenuPopup& popup : popups) {
            if (index < static_cast<int>(popup.items.size())) return popup.items[index].id;
            index -= static_cast<int>(popup.items.size());
        }
        return -1;
    }
};

}  // namespace qel
