// The delivering mode of the program on its own, so that tests can run it against a bus they own.

#include "platform/NotificationHelper.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    return pipfield::runNotificationHelper(QCoreApplication::arguments()).value_or(64);
}
