// The real window, offscreen: a change of choice up to the five fields
// written, and the longest single event of a megabyte paste into the entry.

#include "calc_edit.h"
#include "form_window.h"
#include "startup.h"

#include "brindelor/form/frm_CALC.h"

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
class TimingApplication : public brindelor::app::Application {
public:
    using Application::Application;
    bool notify(QObject* receiver, QEvent* event) override
    {
        if (depth_++ > 0) {
            const bool r = Application::notify(receiver, event);
            --depth_;
            return r;
        }
        QElapsedTimer timer;
        timer.start();
        const bool r = Application::notify(receiver, event);
        longestNs = std::max(longestNs, timer.nsecsElapsed());
        --depth_;
        return r;
    }
    qint64 longestNs = 0;

private:
    int depth_ = 0;
};

template <typename W>
W* widget(const brindelor::form::Control* control)
{
    return dynamic_cast<W*>(brindelor::ui::FormWindow::widgetOf(*control));
}

Tform_CALC* window()
{
    static Tform_CALC* w = [] {
        auto* form = new Tform_CALC(brindelor::app::Application::instance()->form());
        if (!QTest::qWaitForWindowExposed(widget<QWidget>(form)))
            std::fputs("window_bench: the window was never exposed\n", stderr);
        return form;
    }();
    return w;
}

void BM_ChangeOfChoice(benchmark::State& state)
{
    Tform_CALC* w = window();
    auto* entry = widget<brindelor::ui::CalcEdit>(w->JvCalcEdit1);
    auto* k3 = widget<QRadioButton>(w->RadioButton3);
    auto* k5 = widget<QRadioButton>(w->RadioButton5);
    auto* delta = widget<QLineEdit>(w->Edit_delta);
    entry->setText(QStringLiteral("41,81"));
    bool k = false;
    for (auto _ : state) {
        // Alternating keeps every iteration a real change of choice.
        (k ? k5 : k3)->click();
        k = !k;
        benchmark::DoNotOptimize(delta->text());
    }
}
BENCHMARK(BM_ChangeOfChoice)->Unit(benchmark::kMicrosecond);

void BM_MegabytePasteLongestEvent(benchmark::State& state)
{
    Tform_CALC* w = window();
    auto* entry = widget<brindelor::ui::CalcEdit>(w->JvCalcEdit1);
    QWidget* top = widget<QWidget>(w);
    auto* app = static_cast<TimingApplication*>(qApp);
    const QString pasted = QStringLiteral("1,") + QString(1 << 20, QLatin1Char('7'));
    qint64 longest = 0;
    for (auto _ : state) {
        entry->setText(QString());
        entry->setFocus(Qt::OtherFocusReason);
        QApplication::clipboard()->setText(pasted);
        QApplication::processEvents();
        app->longestNs = 0;
        QTest::keyClick(top->windowHandle(), Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(top->windowHandle(), Qt::Key_Tab); // leave: the text is reformatted
        top->repaint();
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
