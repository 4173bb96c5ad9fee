#include "engine/render/sys_render_text.h"

#include <algorithm>
#include <atomic>
#include <limits>
#include <utility>

#include "engine/core/log.h"
#include "engine/core/report.h"
#include "engine/file/string_util.h"
#include "engine/gfx/graphics_device.h"
#include "engine/render/render_key.h"
#include "engine/render/sys_render.h"
#include "engine/render/text_format.h"

namespace qel {
namespace {

// A method keeps at most this much text between frames.
constexpr std::size_t kKeptText = 64;

std::int32_t clampToInt32(std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// Where the first line feed is, walking whole characters (a trail byte of
// 0x0A is no line feed); npos for none. Counts them all into `count`.
std::size_t lineFeeds(std::string_view text, std::int64_t& count, std::size_t& last) {
    std::size_t first = std::string_view::npos;
    count = 0;
    for (std::size_t at = 0; at < text.size();) {
        if (text[at] == '\n') {
            if (first == std::string_view::npos) first = at;
            last = at;
            ++count;
        }
        at += sjisCharSize(text, at);
    }
    return first;
}

}  // namespace

const char* const SysRenderText::kDefaultFace = "ＭＳ ゴシック";

SysRenderText& SysRenderText::instance() {
    static SysRenderText system;
    return system;
}

bool SysRenderText::init() {
    methods_ = &MethodBuffer<MethodText>::instance();
    if (!createFont(kDefaultFace, kDefaultFontId, kDefaultHeight, 0, 0, false)) {
        // The game still runs; texts of font 0 are skipped.
        logMessage("text: the default font could not be made");
    }
    return true;
}

void SysRenderText::term() {
    fonts_.clear();
}

void SysRenderText::onLostDevice() {
    for (auto& [id, record] : fonts_) record.font.reset();
}

void SysRenderText::onResetDevice() {
    for (auto& [id, record] : fonts_) {
        if (!record.font) record.font = Font::create(record.desc);
    }
}

bool SysRenderText::createFont(std::string_view face, int id, int height, unsigned width,
                               unsigned weight, bool italic) {
    FontDesc desc;
    desc.height = height;
    desc.width = width;
    desc.weight = weight;
    desc.italic = italic;
    desc.face.assign(face);
    std::shared_ptr<Font> font = Font::create(desc);
    if (!font) return false;
    FontRecord& record = fonts_[id];
    record.id = id;
    record.desc = font->desc();
    record.font = std::move(font);
    return true;
}

const SysRenderText::FontRecord* SysRenderText::findFont(int id) const {
    auto it = fonts_.find(id);
    return it == fonts_.end() ? nullptr : &it->second;
}

bool SysRenderText::drawText(int fontId, int viewport, int x, int y, std::string_view text,
                             Color colour) {
    return queueText(text, viewport, fontId, x, y, 0, colour);
}

bool SysRenderText::drawTextAtPen(int fontId, int viewport, std::string_view text, Color colour) {
    return queueText(text, viewport, fontId, penX_, penY_, penOffset_, colour);
}

bool SysRenderText::queueText(std::string_view text, int viewport, int fontId, int x, int y,
                              int offset, Color colour) {
    const FontRecord* font = findFont(fontId);
    if (!font) return false;
    if (recording_ && !text.empty() && recorded_.size() < kRecordLimit) {
        if (recordedSet_.emplace(text).second) recorded_.emplace_back(text);
    }
    bool queued = false;
    if (!methods_) methods_ = &MethodBuffer<MethodText>::instance();
    if (MethodText* m = methods_->get()) {
        m->fontId = fontId;
        m->text.assign(text);
        m->x = x;
        m->y = y;
        m->offset = offset;
        m->colour = colour;
        queued = SysRender::instance().pushMethod(kKindText, viewport, 0, m);
    }
    measure(*font, text, x, y, offset);
    return queued;
}

void SysRenderText::measure(const FontRecord& font, std::string_view text, int x, int y,
                            int offset) {
    std::int64_t feeds = 0;
    std::size_t last = 0;
    lineFeeds(text, feeds, last);
    // The record's metrics stand for the font while the device is lost.
    auto width = [&](std::string_view part) -> std::int64_t {
        if (font.font) return font.font->measure(part).width;
        return 0;
    };
    if (feeds == 0) {
        penOffset_ = clampToInt32(std::int64_t{offset} + width(text));
    } else {
        penOffset_ = clampToInt32(width(text.substr(last + 1)));
    }
    penX_ = x;
    penY_ = clampToInt32(std::int64_t{y} + std::int64_t{font.desc.height} * feeds);
}

void SysRenderText::MethodText::execute() {
    const FontRecord* record = SysRenderText::instance().findFont(fontId);
    GraphicsDevice* device = SysRender::instance().device();
    if (record && record->font && device) {
        const Font& font = *record->font;
        std::int64_t feeds = 0;
        std::size_t last = 0;
        const std::size_t first = lineFeeds(text, feeds, last);
        const int firstX = clampToInt32(std::int64_t{x} + offset);
        const std::string_view all(text);
        device->drawText(font, firstX, y, all.substr(0, first), colour.argb());
        if (first != std::string_view::npos) {
            device->drawText(font, x, clampToInt32(std::int64_t{y} + record->desc.height),
                             all.substr(first + 1), colour.argb());
        }
    }
    if (text.capacity() > kKeptText) std::string().swap(text);
}

bool SysRenderText::drawFormatArgs(int viewport, int fontId, int x, int y, std::string_view format,
                                   Color colour, std::span<const FormatArg> args) {
    setPen(x, y, 0);
    bool result = false;
    for (const TextPiece& piece : formatPieces(format, colour, args)) {
        result = drawTextAtPen(fontId, viewport, piece.text, piece.colour);
    }
    return result;
}

std::vector<std::string> SysRenderText::takeRecorded() {
    recordedSet_.clear();
    return std::exchange(recorded_, {});
}

std::string SysRenderText::escapeFormat(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        out += c;
        if (c == '%') out += '%';
    }
    return out;
}

}  // namespace qel
