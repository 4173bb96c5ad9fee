#include "game/shell/ui/task_item_list.h"

#include <algorithm>
#include <atomic>
#include <cstring>

#include "engine/core/report.h"
#include "engine/file/string_util.h"
#include "engine/render/sys_render_text.h"
#include "engine/task/sys_task.h"
#include "game/shell/settings.h"
#include "game/shell/ui/shell_keys.h"
#include "game/world/command.h"
#include "game/world/game_data.h"
#include "game/world/object_item.h"

namespace {

constexpr int kFont = 1;

// The weight column's format counts only with exactly one floating
// conversion (e, f or g, any case) besides "%%": it is handed one double.
bool weightFormatFits(std::string_view format) {
    int conversions = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') continue;
        if (++i < format.size() && format[i] == '%') continue;
        while (i < format.size() && std::strchr(" #+-0'", format[i])) ++i;
        while (i < format.size() && format[i] >= '0' && format[i] <= '9') ++i;
        if (i < format.size() && format[i] == '.') {
            ++i;
            while (i < format.size() && format[i] >= '0' && format[i] <= '9') ++i;
        }
        if (i < format.size() && format[i] == 'l') ++i;
        if (i >= format.size() || !std::strchr("eEfFgG", format[i])) return false;
        ++conversions;
    }
    return conversions == 1;
}

// The name the player sees while the kind is unknown: sorting by it keeps
// the order from telling kinds apart.
std::string_view unknownName(const ObjectItem& item) {
    const ItemName* name = item.getItemName();
    return name ? std::string_view(name->getFalseName()) : std::string_view();
}

// True when a comes before b in the list's order.
bool listedBefore(const ObjectItem* a, const ObjectItem* b) {
    if (a->isDroped() != b->isDroped()) return a->isDroped();
    if (a->isShop() != b->isShop()) return a->isShop();
    const bool aEquipped = a->getEquipChara() != nullptr;
    const bool bEquipped = b->getEquipChara() != nullptr;
    if (aEquipped != bEquipped) return aEquipped;
    if (aEquipped) {
        if (a->getEquipPos() != b->getEquipPos()) return a->getEquipPos() < b->getEquipPos();
        return !a->isSubWeapon() && b->isSubWeapon();
    }
    if (a->getItemType() != b->getItemType()) return a->getItemType() < b->getItemType();
    const std::string_view aName = unknownName(*a);
    const std::string_view bName = unknownName(*b);
    if (aName != bName) return bName < aName;  // bytes compare unsigned; the greater first
    if (a->getBaseId() != b->getBaseId()) return a->getBaseId() < b->getBaseId();
    return a->getId() < b->getId();
}

}  // namespace

TaskItemList* TaskItemList::create(qel::TaskBase* scene) {
    auto* list = new TaskItemList();
    if (!qel::SysTask::instance().add(list, scene)) {
        delete list;
        return nullptr;
    }
    GameData::instance().setItemList(list);
    return list;
}

TaskItemList* TaskItemList::current() {
    return GameData::instance().getItemList();
}

TaskItemList::TaskItemList()
    : TaskPagedList(kViewport), objects_(GameData::instance().getObjectManager()) {
    if (objects_) objects_->addListener(this);
}

TaskItemList::~TaskItemList() {
    if (objects_) objects_->removeListener(this);
    if (current() == this) GameData::instance().setItemList(nullptr);
}

void TaskItemList::objectDeleted(ObjectBase* object) {
    // By address: the object may be inside its destructor.
    const void* address = object;
    const auto gone = std::remove_if(entries_.begin(), entries_.end(), [address](const Entry& e) {
        return static_cast<const void*>(e.item) == address;
    });
    if (gone == entries_.end()) return;
    entries_.erase(gone, entries_.end());
    markDirty();
}

void TaskItemList::managerDestroyed(ObjectManager* manager) {
    if (manager != objects_) return;
    objects_ = nullptr;
    entries_.clear();
    markDirty();
}

TaskPagedList::Layout TaskItemList::layout() const {
    Layout l;
    l.rows = ITEMLIST_ITEM_MAX;
    l.x = ITEMLIST_X;
    l.y = ITEMLIST_Y;
    l.width = ITEMLIST_WIDTH;
    l.textY = ITEMLIST_TEXT_Y;
    l.textSpace = ITEMLIST_TEXT_SPACE;
    l.endSpace = ITEMLIST_END_SPACE;
    l.cursorX = ITEMLIST_CURSOR_X;
    l.codeX = ITEMLIST_CODE_X;
    l.pageX = ITEMLIST_PAGE_X;
    l.pageY = ITEMLIST_PAGE_Y;
    l.back = ITEMLIST_BACKCOLOR;
    l.caption = ITEMLIST_TAG;
    l.cursorChip = ITEMLIST_CURSOR;
    l.blinkOn = ITEMLIST_BLINK_ON;
    l.blinkOff = ITEMLIST_BLINK_OFF;
    return l;
}

void TaskItemList::addItem(ObjectItem* item) {
    // Only the items of the manager the list hears from: of any other the
    // list would not learn that it was deleted.
    if (!item || !objects_ || item->getManager() != objects_) return;
    entries_.push_back(Entry{item, false});
    markDirty();
}

ObjectItem* TaskItemList::getItem(std::int64_t index) const {
    if (index < 0 || static_cast<std::uint64_t>(index) >= entries_.size()) return nullptr;
    return entries_[static_cast<std::size_t>(index)].item;
}

bool TaskItemList::removeItem(std::int64_t index) {
    if (index < 0 || static_cast<std::uint64_t>(index) >= entries_.size()) return false;
    entries_.erase(entries_.begin() + index);
    markDirty();
    return true;
}

void TaskItemList::removeAll() {
    entries_.clear();
    markDirty();
}

bool TaskItemList::setList(LinkList<ObjectBase>* node) {
    if (!node) return false;
    for (; node; node = node->next) {
        if (node->obj && node->obj->getType() == ObjectBase::TYPE_ITEM)
            addItem(qel::classCast<ObjectItem>(node->obj));
    }
    return true;
}

bool TaskItemList::setList(LinkList<ObjectItem>* node) {
    if (!node) return false;
    for (; node; node = node->next) addItem(node->obj);
    return true;
}

void TaskItemList::sortAndMerge() {
    std::stable_sort(entries_.begin(), entries_.end(),
                     [](const Entry& a, const Entry& b) { return listedBefore(a.item, b.item); });
    for (std::size_t i = 1; i < entries_.size();) {
        // An item listed twice sorts next to itself: it is kept once, and
        // never merged into itself a second time.
        const bool twice = entries_[i - 1].item == entries_[i].item;
        if (twice) entries_[i - 1].selected = entries_[i - 1].selected || entries_[i].selected;
        if (twice || entries_[i - 1].item->marge(entries_[i].item))
            entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(i));
        else
            ++i;
    }
}

void TaskItemList::open(bool multiple, bool playSound) {
    multiple_ = multiple;
    sortAndMerge();
    resetForOpen();
    if (playSound) shell_keys::requestSound(SE_OK);
}

void TaskItemList::close() {
    setEventMask(getEventMask() & ~(kEventUpdate | kEventDraw));
    setState(kClosed);
    option_ = "default";
    setDrawCursor(true);
    removeAll();
}

void TaskItemList::stopAndClear() {
    stop();
    setAllSelect(false);
}

bool TaskItemList::getSelectedItem(Command* command) const {
    if (!command) return false;
    for (const Entry& entry : entries_) {
        if (entry.selected) command->addItem(entry.item);
    }
    return true;
}

void TaskItemList::setAllSelect(bool selected) {
    for (Entry& entry : entries_) entry.selected = selected;
    markDirty();
}

void TaskItemList::selectAllOrNone() {
    const bool all =
        std::all_of(entries_.begin(), entries_.end(), [](const Entry& e) { return e.selected; });
    setAllSelect(!all);
}

bool TaskItemList::toggleEntry(std::uint32_t index) {
    if (index >= entries_.size()) return false;
    entries_[index].selected = !entries_[index].selected;
    return true;
}

void TaskItemList::toggleSelect(int row) {
    if (toggleEntry(entryAtRow(row))) {
        markDirty();
        resetBlink();
    }
}

void TaskItemList::setOption(const char* option) {
    option_ = option ? option : "";
    markDirty();
}

void TaskItemList::drawRow(std::uint32_t index, int y) {
    const Entry& entry = entries_[index];
    const ObjectItem& item = *entry.item;
    qel::SysRenderText& text = qel::SysRenderText::instance();
    const int vp = viewport();
    text.drawText(kFont, vp, ITEMLIST_SELECT_X, y, multiple_ ? (entry.selected ? "+" : "-") : ")",
                  Color::WHITE);
    queueChip(item.getChip(), static_cast<float>(ITEMLIST_ICON_X),
              static_cast<float>(y + static_cast<int>(FONT_HEIGHT) / 2), 0.5f, item.getColor());

    const char* shown = item.getName(option_.c_str());
    const std::string_view name = shown ? shown : "";
    const Color colour = item.getNameColor();
    if (name.size() <= ITEMLIST_NAME_LENGTH) {
        text.drawText(kFont, vp, ITEMLIST_NAME_X, y, name, colour);
    } else {
        const std::string_view cut =
            name.substr(0, qel::sjisPrefixLength(name, ITEMLIST_MINI_NAME_LENGTH));
        text.drawText(MINI_FONT, vp, ITEMLIST_NAME_X, y + static_cast<int>(MINI_FONT_OFFSET_Y), cut,
                      colour);
    }

    if (!weightFormatFits(ITEM_WEIGHT_FORMAT)) {
        static std::atomic<bool> reported{false};
        if (!ITEM_WEIGHT_FORMAT.empty())
            qel::reportOnce(reported,
                            "ITEM_WEIGHT_FORMAT needs one e, f or g conversion; weights not shown");
        return;
    }
    const double weight = static_cast<double>(item.getTotalWeight()) * ITEM_WEIGHT_RATIO;
    text.drawFormat(vp, kFont, ITEMLIST_WEIGHT_X, y, ITEM_WEIGHT_FORMAT, Color::WHITE, weight);
}
