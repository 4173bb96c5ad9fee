#include "game/data/dice.h"

Dice::Dice(const Dice& other)
    : count_(other.count_), sides_(other.sides_), next_(cloneChain(other.next_)) {}

Dice& Dice::operator=(const Dice& other) {
    if (this == &other) return *this;
    // Read everything first: other may be a term of this very chain, which
    // clear() frees.
    const std::int32_t count = other.count_;
    const std::int32_t sides = other.sides_;
    Dice* chain = cloneChain(other.next_);
    clear();
    count_ = count;
    sides_ = sides;
    next_ = chain;
    return *this;
}

Dice* Dice::cloneChain(const Dice* from) {
    Dice* head = nullptr;
    Dice** tail = &head;
    for (; from; from = from->next_) {
        Dice* term = new Dice(from->count_, from->sides_);
        if (!term) break;
        *tail = term;
        tail = &term->next_;
    }
    return head;
}

int Dice::termCount() const {
    int n = 0;
    for (const Dice* d = this; d; d = d->next_) ++n;
    return n;
}

void Dice::clear() {
    // Iterative, so a long chain cannot exhaust the stack.
    Dice* term = next_;
    next_ = nullptr;
    while (term) {
        Dice* following = term->next_;
        term->next_ = nullptr;
        delete term;
        term = following;
    }
}

bool Dice::append(std::int32_t count, std::int32_t sides) {
    clear();
    next_ = new Dice(count, sides);
    return next_ != nullptr;
}

bool Dice::operator==(const Dice& other) const {
    const Dice* a = this;
    const Dice* b = &other;
    for (; a && b; a = a->next_, b = b->next_) {
        if (a->count_ != b->count_ || a->sides_ != b->sides_) return false;
    }
    return a == b;
}
