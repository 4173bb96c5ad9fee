#include "game/data/dice.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <utility>
#include <vector>

#include "engine/core/sys_rand.h"

namespace {

std::int32_t saturate(std::int64_t value) {
    constexpr std::int64_t lo = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t hi = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(value < lo ? lo : value > hi ? hi : value);
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads a run of at least one digit at `pos`, saturating at the 32-bit range.
bool readNumber(std::string_view text, std::size_t& pos, std::int32_t& value) {
    if (pos >= text.size() || !isDigit(text[pos])) return false;
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    std::int64_t n = 0;
    for (; pos < text.size() && isDigit(text[pos]); ++pos) {
        n = std::min(kMax, n * 10 + (text[pos] - '0'));
    }
    value = static_cast<std::int32_t>(n);
    return true;
}

// The dice a term of this count and these sides holds.
std::int64_t diceOf(std::int32_t count, std::int32_t sides) {
    return sides < 2 ? 0 : std::llabs(std::int64_t{count});
}

}  // namespace

Dice::Dice(const Dice& other)
    : count_(other.count_), sides_(other.sides_), next_(cloneChain(other.next_)) {}

Dice& Dice::operator=(const Dice& other) {
    if (this == &other) return *this;
    // Clone first: other may be a term of this very chain.
    Dice* chain = cloneChain(other.next_);
    const std::int32_t count = other.count_;
    const std::int32_t sides = other.sides_;
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

Dice* Dice::clone() const {
    Dice* copy = new Dice(count_, sides_);
    if (copy) copy->next_ = cloneChain(next_);
    return copy;
}

bool Dice::setSides(std::int32_t sides) {
    if (sides < 0) return false;
    sides_ = sides;
    return true;
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
    if (sides < 0) return false;
    clear();
    next_ = new Dice(count, sides);
    return next_ != nullptr;
}

std::int64_t Dice::diceCount() const {
    std::int64_t n = 0;
    for (const Dice* d = this; d; d = d->next_) n += diceOf(d->count_, d->sides_);
    return n;
}

bool Dice::addTerm(std::int32_t sides, std::int32_t count) {
    if (sides < 0) return false;
    if (sides >= 2) {
        std::int32_t before = 0;
        for (const Dice* d = this; d; d = d->next_) {
            if (d->sides_ == sides) {
                before = d->count_;
                break;
            }
        }
        const std::int64_t had = diceOf(before, sides);
        const std::int64_t will = diceOf(saturate(std::int64_t{before} + count), sides);
        if (will > had && diceCount() - had + will > kMaxDice) return false;
    }
    if (sides_ == sides) {
        count_ = saturate(std::int64_t{count_} + count);
        if (count_ != 0) return true;
        if (Dice* second = next_) {
            count_ = second->count_;
            sides_ = second->sides_;
            next_ = second->next_;
            second->next_ = nullptr;
            delete second;
        } else {
            sides_ = 1;
        }
        return true;
    }
    Dice* last = this;
    for (Dice** link = &next_; *link; link = &(*link)->next_) {
        Dice* term = *link;
        if (term->sides_ == sides) {
            term->count_ = saturate(std::int64_t{term->count_} + count);
            if (term->count_ == 0) {
                *link = term->next_;
                term->next_ = nullptr;
                delete term;
            }
            return true;
        }
        last = term;
    }
    last->next_ = new Dice(count, sides);
    return last->next_ != nullptr;
}

Dice& Dice::add(std::int32_t sides, std::int32_t count) {
    addTerm(sides, count);
    return *this;
}

Dice& Dice::add(const Dice& other) {
    // Taken apart first: adding changes the chain that `other` may belong to.
    std::vector<std::pair<std::int32_t, std::int32_t>> terms;
    for (const Dice* d = &other; d; d = d->next_) terms.emplace_back(d->sides_, d->count_);
    for (const auto& [sides, count] : terms) addTerm(sides, count);
    return *this;
}

std::int32_t Dice::roll() const {
    return roll(qel::SysRand::instance());
}

std::int32_t Dice::roll(qel::SysRand& rand) const {
    std::int64_t sum = 0;
    for (const Dice* d = this; d; d = d->next_) {
        if (d->sides_ < 2) {
            sum += d->count_;
            continue;
        }
        const std::int64_t dice = std::llabs(std::int64_t{d->count_});
        const auto sides = static_cast<std::uint32_t>(d->sides_);
        for (std::int64_t i = 0; i < dice; ++i) {
            const std::int64_t face = rand.getRand() % sides + 1;
            sum += d->count_ > 0 ? face : -face;
        }
    }
    return saturate(sum);
}

// A constant term is worth its count at both ends; for dice the product
// count x sides is the other end.
std::int32_t Dice::getMin() const {
    std::int64_t sum = 0;
    for (const Dice* d = this; d; d = d->next_) {
        if (d->sides_ < 2 || d->count_ > 0) {
            sum += d->count_;
        } else {
            sum += std::int64_t{d->count_} * d->sides_;
        }
    }
    return saturate(sum);
}

std::int32_t Dice::getMax() const {
    std::int64_t sum = 0;
    for (const Dice* d = this; d; d = d->next_) {
        if (d->sides_ < 2 || d->count_ <= 0) {
            sum += d->count_;
        } else {
            sum += std::int64_t{d->count_} * d->sides_;
        }
    }
    return saturate(sum);
}

std::string Dice::name() const {
    std::string text;
    char piece[32];
    for (const Dice* d = this; d; d = d->next_) {
        if (d != this && d->count_ == 0) continue;
        int n = std::snprintf(piece, sizeof piece, d == this ? "%d" : "%+d", d->count_);
        if (d->sides_ != 1) {
            n += std::snprintf(piece + n, sizeof piece - static_cast<std::size_t>(n), "d%d",
                               d->sides_);
        }
        text.append(piece, static_cast<std::size_t>(n));
    }
    return text;
}

bool Dice::Create(std::string_view text) {
    clear();
    bool first = true;
    std::size_t pos = 0;
    while (pos < text.size()) {
        bool negative = false;
        if (text[pos] == '+' || text[pos] == '-') {
            negative = text[pos] == '-';
            ++pos;
        }
        std::int32_t count = 0;
        if (!readNumber(text, pos, count)) return false;
        std::int32_t sides = 1;
        if (pos < text.size() && (text[pos] == 'd' || text[pos] == 'D')) {
            ++pos;
            if (!readNumber(text, pos, sides)) return false;
        }
        if (pos < text.size() && text[pos] != '+' && text[pos] != '-') return false;
        if (negative) count = -count;
        if (first) {
            if (diceOf(count, sides) > kMaxDice) return false;
            count_ = count;
            sides_ = sides;
            first = false;
        } else if (!addTerm(sides, count)) {
            return false;
        }
    }
    return true;
}

bool Dice::operator==(const Dice& other) const {
    const Dice* a = this;
    const Dice* b = &other;
    for (; a && b; a = a->next_, b = b->next_) {
        if (a->count_ != b->count_ || a->sides_ != b->sides_) return false;
    }
    return a == b;
}
