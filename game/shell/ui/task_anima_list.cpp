#include "game/shell/ui/task_anima_list.h"

#include <algorithm>

#include "engine/render/sys_render_text.h"
#include "engine/task/sys_task.h"
#include "game/shell/settings.h"
#include "game/shell/ui/shell_keys.h"
#include "game/world/anima.h"
#include "game/world/anima_list.h"
#include "game/world/game_data.h"
#include "game/world/world.h"

namespace {

constexpr int kFont = 1;
// More marks than this would only run off the row.
constexpr std::int64_t kMostMarks = 64;

std::string repeated(const std::string& mark, std::int64_t times) {
    std::string out;
    for (std::int64_t i = 0; i < times; ++i) out += mark;
    return out;
}

}  // namespace

TaskAnimaList* TaskAnimaList::create(qel::TaskBase* scene) {
    auto* list = new TaskAnimaList();
    if (!qel::SysTask::instance().add(list, scene)) {
        delete list;
        return nullptr;
    }
    GameData::instance().setAnimaList(list);
    return list;
}

TaskAnimaList* TaskAnimaList::current() {
    return GameData::instance().getAnimaList();
}

TaskAnimaList::TaskAnimaList() : TaskPagedList(kViewport) {}

TaskAnimaList::~TaskAnimaList() {
    if (current() == this) GameData::instance().setAnimaList(nullptr);
}

TaskPagedList::Layout TaskAnimaList::layout() const {
    Layout l;
    l.rows = ANIMALIST_MAX;
    l.x = ANIMALIST_X;
    l.y = ANIMALIST_Y;
    l.width = ANIMALIST_WIDTH;
    l.textY = ANIMALIST_TEXT_Y;
    l.textSpace = ANIMALIST_TEXT_SPACE;
    l.endSpace = ANIMALIST_END_SPACE;
    l.cursorX = ANIMALIST_CURSOR_X;
    l.codeX = ANIMALIST_CODE_X;
    l.pageX = ANIMALIST_PAGE_X;
    l.pageY = ANIMALIST_PAGE_Y;
    l.back = ANIMALIST_BACKCOLOR;
    l.caption = ANIMALIST_TAG;
    l.cursorChip = ANIMALIST_CURSOR;
    l.blinkOn = ANIMALIST_BLINK_ON;
    l.blinkOff = ANIMALIST_BLINK_OFF;
    return l;
}

void TaskAnimaList::addAnima(const Anima* anima, bool selectable) {
    if (!anima) return;
    entries_.push_back(Entry{anima, selectable, false});
    markDirty();
}

const Anima* TaskAnimaList::getAnima(std::int64_t index) const {
    if (index < 0 || static_cast<std::uint64_t>(index) >= entries_.size()) return nullptr;
    return entries_[static_cast<std::size_t>(index)].anima;
}

bool TaskAnimaList::removeAnima(std::int64_t index) {
    if (index < 0 || static_cast<std::uint64_t>(index) >= entries_.size()) return false;
    entries_.erase(entries_.begin() + index);
    markDirty();
    return true;
}

void TaskAnimaList::removeAll() {
    entries_.clear();
    markDirty();
}

bool TaskAnimaList::setList(const std::set<std::uint32_t>* known) {
    if (!known) return false;
    for (const Anima* anima : AnimaList::instance().inOrder())
        addAnima(anima, known->count(static_cast<std::uint32_t>(anima->id())) != 0);
    return true;
}

bool TaskAnimaList::setList(const World* world) {
    return setList(world ? &world->animaSet() : nullptr);
}

void TaskAnimaList::open(int limit, bool playSound) {
    limit_ = limit;
    // A new choice starts with nothing chosen: the count is 0 and no more
    // than the new limit can ever be selected.
    for (Entry& entry : entries_) entry.selected = false;
    resetForOpen();
    if (playSound) shell_keys::requestSound(SE_OK);
}

void TaskAnimaList::close() {
    setEventMask(getEventMask() & ~(kEventUpdate | kEventDraw));
    setState(kClosed);
    setDrawCursor(true);
    removeAll();
}

std::uint32_t TaskAnimaList::getSelNum() const {
    return static_cast<std::uint32_t>(
        std::count_if(entries_.begin(), entries_.end(), [](const Entry& e) { return e.selected; }));
}

const Anima* TaskAnimaList::getSelAnima(std::int64_t n) const {
    if (n < 0) return nullptr;
    for (const Entry& entry : entries_) {
        if (entry.selected && n-- == 0) return entry.anima;
    }
    return nullptr;
}

bool TaskAnimaList::mayFlip(const Entry& entry) const {
    if (!entry.selectable || !entry.anima->canSelect()) return false;
    return entry.selected || static_cast<std::int64_t>(getSelNum()) < limit_;
}

bool TaskAnimaList::toggleEntry(std::uint32_t index) {
    if (index >= entries_.size() || !mayFlip(entries_[index])) return false;
    entries_[index].selected = !entries_[index].selected;
    return true;
}

bool TaskAnimaList::toggleSelect(int row) {
    if (!toggleEntry(entryAtRow(row))) return false;
    markDirty();
    resetBlink();
    return true;
}

void TaskAnimaList::selectAllOrNone() {
    // Everything that may be chosen is chosen: clear; else choose in list
    // order while the limit allows.
    bool all = true;
    for (const Entry& entry : entries_) {
        if (!entry.selected && mayFlip(entry)) all = false;
    }
    for (Entry& entry : entries_) {
        if (all)
            entry.selected = false;
        else if (!entry.selected && mayFlip(entry))
            entry.selected = true;
    }
}

void TaskAnimaList::drawRow(std::uint32_t index, int y) {
    const Entry& entry = entries_[index];
    const Anima& anima = *entry.anima;
    qel::SysRenderText& text = qel::SysRenderText::instance();
    const int vp = viewport();
    if (multiple() && entry.selectable && anima.canSelect())
        text.drawText(kFont, vp, ANIMALIST_SELECT_X, y, entry.selected ? "+" : "-", Color::WHITE);
    if (!entry.selectable) {
        text.drawText(kFont, vp, ANIMALIST_NAME_X, y, ANIMALIST_OFF_NAME, COLOR_ANIMA_OFF);
        return;
    }
    queueChip(anima.chip(), static_cast<float>(ANIMALIST_ICON_X),
              static_cast<float>(y + static_cast<int>(FONT_HEIGHT) / 2), 0.5f, anima.color());
    text.drawText(kFont, vp, ANIMALIST_NAME_X, y, anima.name(), COLOR_ANIMA_ON);
    // Rarity above the mark count draws no blanks.
    const std::int64_t rarity = std::clamp<std::int64_t>(anima.rarity(), 0, kMostMarks);
    const std::int64_t blanks = std::clamp<std::int64_t>(
        static_cast<std::int64_t>(ANIMALIST_RARITY_MAX) - rarity, 0, kMostMarks);
    const std::string marks =
        qel::SysRenderText::escapeFormat(repeated(ANIMALIST_RARITY_CHAR, rarity)) + "##" +
        qel::SysRenderText::escapeFormat(repeated(ANIMALIST_RARITY_BLANK, blanks));
    text.drawFormat(vp, kFont, ANIMALIST_RARITY_X, y, marks, COLOR_ANIMA_RARITY, COLOR_ANIMA_BLANK);
}
