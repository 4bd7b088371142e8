#include "core/util/SerialQueue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <thread>

using std::chrono::milliseconds;
using vimbo::util::SerialQueue;

TEST(SerialQueueTest, RunsTasksInOrderAndDrainsThemWhenDestroyed) {
    int next = 0;
    bool wrong = false;
    {
        SerialQueue queue("test.order");
        // The first task holds the worker until destruction has begun; the last one queues one more.
        queue.async([] { std::this_thread::sleep_for(milliseconds(30)); });
        for (int i = 0; i < 200; ++i)
            queue.async([&, i] {
                if (next++ != i) wrong = true;
                if (i == 199) queue.async([&] { ++next; });
            });
    }
    EXPECT_EQ(next, 201);
    EXPECT_FALSE(wrong);
}

TEST(SerialQueueTest, SyncWaitsForEarlierWorkAndRunsInlineOnTheWorker) {
    SerialQueue queue("test.sync");
    std::atomic<int> counter{0};
    queue.async([&] {
        std::this_thread::sleep_for(milliseconds(20));
        counter = 1;
    });
    queue.sync([] {});
    EXPECT_EQ(counter, 1);

    bool onWorker = false, inner = false;
    queue.sync([&] {
        onWorker = queue.isCurrent();
        queue.sync([&] { inner = true; }); // waiting for itself would deadlock
    });
    EXPECT_TRUE(onWorker && inner);
    EXPECT_FALSE(queue.isCurrent());
}

TEST(SerialQueueTest, DestroyedByItsOwnTaskStillDrainsWithoutJoiningItself) {
    auto drained = std::make_shared<std::promise<void>>(); // shared, so it outlives its own set_value
    auto done = drained->get_future();
    auto owner = std::make_shared<SerialQueue>("test.self");
    owner->async([] { std::this_thread::sleep_for(milliseconds(20)); });
    // The task drops the queue's last reference on the worker, as a task holding its owner weakly
    // does when the owner goes away meanwhile.
    owner->async([keep = owner]() mutable { keep.reset(); });
    owner->async([drained] { drained->set_value(); });
    owner.reset();
    EXPECT_EQ(done.wait_for(std::chrono::seconds(10)), std::future_status::ready);
}
