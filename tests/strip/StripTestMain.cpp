#include <gtest/gtest.h>

#include "../support/IsolatedDesktop.h"

#include <QApplication>
#include <QTemporaryDir>

int main(int argc, char** argv) {
    QTemporaryDir home;
    if (!pipfield::test::isolateFromDesktop(home)) {
        return 2;
    }
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
