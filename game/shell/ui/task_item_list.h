// The inventory window of the game scene: a paged list of items with a
// letter per row, a selection mark, the item's chip, name and weight, and a
// blinking cursor, for single or multiple choice. Scripts fill it, open it
// and poll it; the game scene makes one and publishes it in GameData.
//
// What it keeps true: besides the paged list's own, no entry outlives its
// item: the list hears of every deletion by the object manager and drops
// the item's entries. Opening sorts the entries so that the order never
// reveals an unidentified kind (names compare as the player sees them).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game/shell/ui/task_paged_list.h"
#include "game/world/link_list.h"
#include "game/world/object_manager.h"

class Command;
class ObjectBase;
class ObjectItem;

class TaskItemList : public TaskPagedList, private ObjectManager::Listener {
public:
    QEL_CLASS(TaskItemList, TaskPagedList, qel::Pool::Tasks);

    static constexpr int kViewport = 2;

    // Makes the game's list under the scene and publishes it in GameData.
    static TaskItemList* create(qel::TaskBase* scene);
    // The game's list, or null.
    static TaskItemList* current();

    TaskItemList();
    ~TaskItemList() override;

    // A null item, or one outside the game's object manager (a script's
    // plain item), adds nothing.
    void addItem(ObjectItem* item);
    // The item of entry `index`, or null when there is none.
    ObjectItem* getItem(std::int64_t index) const;
    bool removeItem(std::int64_t index);
    void removeAll();
    // Every object of the chain (from `node` on) that is an item; every
    // item of an item chain. False for none.
    bool setList(LinkList<ObjectBase>* node);
    bool setList(LinkList<ObjectItem>* node);

    // Shows the list and reads the keys: sorted, equal stacks merged, page
    // and cursor at the top; SE_OK when asked.
    void open(bool multiple = false, bool playSound = true);
    // Hides the list and forgets its entries and option.
    void close();
    // Input off and every selection cleared.
    void stopAndClear();

    // Appends the selected items, in list order, to the command's items.
    bool getSelectedItem(Command* command) const;
    void setAllSelect(bool selected);
    void toggleSelect(int row);
    // The kind the scripts' GetItemName is asked for ("default" at first).
    void setOption(const char* option);
    const std::string& option() const { return option_; }
    bool isMultiple() const { return multiple_; }
    std::uint32_t size() const { return static_cast<std::uint32_t>(entries_.size()); }
    bool isSelected(std::uint32_t index) const {
        return index < entries_.size() && entries_[index].selected;
    }

protected:
    Layout layout() const override;
    std::uint32_t entryCount() const override { return size(); }
    bool toggleEntry(std::uint32_t index) override;
    bool entrySelected(std::uint32_t index) const override { return isSelected(index); }
    bool multiple() const override { return multiple_; }
    bool letterDecides(bool) const override { return !multiple_; }
    void selectAllOrNone() override;
    void drawRow(std::uint32_t index, int y) override;

private:
    struct Entry {
        ObjectItem* item = nullptr;
        bool selected = false;
    };

    void objectDeleted(ObjectBase* object) override;
    void managerDestroyed(ObjectManager* manager) override;
    void sortAndMerge();

    ObjectManager* objects_ = nullptr;
    std::vector<Entry> entries_;
    bool multiple_ = false;
    std::string option_ = "default";
};
