#include <gtest/gtest.h>

#include "../support/IsolatedDesktop.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include "GameTestSupport.h"

int main(int argc, char** argv) {
    QTemporaryDir home;
    if (!pipfield::test::isolateFromDesktop(home)) {
        return 2;
    }
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
