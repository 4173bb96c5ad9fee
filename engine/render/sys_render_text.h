// The text subsystem: the program's fonts by id, and Shift-JIS text queued
// as commands of kind 9 with a pen that moves at once.
//
// Drawing is deferred but the pen is immediate: each draw measures its text
// when it is queued and leaves the pen where the text ends (the left edge
// and top of its last line, and how far right of that edge the text
// stopped), so the next drawTextAtPen continues there. The pen moves even
// when the queue drops the text (an empty viewport slot).
//
// Kept true: a font record exists only for a font that was made; a failed
// creation leaves the id's old font as it was. While the device is lost the
// records stay and their font objects are gone; texts whose font object is
// gone are skipped. Formatted text takes its arguments typed (FormatArg),
// never through C varargs, and never reads past them (text_format.h).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "engine/core/sys_base.h"
#include "engine/gfx/font.h"
#include "engine/math/color.h"
#include "engine/render/format_arg.h"
#include "engine/render/method_buffer.h"
#include "engine/render/render_method.h"

namespace qel {

class SysRenderText final : public SysBase {
public:
    QEL_CLASS_WITHOUT_FACTORY(SysRenderText, SysBase, Pool::System);

    // Height 16 "ＭＳ ゴシック" (every face draws as the shipped Gothic).
    static constexpr int kDefaultFontId = 0;
    static constexpr int kDefaultHeight = 16;
    static const char* const kDefaultFace;

    struct FontRecord {
        int id = 0;
        FontDesc desc;               // as the font reports it
        std::shared_ptr<Font> font;  // none while the device is lost
    };

    class MethodText final : public RenderMethod {
    public:
        QEL_CLASS(MethodText, RenderMethod, Pool::RenderCommands);

        void execute() override;

        std::int32_t fontId = 0;
        std::string text;
        std::int32_t x = 0;  // left edge and top of the first line
        std::int32_t y = 0;
        std::int32_t offset = 0;  // the first line starts this far right of x
        Color colour;
    };

    static SysRenderText& instance();

    bool init() override;
    void term() override;
    void onLostDevice() override;
    void onResetDevice() override;

    // Makes (or remakes) the font of the id; false, the id's old font kept,
    // when the font backend refuses the description.
    bool createFont(std::string_view face, int id, int height, unsigned width, unsigned weight,
                    bool italic);
    bool hasFont(int id) const { return fonts_.count(id) != 0; }
    const FontRecord* findFont(int id) const;

    // Queues the text at (x, y) for a viewport index (0-47, or 48 for the
    // unsorted queue) and moves the pen; false, nothing queued and the pen
    // left, for an unknown font id (or when the queue drops the text).
    bool drawText(int fontId, int viewport, int x, int y, std::string_view text, Color colour);
    // The same at the pen.
    bool drawTextAtPen(int fontId, int viewport, std::string_view text, Color colour);
    // Formatted text from (x, y): each "##" of the format switches to the
    // next colour argument. The result is the last piece's draw.
    template <typename... Args>
    bool drawFormat(int viewport, int fontId, int x, int y, std::string_view format, Color colour,
                    const Args&... args) {
        const FormatArg list[] = {FormatArg(args)..., FormatArg(0)};
        return drawFormatArgs(viewport, fontId, x, y, format, colour,
                              std::span<const FormatArg>(list, sizeof...(Args)));
    }
    bool drawFormatArgs(int viewport, int fontId, int x, int y, std::string_view format,
                        Color colour, std::span<const FormatArg> args);

    // Text made safe to splice into a format: each '%' doubled.
    static std::string escapeFormat(std::string_view text);

    // What the game showed, for developer tools (a scripted run's check of
    // its texts): while recording, every distinct text queued is kept, in
    // the order first queued, up to kRecordLimit texts. Game thread only.
    static constexpr std::size_t kRecordLimit = 16384;
    void setRecording(bool on) { recording_ = on; }
    bool isRecording() const { return recording_; }
    // The texts kept since recording began or the last take.
    std::vector<std::string> takeRecorded();

    std::int32_t penX() const { return penX_; }
    std::int32_t penY() const { return penY_; }
    std::int32_t penOffset() const { return penOffset_; }
    void setPen(std::int32_t x, std::int32_t y, std::int32_t offset) {
        penX_ = x;
        penY_ = y;
        penOffset_ = offset;
    }

private:
    bool queueText(std::string_view text, int viewport, int fontId, int x, int y, int offset,
                   Color colour);
    void measure(const FontRecord& font, std::string_view text, int x, int y, int offset);

    MethodBuffer<MethodText>* methods_ = nullptr;
    std::map<int, FontRecord> fonts_;
    std::int32_t penX_ = 0;
    std::int32_t penY_ = 0;
    std::int32_t penOffset_ = 0;
    bool recording_ = false;
    std::vector<std::string> recorded_;
    std::unordered_set<std::string> recordedSet_;
};

}  // namespace qel
