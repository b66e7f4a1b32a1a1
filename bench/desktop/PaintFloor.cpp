// The floor under the strip's cost: a bare translucent, frameless, always-on-top Qt window of the
// strip's size that does nothing but repaint worker-sized patches (one, or as many as there are
// walking workers), each moving a pixel at a time, so many times a second. Run under the same X
// server as the program, it shows what Qt and the X server cost for that many small paints,
// whatever the scene does. With no patches it only wakes that often: what Qt's event loop costs.
//
//   pipfield-paint-floor [--rate 18] [--patches 1] [--seconds 60]   prints cpu_percent over the run

#include "../CpuTime.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdio>

namespace {

using pipfield::bench::cpuSeconds;

class Patch final : public QWidget {
public:
    explicit Patch(int patches)
        : QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus),
          m_patches(std::max(0, patches)) {
        setAttribute(Qt::WA_TranslucentBackground);
        setAttribute(Qt::WA_ShowWithoutActivating);
    }
    void step() {
        if (m_patches == 0) {
            return;
        }
        QRegion dirty;
        for (int i = 0; i < m_patches; ++i) {
            dirty += patch(i);
        }
        m_x = (m_x + 1) % lane();
        for (int i = 0; i < m_patches; ++i) {
            dirty += patch(i);
        }
        // Painted at once, as the strip paints each hop.
        repaint(dirty);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        for (int i = 0; i < m_patches; ++i) {
            painter.fillRect(patch(i), QColor(40, 90, 200));
        }
    }

private:
    // Each patch walks in a lane of its own, so that the patches never meet.
    int lane() const { return std::max(1, width() / m_patches - 24); }
    QRect patch(int i) const { return {i * (width() / m_patches) + m_x, height() - 26, 24, 24}; }
    int m_patches;
    int m_x = 0;
};

} // namespace

int main(int argc, char** argv) {
    // The same choice as the game's, so that the floor is the game's floor.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM")) {
        qputenv("QT_XCB_NO_MITSHM", "1");
    }
    QApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption rate("rate", "Paints a second.", "n", "18");
    const QCommandLineOption patches("patches", "Patches painted apart at each paint.", "n", "1");
    const QCommandLineOption seconds("seconds", "Seconds to measure after one of settling.", "n", "60");
    parser.addOptions({rate, patches, seconds});
    parser.process(app);

    Patch window(parser.value(patches).toInt());
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    window.setGeometry(screen.center().x() - 373, screen.bottom() - 72, 746, 72);
    window.show();
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &window, &Patch::step);
    timer.start(static_cast<int>(1000 / parser.value(rate).toDouble()));

    const double run = parser.value(seconds).toDouble();
    double start = 0;
    QTimer::singleShot(1000, &app, [&] {
        start = cpuSeconds();
        QTimer::singleShot(static_cast<int>(run * 1000), &app, [&] {
            std::printf("floor rate=%s patches=%s cpu_percent=%.2f\n", qPrintable(parser.value(rate)),
                        qPrintable(parser.value(patches)), 100.0 * (cpuSeconds() - start) / run);
            std::fflush(stdout);
            app.quit();
        });
    });
    return app.exec();
}
