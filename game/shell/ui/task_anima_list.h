// The paged list of anima of the game scene: every anima of the anima
// table with its chip, name and rarity marks, those the player does not
// know shown under a placeholder name. The twin of the item list, choosing
// up to a limit given at opening: below 2 a row letter decides at once.
//
// What it keeps true: besides the paged list's own, opening clears every
// selection, so no more entries are selected than the limit allows, and
// only entries the player knows whose anima may be selected; the selected
// count is always the number of selected entries.
#pragma once

#include <cstdint>
#include <set>
#include <vector>

#include "game/shell/ui/task_paged_list.h"

class Anima;
class World;

class TaskAnimaList : public TaskPagedList {
public:
    QEL_CLASS(TaskAnimaList, TaskPagedList, qel::Pool::Tasks);

    static constexpr int kViewport = 13;

    // Makes the game's list under the scene and publishes it in GameData.
    static TaskAnimaList* create(qel::TaskBase* scene);
    // The game's list, or null.
    static TaskAnimaList* current();

    TaskAnimaList();
    ~TaskAnimaList() override;

    // A null anima adds nothing.
    void addAnima(const Anima* anima, bool selectable);
    // The anima of entry `index`, or null.
    const Anima* getAnima(std::int64_t index) const;
    bool removeAnima(std::int64_t index);
    void removeAll();
    // Every anima of the anima table in table order, selectable when the
    // player knows it (in `known`); false without a set.
    bool setList(const std::set<std::uint32_t>* known);
    bool setList(const World* world);

    // Shows the list and reads the keys, allowing `limit` choices.
    void open(int limit = 1, bool playSound = true);
    // Hides the list and forgets its entries.
    void close();

    std::uint32_t getSelNum() const;
    // The anima of the n-th selected entry in list order, or null.
    const Anima* getSelAnima(std::int64_t n = 0) const;
    // The anima under the cursor, or null.
    const Anima* getCurAnima() const { return getAnima(getCurIndex()); }
    // Flips the row's selection when its anima is known and may be selected
    // and the limit allows; whether it flipped.
    bool toggleSelect(int row);
    int limit() const { return limit_; }
    std::uint32_t size() const { return static_cast<std::uint32_t>(entries_.size()); }
    bool isSelected(std::uint32_t index) const {
        return index < entries_.size() && entries_[index].selected;
    }

protected:
    Layout layout() const override;
    std::uint32_t entryCount() const override { return size(); }
    bool toggleEntry(std::uint32_t index) override;
    bool entrySelected(std::uint32_t index) const override { return isSelected(index); }
    bool multiple() const override { return limit_ >= 2; }
    bool letterDecides(bool flipped) const override { return flipped && limit_ < 2; }
    void selectAllOrNone() override;
    void drawRow(std::uint32_t index, int y) override;

private:
    struct Entry {
        const Anima* anima = nullptr;
        bool selectable = false;  // the player knows it
        bool selected = false;
    };
    bool mayFlip(const Entry& entry) const;

    std::vector<Entry> entries_;
    int limit_ = 1;
};
