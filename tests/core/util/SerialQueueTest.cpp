#include "core/util/SerialQueue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <thread>
#include <vector>

using vimbo::util::SerialQueue;

TEST(SerialQueueTest, RunsTasksOneAtATimeInOrder) {
    std::vector<int> order;
    std::atomic<int> running{0};
    bool overlapped = false;
    {
        SerialQueue queue("test.order");
        for (int i = 0; i < 200; ++i) {
            queue.async([&, i] {
                if (running.fetch_add(1) != 0) overlapped = true;
                order.push_back(i);
                running.fetch_sub(1);
            });
        }
    }
    ASSERT_EQ(order.size(), 200u);
    for (int i = 0; i < 200; ++i)
        EXPECT_EQ(order[i], i);
    EXPECT_FALSE(overlapped);
}

TEST(SerialQueueTest, SyncFromOtherThreadsWaitsForEarlierWorkAndItsOwnTask) {
    SerialQueue queue("test.sync");
    std::atomic<int> counter{0};
    queue.async([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        counter = 1;
    });
    int seen = -1;
    std::thread other([&] { queue.sync([&] { seen = counter.load(); }); });
    other.join();
    EXPECT_EQ(seen, 1);
}

TEST(SerialQueueTest, SyncOnTheWorkerRunsInlineInsteadOfDeadlocking) {
    SerialQueue queue("test.reentrant");
    bool inner = false;
    bool onWorker = false;
    queue.sync([&] {
        onWorker = queue.isCurrent();
        queue.sync([&] { inner = true; });
    });
    EXPECT_TRUE(onWorker);
    EXPECT_TRUE(inner);
    EXPECT_FALSE(queue.isCurrent());
    EXPECT_EQ(queue.label(), "test.reentrant");
}

TEST(SerialQueueTest, DestructionDrainsQueuedWorkIncludingTasksQueuedByTasks) {
    std::atomic<int> ran{0};
    {
        SerialQueue queue("test.drain");
        queue.async([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(30));
            ++ran;
            queue.async([&] { ++ran; });
        });
        for (int i = 0; i < 10; ++i)
            queue.async([&] { ++ran; });
    }
    EXPECT_EQ(ran.load(), 12);
}

TEST(SerialQueueTest, DestroyedByItsOwnTaskStillDrainsWithoutJoiningItself) {
    std::atomic<int> ran{0};
    // Shared with the task, so the promise outlives its own set_value.
    auto drained = std::make_shared<std::promise<void>>();
    auto done = drained->get_future();
    auto owner = std::make_shared<SerialQueue>("test.self");
    owner->async([] { std::this_thread::sleep_for(std::chrono::milliseconds(20)); });
    // The task holds the queue's last reference and drops it on the worker, as a task holding its
    // owner weakly does when the owner goes away meanwhile.
    owner->async([keep = owner, &ran]() mutable {
        ++ran;
        keep.reset();
    });
    owner->async([&ran, drained] {
        ++ran;
        drained->set_value();
    });
    owner.reset();
    ASSERT_EQ(done.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_EQ(ran.load(), 2);
}
