#include <QCoreApplication>
#include <gtest/gtest.h>

// One application object for the whole run: Qt's file, text and event-loop classes want one.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
