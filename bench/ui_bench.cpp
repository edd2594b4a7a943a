// Start-up and User Data sheet timing on the offscreen platform: from the
// start of main (process start measured by the kernel's clock for this
// process) to the first paint of the main window, and from the User Data
// command to the first paint of the sheet. Runs a few rounds and prints the
// best and the median of each.
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>
#include <vector>

#include "app/CMainFrame.h"
#include "app/CTarnixHXRApp.h"
#include "app/CTarnixHXRDoc.h"
#include "app/CTarnixHXRView.h"
#include "app/CommandIds.h"
#include "editor/pages/CUserData.h"
#include "ui/ScriptedPrompt.h"

namespace {

// Calls `then` once, at the first paint of a top-level window whose object
// name is `name`, or of any widget inside it. Watches the whole application,
// so windows made after it started are seen too.
class FirstPaint : public QObject {
public:
    FirstPaint(QString name, std::function<void()> then)
        : m_name(std::move(name)), m_then(std::move(then)) {
        qApp->installEventFilter(this);
    }
    ~FirstPaint() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() != QEvent::Paint || !m_then || !o->isWidgetType()) return false;
        if (static_cast<QWidget*>(o)->window()->objectName() != m_name) return false;
        auto then = std::move(m_then);
        m_then = nullptr;
        QTimer::singleShot(0, then);
        return false;
    }

private:
    QString m_name;
    std::function<void()> m_then;
};

// Milliseconds since the kernel created this process.
double SinceProcessStartMs() {
    FILE* f = std::fopen("/proc/self/stat", "r");
    if (!f) return 0;
    char buf[4096];
    const size_t n = std::fread(buf, 1, sizeof buf - 1, f);
    std::fclose(f);
    buf[n] = 0;
    // starttime is field 22; the fields after the command name's ")" start at 3.
    char* q = std::strrchr(buf, ')');
    if (!q) return 0;
    for (int field = 2; field < 22 && *q; ++q)
        if (*q == ' ') ++field;
    const double startSec = std::strtod(q, nullptr) / sysconf(_SC_CLK_TCK);
    timespec boot{};
    clock_gettime(CLOCK_BOOTTIME, &boot);
    return (boot.tv_sec + boot.tv_nsec / 1e9 - startSec) * 1000.0;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QElapsedTimer sinceMain;
    sinceMain.start();
    const double beforeMain = SinceProcessStartMs();
    QApplication qapp(argc, argv);
    const char* sample = argc > 1 ? argv[1] : CALVEX_SOURCE_DIR "/samples/vhf-two-frequency.dat";

    std::vector<double> startMs, sheetMs;
    ui::ScriptedPrompt prompt;
    for (int round = 0; round < 7; ++round) {
        QElapsedTimer t;
        t.start();
        CTarnixHXRApp app(&prompt);
        if (!app.InitInstance({"CalvexVHXR", sample})) {
            std::fprintf(stderr, "cannot open %s\n", sample);
            return 1;
        }
        bool painted = false;
        FirstPaint fp(app.Frame()->objectName(), [&] { painted = true; });
        while (!painted) qapp.processEvents(QEventLoop::AllEvents, 5);
        startMs.push_back(round == 0 ? beforeMain + sinceMain.elapsed() : t.elapsed());

        // The User Data command up to the sheet's first paint; then Cancel.
        double opened = -1;
        QElapsedTimer s;
        FirstPaint watch("userData", [&] {
            opened = s.elapsed();
            if (QWidget* sheet = app.View().UserDataWindow()) sheet->close();
        });
        QTimer::singleShot(0, [&] {
            s.start();
            app.View().OnCommand(cmd::ID_USER_DATA);
        });
        while (opened < 0) qapp.processEvents(QEventLoop::AllEvents, 5);
        sheetMs.push_back(opened);
        app.ExitInstance();
    }
    std::printf(
        "start to first paint of the main window: first run %.1f ms (from process start), "
        "later runs best %.1f ms, median %.1f ms\n",
        startMs[0], *std::min_element(startMs.begin() + 1, startMs.end()),
        Median({startMs.begin() + 1, startMs.end()}));
    std::printf(
        "User Data command to first paint of the sheet: first %.1f ms, best %.1f ms, "
        "median %.1f ms\n",
        sheetMs[0], *std::min_element(sheetMs.begin(), sheetMs.end()), Median(sheetMs));
    return 0;
}
