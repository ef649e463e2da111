// The queue between the renderer and the encoder: order kept across
// threads, never more than its capacity held, and closing ends all waits
// while what was queued is still taken.
#include "recording/bounded_queue.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>

namespace {

TEST(BoundedQueue, KeepsOrderAndCapacityBetweenThreads) {
    BoundedQueue<std::unique_ptr<int>> queue(3);
    std::thread consumer([&] {
        std::unique_ptr<int> item;
        for (int expected = 0; queue.take(item); ++expected) {
            EXPECT_EQ(*item, expected);
            EXPECT_LE(queue.size(), 3u);
        }
    });
    for (int i = 0; i < 2000; ++i) {
        auto item = std::make_unique<int>(i);
        ASSERT_TRUE(queue.put(item));
        EXPECT_LE(queue.size(), 3u);
    }
    queue.close();
    consumer.join();
}

TEST(BoundedQueue, CloseWakesWaitersAndLeavesQueuedItemsToTake) {
    BoundedQueue<int> queue(1);
    std::thread waiting([&] {
        int item = 0;
        EXPECT_FALSE(queue.take(item)) << "a closed, empty queue gives nothing";
    });
    queue.close();
    waiting.join();

    BoundedQueue<int> full(1);
    int one = 1, two = 2;
    ASSERT_TRUE(full.put(one));
    std::thread blocked([&] { EXPECT_FALSE(full.put(two)) << "a put waiting for room gives up at close"; });
    full.close();
    blocked.join();
    int item = 0;
    EXPECT_TRUE(full.take(item));
    EXPECT_EQ(item, 1);
    EXPECT_FALSE(full.take(item));
    full.close();
}

}  // namespace
