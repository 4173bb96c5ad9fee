// The one-line text entry: up to 127 bytes of Shift-JIS edited by the
// keys and input-method commits a text-input source delivers. The source
// (the window's text input, or a script in tests) queues under the entry's
// lock from any thread; the game thread applies the queue once a frame, in
// the input subsystem's update.
//
// What it keeps true: the line is always whole Shift-JIS characters and at
// most kMaxLength - 1 bytes; the queue holds fewer than kMaxQueue bytes and
// never half a character, except a lead byte last in it that waits for its
// trail; a finished line goes into a ring of 16, the oldest dropped first;
// a close the queue asks for runs after the lock is released.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/core/core.h"
#include "engine/core/critical_section.h"
#include "engine/input/text_entry_handler.h"

namespace qel {

class InputIME : public Core, public TextEntryHandler {
public:
    QEL_CLASS_WITHOUT_FACTORY(InputIME, Core, Pool::System);

    static constexpr int kMaxLength = 128;
    static constexpr int kMaxQueue = 128;
    static constexpr int kHistory = 16;
    // Queue codes of the editing keys.
    enum Code : unsigned char {
        kBackspace = 8,
        kTab = 9,
        kEnter = 13,
        kEscape = 27,
        kRight = 28,
        kLeft = 29,
        kDelete = 127,
    };
    // Conversion modes, by index: their labels.
    static constexpr int kModeCount = 5;
    static constexpr int kModeClosed = 4;
    static const char* const kModeLabels[kModeCount];

    static InputIME& instance();
    InputIME() = default;

    // Told (outside the lock) when the entry starts and stops taking text:
    // the window switches the system's text input with it.
    using SwitchHook = void (*)(bool on);
    static void setSwitchHook(SwitchHook hook) { switchHook_ = hook; }

    // The entry's state (any thread).
    void start();
    void close();
    void reset();
    bool isActive() const;
    void setCloseOnEscape(bool on);

    // What a text-input source delivers (any thread); nothing while inactive.
    void key(Code code);
    // A commit in Shift-JIS: its whole characters are queued while they
    // fit. False, nothing queued, for a refused commit (null: a character
    // had no Shift-JIS form).
    bool commit(const char* sjis);
    // Whether a commit was refused since the last call (the game answers
    // with a sound).
    bool takeRefused();
    // The composition being typed (Shift-JIS) and the cursor in it, in bytes.
    void setComposition(std::string_view sjis, int cursorByte);

    // Applies the queue to the line (game thread).
    void update() override;

    // What a view of the entry shows, read under one hold of the lock.
    struct View {
        std::string line;
        int cursor = 0;
        std::string composition;
        int compositionCursor = 0;
        int mode = kModeClosed;
        bool active = false;
        bool operator==(const View&) const = default;
    };
    View view() const;

    std::string line() const;
    int cursor() const;
    std::string composition() const;
    int compositionCursor() const;
    // Puts text into the line (whole characters, at most kMaxLength - 1 bytes).
    void setLine(std::string_view sjis);

    // The next finished line not yet read; false when there is none.
    bool takeFinished(std::string& out);

    // The mode requested (kept; the platform's input method chooses its
    // own), reported as kModeClosed while inactive.
    int conversionMode() const;
    void setConversionMode(int mode);

private:
    bool appendQueue(const char* bytes, int count);
    // Applies one queued code; true when the entry is to close.
    bool apply(unsigned char code, unsigned char trail);
    void clearLineLocked();

    static void tellSwitch(bool on) {
        if (switchHook_) switchHook_(on);
    }
    static inline SwitchHook switchHook_ = nullptr;

    mutable CriticalSection lock_;
    std::string queue_;
    std::string composition_;
    int compositionCursor_ = 0;
    std::string line_;
    int cursor_ = 0;
    bool active_ = false;
    bool closeOnEscape_ = true;
    bool closeOnTab_ = true;
    bool closeOnEnter_ = true;
    std::string history_[kHistory];
    int historyWrite_ = 0;
    int historyRead_ = 0;
    int historyCount_ = 0;
    int mode_ = 2;
    bool refused_ = false;
};

}  // namespace qel
