// A variable given a value for the life of the object, its old value put
// back when the object goes: how a test changes a setting that the code
// under test reads directly, without leaking it into the tests after.
#pragma once

#include <utility>

namespace qel::test {

template <class T>
class ScopedValue {
public:
    ScopedValue(T& variable, T value) : variable_(variable), saved_(std::move(variable)) {
        variable_ = std::move(value);
    }
    ~ScopedValue() { variable_ = std::move(saved_); }
    ScopedValue(const ScopedValue&) = delete;
    ScopedValue& operator=(const ScopedValue&) = delete;

private:
    T& variable_;
    T saved_;
};

}  // namespace qel::test
