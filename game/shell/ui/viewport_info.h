// The records the program's menus and drawing windows are made from: the
// viewport slot each draws through and the two bytes of its sort key (the
// order, then the pass). Menus 0 to 3 use slots 4 to 7, windows 0 to 3
// slots 8 to 11, each sorted by its own slot.
#pragma once

#include <cstdint>

#include "engine/core/core.h"

class ViewportInfo : public qel::Core {
public:
    QEL_CLASS(ViewportInfo, qel::Core, qel::Pool::General);

    static constexpr int kMenus = 4;
    static constexpr int kWindows = 4;

    ViewportInfo() = default;
    ViewportInfo(std::int32_t index, std::int32_t order, std::int32_t pass)
        : index(index), order(order), pass(pass) {}

    // The record of menu or window n; n must be below kMenus or kWindows.
    static const ViewportInfo& menu(int n);
    static const ViewportInfo& window(int n);

    std::int32_t index = 0;
    std::int32_t order = 0;
    std::int32_t pass = 0;
};
