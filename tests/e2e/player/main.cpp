#include "player/PlayerWebProfile.h"

#include <QApplication>
#include <cstring>
#include <gtest/gtest.h>

// The player needs a real application with a display; listing the tests needs neither.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--gtest_list_tests") == 0) {
            return RUN_ALL_TESTS();
        }
    }
    PlayerWebProfile::registerUrlScheme();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
