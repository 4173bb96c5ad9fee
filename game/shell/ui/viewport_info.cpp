#include "game/shell/ui/viewport_info.h"

#include <array>

namespace {

const std::array<ViewportInfo, ViewportInfo::kMenus> kMenuRecords = {
    ViewportInfo(4, 0, 4), ViewportInfo(5, 0, 5), ViewportInfo(6, 0, 6), ViewportInfo(7, 0, 7)};
const std::array<ViewportInfo, ViewportInfo::kWindows> kWindowRecords = {
    ViewportInfo(8, 0, 8), ViewportInfo(9, 0, 9), ViewportInfo(10, 0, 10), ViewportInfo(11, 0, 11)};

}  // namespace

const ViewportInfo& ViewportInfo::menu(int n) {
    return kMenuRecords.at(static_cast<std::size_t>(n));
}

const ViewportInfo& ViewportInfo::window(int n) {
    return kWindowRecords.at(static_cast<std::size_t>(n));
}
