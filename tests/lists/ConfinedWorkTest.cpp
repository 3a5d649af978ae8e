// Work done in a child process of bounded memory and time: what it gives
// back arrives whole; running out of memory, crashing or looping ends only
// the child.

#include "lists/ConfinedWork.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <thread>

TEST(ConfinedWork, AnswersComeBackAndFailuresEndOnlyTheChild) {
    const QByteArray big(3 << 20, 'x');
    EXPECT_EQ(lists::runConfined([&] { return big; }, 64 << 20, 8 << 20, 10), big);
    EXPECT_FALSE(lists::runConfined([&] { return big; }, 64 << 20, 1 << 20, 10))
        << "more than it may give back";

    const auto hungry = [] {
        // Touches 256 MB, far beyond the 64 MB allowed.
        char* block = static_cast<char*>(std::malloc(qsizetype(256) << 20));
        if (!block)
            throw std::bad_alloc();
        std::memset(block, 1, qsizetype(256) << 20);
        return QByteArray(block, 1);
    };
    EXPECT_FALSE(lists::runConfined(hungry, 64 << 20, 1024, 10));
    EXPECT_FALSE(lists::runConfined([]() -> QByteArray { std::abort(); }, 64 << 20, 1024, 10));

    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(lists::runConfined(
        [] {
            for (;;)
                std::this_thread::sleep_for(std::chrono::seconds(1));
            return QByteArray();
        },
        64 << 20, 1024, 1));
    EXPECT_LT(clock.elapsed(), 5000);
}
