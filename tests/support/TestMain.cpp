#include <gtest/gtest.h>

#include "support/ScratchDir.h"

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new ScratchDirPerTest);
    return RUN_ALL_TESTS();
}
