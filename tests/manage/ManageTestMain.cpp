#include <gtest/gtest.h>

#include "../support/IsolatedDesktop.h"

#include <QApplication>
#include <QTemporaryDir>

int main(int argc, char** argv) {
    QTemporaryDir home;
    if (!pipfield::test::isolateFromDesktop(home)) {
        return 2;
    }
    // The window is Korean and its dates are Seoul's, whatever the machine's locale.
    setenv("TZ", "Asia/Seoul", 1);
    setenv("LANG", "ko_KR.UTF-8", 1);
    QLocale::setDefault(QLocale(QLocale::Korean, QLocale::SouthKorea));
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
