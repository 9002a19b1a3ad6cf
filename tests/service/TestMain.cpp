#include "Process.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // As in the service: a dead engine must give EPIPE, not end the tests.
    orbelin::service::ignoreBrokenPipes();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
