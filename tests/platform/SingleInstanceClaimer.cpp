// The other launch of the single-instance tests, in a process of its own as on the desktop:
// "--claim DIR" exits 0 when it got the instance, 1 when another holds it; "--claim-and-wait DIR"
// prints "claimed" once it holds it and keeps it until killed.

#include "platform/SingleInstance.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3 || (args[1] != "--claim" && args[1] != "--claim-and-wait")) {
        return 64;
    }
    pipfield::SingleInstance instance(args[2]);
    if (!instance.claim()) {
        return 1;
    }
    if (args[1] == "--claim") {
        return 0;
    }
    std::printf("claimed\n");
    std::fflush(stdout);
    return QCoreApplication::exec();
}
