// The scrolling log of game messages. Scripts add texts (C_Message,
// C_MessageLine); the log breaks them into fixed-width lines, renders each
// line once into a target of its own (a ring of LOG_BUFFER_TEX_NUM), and
// each frame shows the newest lines as sprites over a framed background.
//
// What it keeps true: viewport slot 16 + k renders into the line k steps
// after the head line as it stood at the start of the frame's draw, so a
// line is written only through a slot bound to it; at most
// min(8, ring size) - 1 new lines are started a frame and the rest of a
// text waits, in order, at the front of the queue; every text reaches the
// log file once, when it is added.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "engine/task/task_base.h"
#include "game/shell/ui/log_wrapper.h"
#include "game/shell/ui/target_view.h"
#include "game/shell/ui/task_blink_object.h"
#include "game/world/value_types.h"

class TaskMessageLog : public qel::TaskBase {
public:
    QEL_CLASS(TaskMessageLog, qel::TaskBase, qel::Pool::Tasks);

    static constexpr int kFirstViewport = 16;
    static constexpr int kMaxWriters = 8;
    static constexpr int kFont = 1;
    using FileWriter = void (*)(std::string_view text);

    // Where every added text is also written (the active slot's log file);
    // none writes nowhere.
    static void setFileWriter(FileWriter writer) { fileWriter_ = writer; }

    // Makes the game's log under the scene and publishes it in GameData.
    static TaskMessageLog* start(qel::TaskBase* scene);
    // The game's log, or null.
    static TaskMessageLog* current();

    // The blinking marker just right of the end of the last shown line
    // (chip column 14, row 15), shown while the scripts ask for it
    // (C_SetLogWindowCursor).
    class TaskLogCursor : public TaskBlinkObject {
    public:
        QEL_CLASS(TaskLogCursor, TaskBlinkObject, qel::Pool::Tasks);

        explicit TaskLogCursor(const TaskMessageLog* owner = nullptr);

        bool init() override;

    protected:
        Vector2 getPosition() const override;
        void setSprite(qel::SpriteDesc& sprite) const override;

    private:
        const TaskMessageLog* owner_;
    };

    TaskMessageLog();
    ~TaskMessageLog() override;

    // A null text counts as empty.
    void message(const char* text);
    void messageLine(const char* text);
    void setColor(Color colour) { colour_ = colour; }
    void setWindowColor(Color colour) { frameColour_ = colour; }
    void setExpanded(bool on) { expanded_ = on; }
    // Shows or hides the marker; either way its blink starts again.
    void setCursor(bool show);
    bool cursorShown() const;
    TaskLogCursor* cursor() const { return cursor_; }

    int lineCount() const { return static_cast<int>(lines_.size()); }
    int head() const { return head_; }
    int filled() const { return filled_; }
    std::size_t pendingCount() const { return pending_.size(); }
    qel::RenderTarget* line(int i) const { return lines_[static_cast<std::size_t>(i)].get(); }

    bool init() override;
    void draw() override;
    void release() override;

private:
    struct Entry {
        Color colour;
        std::string text;
        bool line = false;
    };
    void add(const char* text, bool line);
    void bindWriters();
    void startLine();
    void drawBox();

    static inline FileWriter fileWriter_ = nullptr;

    std::vector<OwnedTarget> lines_;
    int writers_ = 0;
    Color colour_ = Color::WHITE;
    Color frameColour_ = Color::WHITE;
    int head_ = 0;
    int filled_ = 1;
    bool expanded_ = false;
    TaskLogCursor* cursor_ = nullptr;
    bool rebind_ = false;
    std::deque<Entry> pending_;
    LogWrapper wrapper_{1, 1};
};
