// Window titles over any bytes: the title kept is the text up to its first
// NUL, cut to the capacity at a whole character, and converts to the OS.
#include <string>

#include "engine/file/string_util.h"
#include "engine/system/window.h"
#include "platform/os/cp932.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qel;
    using qel::fuzz::require;
    std::string text(reinterpret_cast<const char*>(data), size);
    const std::string upToNul = text.substr(0, text.find('\0'));
    Window window;
    window.setTitle(text.c_str());
    const std::string title = window.title();
    require(title.size() <= Window::kTitleCapacity, "the title fits");
    // A lead byte with nothing after it is no character and is dropped.
    std::string whole = cutString(upToNul, 0, Window::kTitleCapacity);
    if (whole.size() == upToNul.size() && !whole.empty() &&
        sjisPrefixLength(whole, whole.size() - 1) == whole.size() - 1 &&
        isSjisLead(static_cast<unsigned char>(whole.back())))
        whole.pop_back();
    require(title == whole, "the title is the text cut at a whole character");
    require(!Cp932::toUtf8(title).empty() || title.empty(), "the title converts for the OS");
    return 0;
}
