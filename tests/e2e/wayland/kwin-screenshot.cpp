// Saves what one of KWin's outputs shows, in its device pixels, as a PNG: KWin offers no
// wlr-screencopy, only its ScreenShot2 service on the session bus, which writes the raw pixels into
// a pipe the caller passes. Exits 1 when KWin refuses or the picture cannot be written.
// Usage: pipfield-kwin-screenshot OUTPUT FILE
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusPendingCall>
#include <QDBusPendingReply>
#include <QDBusUnixFileDescriptor>
#include <QImage>
#include <QVariantMap>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s OUTPUT FILE\n", argv[0]);
        return 2;
    }
    // A capture that never comes must not hang the test that asked for it.
    alarm(20);
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        std::perror("pipe");
        return 1;
    }
    QDBusInterface shots(QStringLiteral("org.kde.KWin"), QStringLiteral("/org/kde/KWin/ScreenShot2"),
                         QStringLiteral("org.kde.KWin.ScreenShot2"), QDBusConnection::sessionBus());
    const QVariantMap options{{QStringLiteral("native-resolution"), true}};
    QDBusPendingReply<QVariantMap> reply =
        shots.asyncCall(QStringLiteral("CaptureScreen"), QString::fromLocal8Bit(argv[1]), options,
                        QVariant::fromValue(QDBusUnixFileDescriptor(fds[1])));
    close(fds[1]);
    // KWin answers with the picture's size first and writes the pixels after; the pending call keeps
    // a copy of the pipe's end, so the data is read by its length rather than up to the end.
    reply.waitForFinished();
    if (reply.isError()) {
        std::fprintf(stderr, "KWin refused the screenshot: %s\n", qPrintable(reply.error().message()));
        return 1;
    }
    const QVariantMap results = reply.value();
    const int width = results.value(QStringLiteral("width")).toInt();
    const int height = results.value(QStringLiteral("height")).toInt();
    const int stride = results.value(QStringLiteral("stride")).toInt();
    const auto format = static_cast<QImage::Format>(results.value(QStringLiteral("format")).toInt());
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384 || stride < width) {
        std::fprintf(stderr, "KWin described a %d x %d picture of stride %d\n", width, height, stride);
        return 1;
    }
    QByteArray data(qsizetype{stride} * height, Qt::Uninitialized);
    for (qsizetype done = 0; done < data.size();) {
        const ssize_t got = read(fds[0], data.data() + done, static_cast<std::size_t>(data.size() - done));
        if (got <= 0) {
            std::fprintf(stderr, "KWin sent %lld of %lld bytes\n", static_cast<long long>(done),
                         static_cast<long long>(data.size()));
            return 1;
        }
        done += got;
    }
    close(fds[0]);
    const QImage image(reinterpret_cast<const uchar*>(data.constData()), width, height, stride, format);
    if (!image.convertToFormat(QImage::Format_RGB32).save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
