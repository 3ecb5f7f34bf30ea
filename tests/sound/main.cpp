#include <QCoreApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // The mixer's output thread runs a Qt event loop, which wants an application object.
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
