// One node of an intrusive doubly linked list of map objects or items.
//
// A list is a head node (no object) followed by element nodes; iteration
// starts at the head's next. Invariants kept by every operation: for linked
// nodes a and b, a.next == b exactly when b.prev == a; a node sits in at most
// one list; unlinking a node that is in no list changes nothing. A node does
// not own its object and a list does not own its nodes: whoever made a node
// frees it, and destroying a node first unlinks it, so a list never keeps a
// dangling neighbour. Nodes are not copyable (a copy would claim a place in
// a list it was never linked into). Nodes made one by one come from the world pool.
// A list's owner marks its head nodes (isHead) and an object its own nodes
// (isOwn: its three nodes in the object manager's lists, an item's node in
// an inventory), so the scripts' operations can keep the program's lists
// to the program's nodes: a head or an object's own node never moves or
// leaves its place by a script, and a node a script made never joins a
// list of the program. A node is a script record: destroying it forgets it
// in the scripts.
#pragma once

#include <cstddef>
#include <iterator>

#include "engine/core/core.h"
#include "engine/core/script_object.h"

template <class T>
struct LinkList : qel::ScriptRecord {
    T* obj = nullptr;
    LinkList* next = nullptr;
    LinkList* prev = nullptr;
    bool isHead = false;
    bool isOwn = false;

    explicit LinkList(T* object = nullptr) : obj(object) {}
    ~LinkList() { remove(); }
    LinkList(const LinkList&) = delete;
    LinkList& operator=(const LinkList&) = delete;

    bool isLinked() const { return next != nullptr || prev != nullptr; }
    // A head or an object's own node: a node of the program's lists.
    bool isProgramNode() const { return isHead || isOwn; }

    // Joins the neighbours and leaves this node in no list.
    void remove() {
        if (prev) prev->next = next;
        if (next) next->prev = prev;
        next = nullptr;
        prev = nullptr;
    }

    // Moves node to directly after this one, taking it out of whatever list
    // held it first. Null and this node itself are ignored (a node cannot
    // follow itself). Returns node.
    LinkList* insert(LinkList* node) {
        if (!node || node == this) return node;
        node->remove();
        node->next = next;
        node->prev = this;
        if (next) next->prev = node;
        next = node;
        return node;
    }

    // The objects of the list this node heads (the nodes after it). The
    // loop must not unlink the node it stands on; walk the nodes by hand,
    // taking next first, to remove while iterating.
    class ObjectIterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = T*;
        using difference_type = std::ptrdiff_t;
        using pointer = T**;
        using reference = T*;

        ObjectIterator() = default;
        explicit ObjectIterator(LinkList* n) : node_(n) {}
        T* operator*() const { return node_->obj; }
        ObjectIterator& operator++() {
            node_ = node_->next;
            return *this;
        }
        ObjectIterator operator++(int) {
            ObjectIterator old = *this;
            ++*this;
            return old;
        }
        bool operator==(const ObjectIterator&) const = default;

    private:
        LinkList* node_ = nullptr;
    };
    ObjectIterator begin() const { return ObjectIterator(next); }
    ObjectIterator end() const { return ObjectIterator(); }

    QEL_POOLED(qel::Pool::World);
};

// The two lists the game keeps: map objects (the object manager's lists of
// all objects, of each cell and of each kind) and items (an inventory or the
// contents of a bag). Both element types are only named here.
class ObjectBase;
class ObjectItem;
