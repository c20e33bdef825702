// The real window, offscreen: a change of choice up to the five fields
// written, and the longest single event of a megabyte paste into the entry.

#include "calc_edit.h"
#include "frm_CALC.h"
#include "modifier_group.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>

namespace {

// Times every event delivered from the loop (the outermost notify only).
class TimingApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override
    {
        if (depth_++ > 0) {
            const bool r = QApplication::notify(receiver, event);
            --depth_;
            return r;
        }
        QElapsedTimer timer;
        timer.start();
        const bool r = QApplication::notify(receiver, event);
        longestNs = std::max(longestNs, timer.nsecsElapsed());
        --depth_;
        return r;
    }
    qint64 longestNs = 0;

private:
    int depth_ = 0;
};

Tform_CALC* window()
{
    static Tform_CALC* w = [] {
        auto* form = new Tform_CALC;
        form->show();
        if (!QTest::qWaitForWindowExposed(form))
            std::fputs("window_bench: the window was never exposed\n", stderr);
        return form;
    }();
    return w;
}

void BM_ChangeOfChoice(benchmark::State& state)
{
    Tform_CALC* w = window();
    w->JvCalcEdit1->setText(QStringLiteral("41,81"));
    bool k = false;
    for (auto _ : state) {
        // Alternating keeps every iteration a real change of choice.
        (k ? w->RadioButton5 : w->RadioButton3)->click();
        k = !k;
        benchmark::DoNotOptimize(w->Edit_delta->text());
    }
}
BENCHMARK(BM_ChangeOfChoice)->Unit(benchmark::kMicrosecond);

void BM_MegabytePasteLongestEvent(benchmark::State& state)
{
    Tform_CALC* w = window();
    auto* app = static_cast<TimingApplication*>(qApp);
    const QString pasted = QStringLiteral("1,") + QString(1 << 20, QLatin1Char('7'));
    qint64 longest = 0;
    for (auto _ : state) {
        w->JvCalcEdit1->setText(QString());
        w->JvCalcEdit1->setFocus(Qt::OtherFocusReason);
        QApplication::clipboard()->setText(pasted);
        QApplication::processEvents();
        app->longestNs = 0;
        QTest::keyClick(w->windowHandle(), Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(w->windowHandle(), Qt::Key_Tab); // leave: the text is reformatted
        w->repaint();
        QApplication::processEvents();
        longest = std::max(longest, app->longestNs);
    }
    state.counters["longest_event_ms"] = static_cast<double>(longest) / 1e6;
}
BENCHMARK(BM_MegabytePasteLongestEvent)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TimingApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
