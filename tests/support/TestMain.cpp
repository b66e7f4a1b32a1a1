// The one main() of the test programs: temporary desktop folders, Seoul time and a Korean locale
// whatever the machine's, and the application object the tested layer needs.

#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#ifdef PIPFIELD_TEST_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

#include "support/IsolatedDesktop.h"

#include <cstdlib>

int main(int argc, char** argv) {
    QTemporaryDir home;
    if (!pipfield::test::isolateFromDesktop(home)) {
        return 2;
    }
    // The window is Korean and its dates are Seoul's, whatever the machine's locale.
    setenv("TZ", "Asia/Seoul", 1);
    setenv("LANG", "ko_KR.UTF-8", 1);
    QLocale::setDefault(QLocale(QLocale::Korean, QLocale::SouthKorea));
    TestApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
