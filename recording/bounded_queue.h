#pragma once
// A first-in first-out queue of at most `capacity` items between threads:
// putting waits while it is full, taking waits while it is empty, so a fast
// producer can never run further ahead of its consumer than the capacity.
// Any number of threads may put and take; close() ends the waiting on both
// sides. Items are moved in and out, never copied.
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>

template <typename T>
class BoundedQueue {
public:
    explicit BoundedQueue(size_t capacity) : capacity(capacity < 1 ? 1 : capacity) {}

    // Waits for room, then appends item. False, leaving item with the caller,
    // once the queue is closed.
    bool put(T &item) {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return closed || items.size() < capacity; });
        if (closed) return false;
        items.push_back(std::move(item));
        changed.notify_all();
        return true;
    }

    // Waits for an item and moves the oldest into item. False once the queue
    // is closed and nothing is left in it: what was put before close() is
    // still taken.
    bool take(T &item) {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return closed || !items.empty(); });
        if (items.empty()) return false;
        item = std::move(items.front());
        items.pop_front();
        changed.notify_all();
        return true;
    }

    // No more puts; wakes every waiting thread. Harmless when repeated.
    void close() {
        std::lock_guard lock(mutex);
        closed = true;
        changed.notify_all();
    }

    size_t size() const {
        std::lock_guard lock(mutex);
        return items.size();
    }

private:
    const size_t capacity;
    mutable std::mutex mutex;
    std::condition_variable changed;   // an item came or went, or the queue closed
    std::deque<T> items;
    bool closed = false;
};
