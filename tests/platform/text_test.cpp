// The file name of a path, as both the window caption and the Summary of Days show it.
#include <gtest/gtest.h>

#include "platform/text.h"

namespace {

TEST(FileNameOf, FollowsTheLastSeparatorOfEitherKindOrADrive) {
    EXPECT_EQ(FileNameOf("C:\\logs\\2026-12-09.mtf"), "2026-12-09.mtf");
    EXPECT_EQ(FileNameOf("Z:/tmp/a b.mtf"), "a b.mtf");
    EXPECT_EQ(FileNameOf("C:lunch.mtf"), "lunch.mtf");
    EXPECT_EQ(FileNameOf("lunch.mtf"), "lunch.mtf");
}

}  // namespace
