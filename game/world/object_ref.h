// A weak reference to a map object: it reads null from the moment the
// object is asked to go (ObjectBase::destroy: out of the world, then
// deleted) and so never reaches freed memory. Setting it to an object that
// is going already gives null too.
//
// What it keeps true: every reference to an object is in the object's list
// of references, which the object empties as it leaves the world and as it
// is destroyed; a copy is a new reference to the same object. Game thread
// only, like the objects.
#pragma once

class ObjectBase;

class ObjectRefBase {
public:
    ObjectRefBase() = default;
    explicit ObjectRefBase(ObjectBase* object) { reset(object); }
    ObjectRefBase(const ObjectRefBase& other) { reset(other.object_); }
    ObjectRefBase& operator=(const ObjectRefBase& other) {
        if (this != &other) reset(other.object_);
        return *this;
    }
    ~ObjectRefBase() { reset(nullptr); }

    ObjectBase* object() const { return object_; }
    void reset(ObjectBase* object);

private:
    friend class ObjectBase;

    ObjectBase* object_ = nullptr;
    ObjectRefBase* prev_ = nullptr;
    ObjectRefBase* next_ = nullptr;
};

// The typed form; T is a map object class (complete where get and reset are
// used).
template <class T>
class ObjectRef : private ObjectRefBase {
public:
    ObjectRef() = default;
    explicit ObjectRef(T* object) : ObjectRefBase(object) {}
    T* get() const { return static_cast<T*>(object()); }
    void reset(T* object) { ObjectRefBase::reset(object); }
};
