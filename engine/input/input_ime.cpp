#include "engine/input/input_ime.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace qel {

namespace {

bool isLead(unsigned char c) {
    return (c >= 129 && c <= 159) || (c >= 224 && c <= 254);
}

bool isPrintable(unsigned char c) {
    return (c >= 32 && c <= 126) || (c >= 161 && c <= 223);
}

// The byte length of the character starting at i (1 for a lead byte last).
std::size_t charWidth(const std::string& s, std::size_t i) {
    return isLead(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
}

// The start of the character that ends at `end`, scanning from the start.
std::size_t previousChar(const std::string& s, std::size_t end) {
    std::size_t i = 0;
    std::size_t last = 0;
    while (i < end) {
        last = i;
        i += charWidth(s, i);
    }
    return last;
}

}  // namespace

const char* const InputIME::kModeLabels[kModeCount] = {"カ", "_ｶ", "あ", "Ａ", "_A"};

InputIME& InputIME::instance() {
    static InputIME ime;
    return ime;
}

void InputIME::start() {
    {
        ScopedLock hold(lock_);
        closeOnTab_ = false;
        closeOnEnter_ = false;
        active_ = true;
    }
    tellSwitch(true);
}

void InputIME::close() {
    {
        ScopedLock hold(lock_);
        active_ = false;
    }
    tellSwitch(false);
}

void InputIME::reset() {
    {
        ScopedLock hold(lock_);
        queue_.clear();
        composition_.clear();
        compositionCursor_ = 0;
        line_.clear();
        cursor_ = 0;
        active_ = false;
    }
    tellSwitch(false);
}

bool InputIME::isActive() const {
    ScopedLock hold(lock_);
    return active_;
}

void InputIME::setCloseOnEscape(bool on) {
    ScopedLock hold(lock_);
    closeOnEscape_ = on;
}

bool InputIME::appendQueue(const char* bytes, int count) {
    if (static_cast<int>(queue_.size()) + count >= kMaxQueue) return false;
    queue_.append(bytes, static_cast<std::size_t>(count));
    return true;
}

void InputIME::key(Code code) {
    ScopedLock hold(lock_);
    if (!active_) return;
    const char byte = static_cast<char>(code);
    appendQueue(&byte, 1);
}

bool InputIME::commit(const char* sjis) {
    ScopedLock hold(lock_);
    if (!sjis) {
        refused_ = active_;
        return false;
    }
    if (!active_) return true;
    const std::string text = sjis;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t width = charWidth(text, i);
        if (width == 1 && isLead(static_cast<unsigned char>(text[i]))) break;  // half a character
        if (!appendQueue(text.data() + i, static_cast<int>(width))) break;
        i += width;
    }
    return true;
}

bool InputIME::takeRefused() {
    ScopedLock hold(lock_);
    return std::exchange(refused_, false);
}

void InputIME::setComposition(std::string_view sjis, int cursorByte) {
    ScopedLock hold(lock_);
    if (!active_) return;
    composition_.assign(sjis.substr(0, kMaxLength));
    compositionCursor_ = std::clamp(cursorByte, 0, static_cast<int>(composition_.size()));
}

void InputIME::clearLineLocked() {
    line_.clear();
    composition_.clear();
    compositionCursor_ = 0;
    cursor_ = 0;
}

bool InputIME::apply(unsigned char code, unsigned char trail) {
    const std::size_t at = static_cast<std::size_t>(cursor_);
    switch (code) {
        case kBackspace:
            if (at > 0) {
                const std::size_t from = previousChar(line_, at);
                line_.erase(from, at - from);
                cursor_ = static_cast<int>(from);
            }
            return false;
        case kTab:
            if (!closeOnTab_) return false;
            clearLineLocked();
            return true;
        case kEnter:
            if (!line_.empty()) {
                history_[historyWrite_] = line_;
                historyWrite_ = (historyWrite_ + 1) % kHistory;
                if (historyCount_ == kHistory)
                    historyRead_ = (historyRead_ + 1) % kHistory;  // the oldest goes
                else
                    ++historyCount_;
            }
            clearLineLocked();
            return closeOnEnter_;
        case kEscape:
            if (!composition_.empty() || !line_.empty()) {
                clearLineLocked();
                return false;
            }
            return closeOnEscape_;
        case kRight:
            if (at < line_.size()) cursor_ += static_cast<int>(charWidth(line_, at));
            return false;
        case kLeft:
            if (at > 0) cursor_ = static_cast<int>(previousChar(line_, at));
            return false;
        case kDelete:
            if (at < line_.size()) line_.erase(at, charWidth(line_, at));
            return false;
        default:
            break;
    }
    if (isPrintable(code)) {
        if (static_cast<int>(line_.size()) < kMaxLength - 1) {
            line_.insert(at, 1, static_cast<char>(code));
            ++cursor_;
        }
    } else if (isLead(code) && trail != 0) {
        if (static_cast<int>(line_.size()) + 2 <= kMaxLength - 1) {
            const char both[2] = {static_cast<char>(code), static_cast<char>(trail)};
            line_.insert(at, both, 2);
            cursor_ += 2;
        }
    }
    return false;
}

void InputIME::update() {
    bool closeAsked = false;
    {
        ScopedLock hold(lock_);
        std::size_t i = 0;
        while (i < queue_.size()) {
            const auto code = static_cast<unsigned char>(queue_[i]);
            if (code == 0) {
                i = queue_.size();
                break;
            }
            if (isLead(code)) {
                if (i + 1 >= queue_.size()) break;  // its trail has not come yet
                closeAsked |= apply(code, static_cast<unsigned char>(queue_[i + 1]));
                i += 2;
                continue;
            }
            closeAsked |= apply(code, 0);
            ++i;
        }
        queue_.erase(0, i);
    }
    // Closing takes the lock again and may reach the platform's text input.
    if (closeAsked) close();
}

InputIME::View InputIME::view() const {
    ScopedLock hold(lock_);
    return View{line_,  cursor_, composition_, compositionCursor_, active_ ? mode_ : kModeClosed,
                active_};
}

std::string InputIME::line() const {
    ScopedLock hold(lock_);
    return line_;
}

int InputIME::cursor() const {
    ScopedLock hold(lock_);
    return cursor_;
}

std::string InputIME::composition() const {
    ScopedLock hold(lock_);
    return composition_;
}

int InputIME::compositionCursor() const {
    ScopedLock hold(lock_);
    return compositionCursor_;
}

void InputIME::setLine(std::string_view sjis) {
    ScopedLock hold(lock_);
    line_.clear();
    const std::string text(sjis);
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t width = charWidth(text, i);
        if (width == 1 && isLead(static_cast<unsigned char>(text[i]))) break;
        if (static_cast<int>(line_.size() + width) > kMaxLength - 1) break;
        line_.append(text, i, width);
        i += width;
    }
    cursor_ = static_cast<int>(line_.size());
}

bool InputIME::takeFinished(std::string& out) {
    ScopedLock hold(lock_);
    if (historyCount_ == 0) return false;
    out = history_[historyRead_];
    historyRead_ = (historyRead_ + 1) % kHistory;
    --historyCount_;
    return true;
}

int InputIME::conversionMode() const {
    ScopedLock hold(lock_);
    return active_ ? mode_ : kModeClosed;
}

void InputIME::setConversionMode(int mode) {
    if (mode < 0 || mode >= kModeCount) return;
    ScopedLock hold(lock_);
    mode_ = mode;
}

}  // namespace qel
