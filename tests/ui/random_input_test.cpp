// Thousands of random keys, pastes and clicks on the real window, each
// delivered to its QWindow so that focus and popups route it. The run is
// reproducible from its seed: BRINDELOR_RANDOM_SEED (printed at the start)
// and BRINDELOR_RANDOM_EVENTS (how many); BRINDELOR_RANDOM_TRACE=1 prints
// every event before it is sent, and an event running longer than
// BRINDELOR_RANDOM_HANG_SECONDS (120) aborts as a hang. After each event:
// no box but the one of a failing computation, the five fields as the core
// computes them after a change of choice and untouched otherwise, the slots
// and the options agreeing, a typed key or paste changing the entry by
// exactly its text or beeping, the entry showing its formatted value once
// it lost the focus.

#include "ui_test_main.h"
#include "window_fixture.h"

#include "link_label.h"

#include "brindelor/tariff/compute.h"
#include "brindelor/tariff/entry_rules.h"
#include "brindelor/tariff/errors.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMenu>
#include <QScopeGuard>

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

using brindelor::test::WindowFixture;

// Present in sanitizer builds only: a report ends the process without a
// signal, so the replay information is printed from this callback.
extern "C" void __sanitizer_set_death_callback(void (*callback)()) __attribute__((weak));

namespace {

namespace ui = brindelor::ui;

// splitmix64: the same sequence from the same seed everywhere, which the
// standard distributions do not promise.
class Rng {
public:
    explicit Rng(std::uint64_t seed)
        : state_(seed)
    {
    }
    std::uint64_t next()
    {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }
    bool percent(int p) { return below(100) < p; }
    template <typename T> const T& pick(const std::vector<T>& items)
    {
        return items[static_cast<std::size_t>(below(static_cast<int>(items.size())))];
    }

private:
    std::uint64_t state_;
};

quint64 envNumber(const char* name, quint64 fallback)
{
    bool ok = false;
    const quint64 v = qEnvironmentVariable(name).toULongLong(&ok, 0);
    return ok ? v : fallback;
}

// The rates of the options in each group's order (O, 9, I, X, K, effacer).
constexpr std::array<float, 6> kRates = {0.3f, 1.9f, 4.6f, 8.0f, 11.5f, 0.0f};

bool sameBits(float a, float b) { return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b); }

// The core's answer, the fields starting from their texts before the run.
class RecordingIO final : public brindelor::TariffIO {
public:
    RecordingIO(std::string base, QStringList start, const brindelor::Separators& seps)
        : fields(std::move(start))
        , base_(std::move(base))
        , seps_(seps)
    {
    }
    brindelor::Extended readBase() override { return brindelor::entryRead(base_, seps_); }
    void writeField(brindelor::ResultField field, std::string_view text) override
    {
        fields[static_cast<int>(field)] = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    }
    QStringList fields;

private:
    std::string base_;
    const brindelor::Separators& seps_;
};

// A short printable form of a text for the event log.
QString shown(const QString& text)
{
    QString out;
    const qsizetype limit = 40;
    for (qsizetype i = 0; i < text.size() && i < limit; ++i) {
        const QChar c = text.at(i);
        if (c.unicode() >= 0x20 && c.unicode() < 0x7F && c != u'\\')
            out += c;
        else
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    }
    if (text.size() > limit)
        out += QStringLiteral("...(%1 chars)").arg(text.size());
    return u'"' + out + u'"';
}

// The last events, kept as plain bytes so that a crash handler or the
// watchdog thread can print them.
class EventLog {
public:
    static constexpr std::size_t kKept = 20;

    void push(const std::string& line)
    {
        std::lock_guard lock(mutex_);
        lines_[count_ % kKept] = line;
        ++count_;
    }
    // Async-signal-safe enough: no allocation, only write(2).
    void dumpRaw(int fd) const
    {
        const std::size_t first = count_ > kKept ? count_ - kKept : 0;
        writeRaw(fd, "--- last events ---\n");
        for (std::size_t i = first; i < count_; ++i) {
            const std::string& line = lines_[i % kKept];
            writeRaw(fd, line.data(), line.size());
            writeRaw(fd, "\n");
        }
    }
    void dumpLocked(int fd) const
    {
        std::lock_guard lock(mutex_);
        dumpRaw(fd);
    }
    std::string header;

private:
    static void writeRaw(int fd, const char* text) { writeRaw(fd, text, std::char_traits<char>::length(text)); }
    static void writeRaw(int fd, const char* data, std::size_t size)
    {
        while (size > 0) {
            const ssize_t n = ::write(fd, data, size);
            if (n <= 0)
                return;
            data += n;
            size -= static_cast<std::size_t>(n);
        }
    }

    mutable std::mutex mutex_;
    std::array<std::string, kKept> lines_;
    std::size_t count_ = 0;
};

EventLog* g_log = nullptr;
struct sigaction g_previous[32];

void dumpOnDeath()
{
    static std::atomic<bool> dumped{false};
    if (!g_log || dumped.exchange(true))
        return;
    ::write(2, g_log->header.data(), g_log->header.size());
    g_log->dumpRaw(2);
}

void onFatalSignal(int sig)
{
    dumpOnDeath();
    // Then whatever was there before (QtTest's handler) once we return.
    sigaction(sig, &g_previous[sig], nullptr);
    std::raise(sig);
}

// Aborts with the log when one event takes longer than the limit: a hang.
class Watchdog {
public:
    Watchdog(EventLog& log, int limitSeconds)
        : log_(log)
        , limit_(limitSeconds)
        , thread_([this] { watch(); })
    {
    }
    ~Watchdog()
    {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }
    void eventStarts() { started_.store(now(), std::memory_order_relaxed); }
    void eventEnds() { started_.store(-1, std::memory_order_relaxed); }

private:
    static std::int64_t now()
    {
        return std::chrono::duration_cast<std::chrono::seconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
    void watch()
    {
        std::unique_lock lock(mutex_);
        while (!wake_.wait_for(lock, std::chrono::seconds(1), [this] { return stop_; })) {
            const std::int64_t start = started_.load(std::memory_order_relaxed);
            if (start >= 0 && now() - start > limit_) {
                std::fprintf(stderr, "random_input_tests: one event has run for over %d s: a hang\n", limit_);
                ::write(2, log_.header.data(), log_.header.size());
                log_.dumpLocked(2);
                std::abort();
            }
        }
    }

    EventLog& log_;
    int limit_;
    std::atomic<std::int64_t> started_{-1};
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    std::thread thread_;
};

// Qt's warnings are faults here too (but the offscreen plugin's and the
// font fallback's notes): each is kept for the event under way.
QStringList* g_messages = nullptr;
QtMessageHandler g_previousHandler = nullptr;

void recordMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.startsWith(QLatin1String("This plugin does not support"))
        || message.contains(QLatin1String("OpenType support missing")))
        return;
    if (g_messages && type != QtDebugMsg && type != QtInfoMsg)
        g_messages->append(message);
    if (g_previousHandler)
        g_previousHandler(type, context, message);
}

struct Event {
    QString what;
    std::function<void()> send;
    bool key = false;    // goes to the focus widget (or the open popup)
    bool escape = false;
    bool tab = false;
    bool altDown = false; // opens the calculator, closes it when open
    bool altUp = false;   // closes it
    QWidget* link = nullptr; // a link label clicked
    std::optional<QString> typed;  // the text of a character key
    std::optional<QString> pasted; // the clipboard of a Ctrl+V
};

// One run of the computation as the window started it.
struct Run {
    QString entryText;
    float rate1 = 0;
    float rate2 = 0;
    bool entryFocused = false;
};

class Session {
public:
    Session(WindowFixture& fixture, std::uint64_t seed)
        : f_(fixture)
        , rng_(seed)
    {
        QWidget* w = f_.window();
        groups_[0] = {f_.w.RadioButton1, f_.w.RadioButton2, f_.w.RadioButton3, f_.w.RadioButton4, f_.w.RadioButton5,
                      f_.w.RadioButton6};
        groups_[1] = {f_.w.RadioButton7, f_.w.RadioButton8, f_.w.RadioButton9, f_.w.RadioButton10, f_.w.RadioButton11,
                      f_.w.RadioButton12};
        outputs_ = {f_.w.Edit_taux, f_.w.Edit_valeur_13, f_.w.Edit_valeur_14, f_.w.Edit_valeur_14_JO, f_.w.Edit_delta};
        links_ = {w->findChild<QWidget*>(QStringLiteral("JvLabel1")),
                  w->findChild<QWidget*>(QStringLiteral("JvLabel2"))};
        // Connected after the window's own handlers: they have run by now,
        // and the entry is as the computation read it.
        for (auto& group : groups_) {
            for (QRadioButton* option : group) {
                QObject::connect(option, &QAbstractButton::toggled, option, [this](bool checked) {
                    if (checked)
                        runs_.push_back({f_.entry()->text(), checkedRate(0), checkedRate(1),
                                         f_.entry()->hasFocus()});
                });
            }
        }
        // Every run goes through Button1's click.
        brindelor::form::Button& button1 = *f_.form->Button1;
        button1.OnClick = [this, compute = button1.OnClick](brindelor::form::Control* sender) {
            ++button1Clicks_;
            compute(sender);
        };
        ui::setUrlSeam([this](const QUrl& url) { opened_.append(url); });
        fields_ = f_.fields();
    }

    ~Session() { ui::setUrlSeam({}); }

    // The problems found after this event; empty when all holds.
    QStringList step(const Event& event)
    {
        const State before = capture();
        runs_.clear();
        button1Clicks_ = 0;
        opened_.clear();
        const std::size_t boxesBefore = f_.boxes.size();
        QStringList messages;
        g_messages = &messages;

        event.send();
        QCoreApplication::processEvents(); // the repaints a real loop would do

        g_messages = nullptr;
        QStringList problems;
        for (const QString& m : messages)
            problems << QStringLiteral("Qt warned: ") + m;
        checkRuns(before, boxesBefore, event, problems);
        checkOptions(problems);
        checkFocus(before, event, problems);
        checkEntry(problems);
        checkTyping(before, event, problems);
        checkLinks(before, event, problems);
        stats.runs += static_cast<int>(runs_.size());
        stats.boxes += static_cast<int>(f_.boxes.size() - boxesBefore);
        stats.calculatorEvents += before.calculatorOpen ? 1 : 0;
        stats.menuEvents += before.menu ? 1 : 0;
        stats.linksOpened += static_cast<int>(opened_.size());
        stats.longestEntry = std::max(stats.longestEntry, f_.entry()->text().size());
        return problems;
    }

    Event next()
    {
        if (QMenu* menu = openMenu())
            return menuEvent(menu);
        const bool calculator = f_.entry()->isCalculatorOpen();
        struct Choice {
            int weight;
            std::function<Event()> make;
        };
        const std::vector<Choice> choices = {
            {calculator ? 10 : 24, [this] { return typed(QString(QChar(u'0' + rng_.below(10)))); }},
            {5, [this] { return typed(rng_.percent(50) ? QStringLiteral(".") : QStringLiteral(",")); }},
            {3, [this] { return typed(QStringLiteral("-")); }},
            {calculator ? 12 : 3, [this] { return typed(rng_.pick(calculatorChars())); }},
            {5, [this] { return typed(QString(QChar(rng_.pick(letters())))); }},
            {2, [this] { return typedUnicode(); }},
            {1, [this] { return typed(QString(QChar(rng_.percent(50) ? u'0' + rng_.below(10) : rng_.pick(letters()))), Qt::AltModifier); }},
            {6, [this] { return keyEvent(Qt::Key_Backspace); }},
            {3, [this] { return keyEvent(Qt::Key_Delete); }},
            {3, [this] { return keyEvent(Qt::Key_Escape); }},
            {3, [this] { return keyEvent(rng_.percent(50) ? Qt::Key_Return : Qt::Key_Enter); }},
            {4, [this] { return keyEvent(Qt::Key_Tab); }},
            {3, [this] { return keyEvent(Qt::Key_Backtab); }},
            {10, [this] { return keyEvent(rng_.pick(arrows())); }},
            {3, [this] { return keyEvent(rng_.pick(editingKeys()), rng_.percent(30) ? Qt::ShiftModifier : Qt::NoModifier); }},
            {3, [this] { return keyEvent(rng_.percent(80) ? Qt::Key_Down : Qt::Key_Up, Qt::AltModifier); }},
            {2, [this] { return keyEvent(Qt::Key_A, Qt::ControlModifier); }},
            {8, [this] { return paste(); }},
            {2, [this] { return keyEvent(rng_.pick(clipboardKeys()), Qt::ControlModifier); }},
            {1, [this] { return keyEvent(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier); }},
            {18, [this] { return clickOption(); }},
            {5, [this] { return clickWidget(f_.entry(), QStringLiteral("entry")); }},
            {3, [this] { return clickWidget(f_.entry()->dropDownButton(), QStringLiteral("drop-down button")); }},
            {5, [this] { return clickOutput(); }},
            {2, [this] { return clickLink(); }},
            {3, [this] { return clickAnywhere(); }},
            {calculator ? 30 : 0, [this] { return clickCalculatorKey(); }},
            {1, [this] { return rightClick(); }},
            {1, [this] { return doubleClick(); }},
            {2, [this] { return hover(); }},
        };
        int total = 0;
        for (const Choice& c : choices)
            total += c.weight;
        int r = rng_.below(total);
        for (const Choice& c : choices) {
            if (r < c.weight)
                return c.make();
            r -= c.weight;
        }
        Q_UNREACHABLE();
    }

    // What a run went through, to see that it reached the corners.
    struct Stats {
        int runs = 0;
        int boxes = 0;
        int calculatorEvents = 0;
        int menuEvents = 0;
        int linksOpened = 0;
        qsizetype longestEntry = 0;
    } stats;

    // The state after a failing event, for the report.
    QString describe() const
    {
        return QStringLiteral("entry %1, focus %2, calculator %3, fields %4")
            .arg(shown(f_.entry()->text()), focusName(),
                 f_.entry()->isCalculatorOpen() ? f_.popup()->displayText()
                                                : QStringLiteral("closed"),
                 shownFields(f_.fields()));
    }

    static QString shownFields(const QStringList& fields)
    {
        QStringList out;
        for (const QString& field : fields)
            out << shown(field);
        return out.join(QStringLiteral(" / "));
    }

    QString focusName() const
    {
        const QWidget* focus = QApplication::focusWidget();
        return focus ? focus->objectName() : QStringLiteral("(none)");
    }

private:
    struct State {
        QWidget* focus = nullptr;
        bool calculatorOpen = false;
        QMenu* menu = nullptr;
        QWidget* menuOwner = nullptr;
        std::array<QRadioButton*, 2> checked{};
        QString entryText;
        qsizetype selStart = 0; // the caret when nothing is selected
        qsizetype selLength = 0;
        int beeps = 0;
    };

    State capture() const
    {
        State s;
        s.focus = QApplication::focusWidget();
        s.calculatorOpen = f_.entry()->isCalculatorOpen();
        s.menu = openMenu();
        s.menuOwner = s.menu ? menuOwner_ : nullptr;
        s.checked = {checkedOption(0), checkedOption(1)};
        const ui::CalcEdit* entry = f_.entry();
        s.entryText = entry->text();
        s.selStart = entry->hasSelectedText() ? entry->selectionStart() : entry->cursorPosition();
        s.selLength = entry->hasSelectedText() ? entry->selectionLength() : 0;
        s.beeps = f_.beeps;
        return s;
    }

    static QMenu* openMenu() { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); }

    QRadioButton* checkedOption(int group) const
    {
        for (QRadioButton* option : groups_[static_cast<std::size_t>(group)])
            if (option->isChecked())
                return option;
        return nullptr;
    }

    float checkedRate(int group) const
    {
        const auto& options = groups_[static_cast<std::size_t>(group)];
        for (std::size_t i = 0; i < options.size(); ++i)
            if (options[i]->isChecked())
                return kRates[i];
        return -1; // none checked: reported by checkOptions
    }

    // --- checks ---------------------------------------------------------

    void checkRuns(const State& before, std::size_t boxesBefore, const Event& event, QStringList& problems)
    {
        // The core's answer for each run, chained from the fields before.
        QStringList expected = fields_;
        QStringList expectedBoxes;
        for (const Run& run : runs_) {
            if (run.entryFocused)
                problems << QStringLiteral("a computation ran with the focus in the entry");
            RecordingIO io(run.entryText.toStdString(), expected, f_.separators());
            try {
                brindelor::computeTariffs(io, run.rate1, run.rate2, f_.separators());
            } catch (const std::exception& error) {
                expectedBoxes << QString::fromStdString(brindelor::form::errorBoxText(error.what()));
            }
            expected = io.fields;
        }
        if (button1Clicks_ != static_cast<int>(runs_.size()))
            problems << QStringLiteral("%1 computations for %2 changes of choice")
                            .arg(button1Clicks_)
                            .arg(runs_.size());
        int changedGroups = 0;
        for (int g = 0; g < 2; ++g)
            changedGroups += before.checked[static_cast<std::size_t>(g)] != checkedOption(g) ? 1 : 0;
        if (changedGroups > static_cast<int>(runs_.size()))
            problems << QStringLiteral("a choice changed without a computation");

        QStringList shownBoxes;
        for (std::size_t i = boxesBefore; i < f_.boxes.size(); ++i) {
            const auto& box = f_.boxes[i];
            shownBoxes << box.text;
            if (box.owner != f_.window())
                problems << QStringLiteral("the box is not owned by the window");
            if (box.caption != QString::fromStdString(f_.form->application().Title()))
                problems << QStringLiteral("box caption %1").arg(shown(box.caption));
        }
        if (shownBoxes != expectedBoxes)
            problems << QStringLiteral("boxes [%1], expected [%2]")
                            .arg(shownBoxes.join(QStringLiteral(" | ")), expectedBoxes.join(QStringLiteral(" | ")));

        const QStringList actual = f_.fields();
        if (runs_.empty()) {
            // Nothing but the computation writes them, bar the user typing
            // into one (never undone by Escape).
            QWidget* typedInto = before.menu ? before.menuOwner : (event.key ? before.focus : nullptr);
            for (int i = 0; i < brindelor::kResultFieldCount; ++i) {
                if (outputs_[static_cast<std::size_t>(i)] == typedInto && !(event.escape && !before.menu))
                    expected[i] = actual[i];
            }
        }
        if (actual != expected) {
            QStringList diff;
            for (int i = 0; i < expected.size(); ++i)
                diff << QStringLiteral("%1 %2 (expected %3)")
                            .arg(outputs_[static_cast<std::size_t>(i)]->objectName(), shown(actual[i]),
                                 shown(expected[i]));
            problems << QStringLiteral("fields: ") + diff.join(QStringLiteral(", "));
        }
        fields_ = actual;
    }

    void checkOptions(QStringList& problems) const
    {
        for (int g = 0; g < 2; ++g) {
            int count = 0;
            for (QRadioButton* option : groups_[static_cast<std::size_t>(g)])
                count += option->isChecked() ? 1 : 0;
            if (count != 1)
                problems << QStringLiteral("group %1 has %2 options checked").arg(g + 1).arg(count);
        }
        if (!sameBits(taux_modif1, checkedRate(0)) || !sameBits(taux_modif2, checkedRate(1)))
            problems << QStringLiteral("slots %1 and %2 for the options %3 and %4")
                            .arg(double(taux_modif1))
                            .arg(double(taux_modif2))
                            .arg(checkedOption(0) ? checkedOption(0)->objectName() : QString(),
                                 checkedOption(1) ? checkedOption(1)->objectName() : QString());
    }

    void checkFocus(const State& before, const Event& event, QStringList& problems) const
    {
        QWidget* w = f_.window();
        QWidget* focus = QApplication::focusWidget();
        if (openMenu())
            return; // a context menu holds the focus while it is open
        if (!focus || focus->window() != w) {
            problems << QStringLiteral("the focus left the window: %1").arg(focusName());
            return;
        }
        if (focus == f_.w.Button1 || qobject_cast<QGroupBox*>(focus))
            problems << QStringLiteral("the focus is on %1").arg(focus->objectName());
        if (f_.entry()->isCalculatorOpen() && focus != f_.entry())
            problems << QStringLiteral("the calculator is open, the focus on %1").arg(focus->objectName());
        const bool plain = !before.menu;
        if (event.tab && plain) {
            auto* option = qobject_cast<QRadioButton*>(focus);
            if (option && !option->isChecked())
                problems << QStringLiteral("Tab stopped at the unchecked %1").arg(option->objectName());
        }
        if (event.escape && plain) {
            if (!f_.entry()->text().isEmpty() || focus != f_.entry() || f_.entry()->isCalculatorOpen())
                problems << QStringLiteral("after Escape: entry %1, focus %2, calculator %3")
                                .arg(shown(f_.entry()->text()), focus->objectName(),
                                     f_.entry()->isCalculatorOpen() ? QStringLiteral("open")
                                                                    : QStringLiteral("closed"));
        }
        const bool toggles = event.altDown || (event.altUp && before.calculatorOpen);
        if (toggles && plain && before.focus == f_.entry()
            && f_.entry()->isCalculatorOpen() == before.calculatorOpen)
            problems << QStringLiteral("Alt+arrow left the calculator %1")
                            .arg(before.calculatorOpen ? QStringLiteral("open") : QStringLiteral("closed"));
    }

    void checkEntry(QStringList& problems)
    {
        ui::CalcEdit* entry = f_.entry();
        const QString text = entry->text();
        if (text.size() > kCheckedTextLimit)
            return; // each check would cost a read of the whole text
        const brindelor::Separators& seps = f_.separators();
        const std::string utf8 = text.toStdString();
        bool overflow = false;
        brindelor::Extended value;
        try {
            value = brindelor::entryRead(utf8, seps);
        } catch (const brindelor::FloatOverflowError&) {
            overflow = true;
        }
        // Without the focus the entry holds its value's formatted text (a
        // context menu only borrows the focus).
        if (!entry->hasFocus() && !openMenu() && !overflow) {
            const QString formatted = QString::fromStdString(brindelor::entryFormat(value, seps));
            if (formatted != text)
                problems << QStringLiteral("unfocused entry holds %1, formatted %2").arg(shown(text), shown(formatted));
        }
        const QString display = overflow ? text : QString::fromStdString(brindelor::entryDisplayText(value, seps));
        if (entry->unfocusedText() != display)
            problems << QStringLiteral("unfocused display %1 for %2").arg(shown(entry->unfocusedText()), shown(text));
    }

    // A character or a paste into the focused entry: the text changes by
    // exactly that, or not at all and it beeps.
    void checkTyping(const State& before, const Event& event, QStringList& problems) const
    {
        const ui::CalcEdit* entry = f_.entry();
        if ((!event.typed && !event.pasted) || before.focus != entry || before.calculatorOpen || before.menu)
            return;
        const QString text = entry->text();
        const int beeped = f_.beeps - before.beeps;
        QString inserted;
        bool mayGoIn = true;
        if (event.typed) {
            inserted = *event.typed;
            if (inserted == u"." || inserted == u",")
                inserted = QString::fromStdString(f_.separators().decimal);
            // Control characters are no typing at all; the rest is either
            // typed or refused with a beep.
            const QChar c = inserted.front();
            mayGoIn = c.isPrint() || c.isSurrogate() || c.category() == QChar::Other_Format
                      || c.category() == QChar::Other_PrivateUse;
        } else {
            inserted = *event.pasted;
            if (inserted.isEmpty() && before.selLength == 0)
                mayGoIn = false; // nothing to paste
        }
        QString predicted = before.entryText;
        predicted.replace(before.selStart, before.selLength, inserted);
        const bool unchanged = text == before.entryText;
        if (!mayGoIn) {
            if (!unchanged || beeped != 0)
                problems << QStringLiteral("a key that types nothing made %1 (%2 beeps)").arg(shown(text)).arg(beeped);
            return;
        }
        if (unchanged && beeped == 1) {
            if (event.pasted && brindelor::entryPasteKept(predicted.toStdString(), f_.separators()))
                problems << QStringLiteral("a paste giving %1 was refused").arg(shown(predicted));
            return; // refused
        }
        if (text != predicted || beeped != 0) {
            problems << QStringLiteral("%1 into %2 (selection %3+%4) gave %5 with %6 beeps, not %7")
                            .arg(event.typed ? QStringLiteral("typing") : QStringLiteral("pasting"), shown(before.entryText))
                            .arg(before.selStart)
                            .arg(before.selLength)
                            .arg(shown(text))
                            .arg(beeped)
                            .arg(shown(predicted));
            return;
        }
        if (event.pasted && !brindelor::entryPasteKept(predicted.toStdString(), f_.separators()))
            problems << QStringLiteral("a paste giving %1 was kept").arg(shown(predicted));
        if (event.typed && entry->cursorPosition() != before.selStart + inserted.size())
            problems << QStringLiteral("the caret is at %1 after typing").arg(entry->cursorPosition());
    }

    void checkLinks(const State& before, const Event& event, QStringList& problems) const
    {
        auto* link = qobject_cast<brindelor::widgets::LinkLabel*>(event.link);
        const bool popup = before.menu || before.calculatorOpen;
        if (link && !popup) {
            if (opened_ != QList<QUrl>{link->url()})
                problems << QStringLiteral("a click on %1 opened %2 addresses")
                                .arg(link->objectName())
                                .arg(opened_.size());
        } else if (!link && !opened_.isEmpty()) {
            problems << QStringLiteral("an address was opened by an event not on a link");
        }
    }

    // --- events ---------------------------------------------------------

    QWindow* handle() const { return f_.handle(); }

    static const std::vector<QString>& calculatorChars()
    {
        static const std::vector<QString> chars = {
            QStringLiteral("+"), QStringLiteral("-"), QStringLiteral("*"), QStringLiteral("/"),
            QStringLiteral("="), QStringLiteral("%"), QStringLiteral("c"), QStringLiteral("C"),
            QStringLiteral("x"), QStringLiteral(" "), QStringLiteral("e")};
        return chars;
    }
    static const std::vector<char16_t>& letters()
    {
        static const std::vector<char16_t> chars = [] {
            std::vector<char16_t> v;
            for (char16_t c = u'a'; c <= u'z'; ++c)
                v.push_back(c);
            for (char16_t c = u'A'; c <= u'Z'; ++c)
                v.push_back(c);
            return v;
        }();
        return chars;
    }
    static const std::vector<Qt::Key>& arrows()
    {
        static const std::vector<Qt::Key> keys = {Qt::Key_Up, Qt::Key_Down, Qt::Key_Left, Qt::Key_Right};
        return keys;
    }
    static const std::vector<Qt::Key>& editingKeys()
    {
        static const std::vector<Qt::Key> keys = {Qt::Key_Home, Qt::Key_End, Qt::Key_Left, Qt::Key_Right,
                                                  Qt::Key_Insert};
        return keys;
    }
    static const std::vector<Qt::Key>& clipboardKeys()
    {
        static const std::vector<Qt::Key> keys = {Qt::Key_C, Qt::Key_X, Qt::Key_Z, Qt::Key_Y};
        return keys;
    }

    // A key with its text, as a keyboard sends it.
    Event typed(const QString& text, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        Event e;
        e.what = QStringLiteral("type %1%2")
                     .arg(modifiers & Qt::AltModifier ? QStringLiteral("Alt+") : QString(), shown(text));
        e.key = true;
        e.typed = text;
        const char16_t c = text.at(0).unicode();
        // The key code of a printable character is its upper case.
        Qt::Key code = Qt::Key_unknown;
        if (c >= 0x20 && !QChar::isSurrogate(c))
            code = Qt::Key(QChar::toUpper(char32_t(c)));
        e.send = [this, code, text, modifiers] {
            QTest::sendKeyEvent(QTest::Click, handle(), code, text, modifiers);
        };
        return e;
    }

    Event typedUnicode()
    {
        static const std::vector<QString> texts = {
            QStringLiteral("é"), QStringLiteral("€"), QStringLiteral("\u202F"), QStringLiteral("\u00A0"),
            QStringLiteral("\u0663"), QStringLiteral("\uFF11"), QStringLiteral("\U0001F600"),
            QString(QChar(0xD83D)), QString(QChar(0xDE00)), QStringLiteral("\u2212"), QStringLiteral("\u200B"),
            QStringLiteral("\uFFFD"), QString(QChar(0x85)), QString(QChar(0)), QStringLiteral("\u200D"),
            QStringLiteral("\uE000")};
        return typed(rng_.pick(texts));
    }

    Event keyEvent(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        Event e;
        e.what = QStringLiteral("key %1").arg(QKeySequence(int(key) | int(modifiers)).toString());
        e.key = true;
        e.escape = key == Qt::Key_Escape && modifiers == Qt::NoModifier;
        e.tab = (key == Qt::Key_Tab || key == Qt::Key_Backtab) && modifiers == Qt::NoModifier;
        e.altDown = key == Qt::Key_Down && modifiers == Qt::AltModifier;
        e.altUp = key == Qt::Key_Up && modifiers == Qt::AltModifier;
        e.send = [this, key, modifiers] { QTest::keyClick(handle(), key, modifiers); };
        return e;
    }

    QString pasteText()
    {
        const int kind = rng_.below(100);
        QString text;
        if (kind < 30) { // digits among separators and signs
            static const QString alphabet = QStringLiteral("0123456789012345678901234567890123,.,.-+ \u202F\u00A0");
            const int n = rng_.between(0, 25);
            for (int i = 0; i < n; ++i)
                text += alphabet.at(rng_.below(static_cast<int>(alphabet.size())));
        } else if (kind < 45) { // a plausible amount
            text = QString::number(rng_.below(1000000));
            if (rng_.percent(50))
                text += (rng_.percent(50) ? u',' : u'.') + QString::number(rng_.below(1000));
            if (rng_.percent(15))
                text.prepend(u'-');
        } else if (kind < 60) { // the failure thresholds and their neighbours
            static const std::vector<QString> edges = {
                QStringLiteral("922337203685477,59"), QStringLiteral("922337203685477,58"),
                QStringLiteral("-922337203685477,59"), QStringLiteral("900000000000000"),
                QStringLiteral("800000000000000"), QStringLiteral("700000000000000"),
                QStringLiteral("922337203685477,5"), QStringLiteral("922337203685477,495"),
                QStringLiteral("11111111111111,45"), QStringLiteral("-800000000000000"),
                QStringLiteral("1e5"), QStringLiteral("0,005"), QStringLiteral("1,005")};
            text = rng_.pick(edges);
        } else if (kind < 70) { // ASCII garbage
            const int n = rng_.between(1, 20);
            for (int i = 0; i < n; ++i)
                text += QChar(static_cast<char16_t>(rng_.between(0x20, 0x7E)));
        } else if (kind < 82) { // binary-ish Unicode, lone surrogates included
            const int n = rng_.between(1, 12);
            for (int i = 0; i < n; ++i) {
                const int r = rng_.below(4);
                if (r == 0)
                    text += QChar(static_cast<char16_t>(rng_.below(0x20)));
                else if (r == 1)
                    text += QChar(static_cast<char16_t>(rng_.between(0xD800, 0xDFFF)));
                else if (r == 2)
                    text += QString::fromUcs4(&U"\U0001F4B6\U00010000\U0010FFFF"[rng_.below(3)], 1);
                else
                    text += QChar(static_cast<char16_t>(rng_.between(0x80, 0xFFFF)));
            }
        } else if (kind < 87) { // thousands of digits, beyond the extended range or not
            const int n = rng_.between(4900, 12000);
            const int r = rng_.below(3);
            if (r == 0)
                text = QStringLiteral("1") + QString(n, u'0');
            else if (r == 1)
                text = QStringLiteral("-") + QString(n, u'9');
            else
                text = QStringLiteral("0,") + QString(n, u'3');
        } else if (kind < 89) { // a megabyte of digits
            const int r = rng_.below(3);
            text = QString(1 << 20, u'7');
            if (r == 1)
                text.replace(0, 2, QStringLiteral("1,"));
            else if (r == 2)
                text.append(QStringLiteral("abc"));
        } else if (kind < 94) {
            text = QString(); // an empty clipboard
        } else {
            text = QStringLiteral("\t12\n34\r\n");
        }
        return text;
    }

    Event paste()
    {
        const QString text = pasteText();
        Event e = keyEvent(Qt::Key_V, Qt::ControlModifier);
        e.what = QStringLiteral("paste %1").arg(shown(text));
        e.pasted = text;
        const std::function<void()> send = e.send;
        e.send = [text, send] {
            QGuiApplication::clipboard()->setText(text);
            send();
        };
        return e;
    }

    // A click at a point of a widget, sent to the window it shows in (the
    // main one, or a popup reaching beyond it).
    Event mouse(QWidget* widget, QPoint at, const QString& what, Qt::MouseButton button = Qt::LeftButton,
                bool twice = false)
    {
        Event e;
        e.what = QStringLiteral("%1 %2 at %3,%4")
                     .arg(twice ? QStringLiteral("double-click") : button == Qt::LeftButton ? QStringLiteral("click")
                                                                                             : QStringLiteral("right-click"),
                          what)
                     .arg(at.x())
                     .arg(at.y());
        QPointer<QWidget> target(widget);
        e.send = [this, target, at, button, twice] {
            if (!target)
                return;
            const QPoint global = target->mapToGlobal(at);
            QWidget* top = f_.window();
            if (!QRect(top->mapToGlobal(QPoint(0, 0)), top->size()).contains(global))
                top = target->window();
            const QPoint local = top->mapFromGlobal(global);
            if (twice)
                QTest::mouseDClick(top->windowHandle(), button, {}, local);
            else
                QTest::mouseClick(top->windowHandle(), button, {}, local);
        };
        return e;
    }

    Event clickWidget(QWidget* widget, const QString& what)
    {
        const QRect r = widget->rect();
        return mouse(widget, QPoint(rng_.between(r.left(), r.right()), rng_.between(r.top(), r.bottom())), what);
    }

    Event clickOption()
    {
        QRadioButton* option = groups_[static_cast<std::size_t>(rng_.below(2))][static_cast<std::size_t>(rng_.below(6))];
        if (rng_.percent(75))
            return mouse(option, WindowFixture::indicatorOf(option), option->objectName() + QStringLiteral(" indicator"));
        return clickWidget(option, option->objectName());
    }

    Event clickOutput()
    {
        QLineEdit* edit = outputs_[static_cast<std::size_t>(rng_.below(5))];
        return clickWidget(edit, edit->objectName());
    }

    Event clickLink()
    {
        QWidget* link = links_[static_cast<std::size_t>(rng_.below(2))];
        Event e = mouse(link, link->rect().center(), link->objectName());
        e.link = link;
        return e;
    }

    Event clickAnywhere()
    {
        QWidget* w = f_.window();
        const QPoint at(rng_.below(w->width()), rng_.below(w->height()));
        Event e = mouse(w, at, QStringLiteral("window"));
        QWidget* under = w->childAt(at);
        for (QWidget* link : links_)
            if (under && (under == link || link->isAncestorOf(under)))
                e.link = link;
        e.what += QStringLiteral(" (%1)").arg(under ? under->objectName() : QStringLiteral("nothing"));
        return e;
    }

    Event clickCalculatorKey()
    {
        const QList<QToolButton*> keys = f_.popup()->findChildren<QToolButton*>();
        QToolButton* key = keys.at(rng_.below(static_cast<int>(keys.size())));
        return mouse(key, key->rect().center(), QStringLiteral("calculator ") + key->objectName());
    }

    Event rightClick()
    {
        QWidget* edit = rng_.percent(50) ? static_cast<QWidget*>(f_.entry()) : outputs_[static_cast<std::size_t>(rng_.below(5))];
        Event e = mouse(edit, QPoint(5, edit->height() / 2), edit->objectName(), Qt::RightButton);
        const std::function<void()> send = e.send;
        e.send = [this, edit, send] {
            send();
            if (openMenu())
                menuOwner_ = edit;
        };
        return e;
    }

    Event doubleClick()
    {
        QWidget* edit = rng_.percent(50) ? static_cast<QWidget*>(f_.entry()) : outputs_[static_cast<std::size_t>(rng_.below(5))];
        return mouse(edit, QPoint(rng_.between(3, edit->width() - 20), edit->height() / 2), edit->objectName(),
                     Qt::LeftButton, true);
    }

    Event hover()
    {
        QWidget* w = f_.window();
        const QPoint at(rng_.below(w->width()), rng_.below(w->height()));
        Event e;
        e.what = QStringLiteral("move to %1,%2").arg(at.x()).arg(at.y());
        e.send = [this, at] { QTest::mouseMove(handle(), at); };
        return e;
    }

    // While a context menu is open: its keys, its items, or a click away.
    Event menuEvent(QMenu* menu)
    {
        const int r = rng_.below(10);
        if (r < 2)
            return keyEvent(Qt::Key_Escape);
        if (r < 5)
            return keyEvent(rng_.percent(60) ? Qt::Key_Down : Qt::Key_Up);
        if (r < 6)
            return keyEvent(Qt::Key_Return);
        if (r < 8) {
            QList<QAction*> items;
            for (QAction* a : menu->actions())
                if (!a->isSeparator() && a->isVisible())
                    items << a;
            if (!items.isEmpty()) {
                QAction* item = items.at(rng_.below(static_cast<int>(items.size())));
                return mouse(menu, menu->actionGeometry(item).center(),
                             QStringLiteral("menu item %1").arg(shown(item->text())));
            }
        }
        return clickAnywhere();
    }

    static constexpr qsizetype kCheckedTextLimit = 20000;

    WindowFixture& f_;
    Rng rng_;
    std::array<std::vector<QRadioButton*>, 2> groups_;
    std::vector<QLineEdit*> outputs_;
    std::vector<QWidget*> links_;
    QStringList fields_;
    std::vector<Run> runs_;
    int button1Clicks_ = 0;
    QList<QUrl> opened_;
    QWidget* menuOwner_ = nullptr;
};

} // namespace

class RandomInputTest : public QObject {
    Q_OBJECT

    WindowFixture f;

private slots:
    void init() { f.open(); }
    void cleanup() { f.close(); }

    void randomEvents();
};

void RandomInputTest::randomEvents()
{
    const std::uint64_t seed = envNumber("BRINDELOR_RANDOM_SEED", 20130701);
    const auto count = static_cast<qint64>(envNumber("BRINDELOR_RANDOM_EVENTS", 5000));
    const bool trace = qEnvironmentVariableIntValue("BRINDELOR_RANDOM_TRACE") != 0;
    const int hangSeconds = static_cast<int>(envNumber("BRINDELOR_RANDOM_HANG_SECONDS", 120));
    std::printf("random_input_tests: BRINDELOR_RANDOM_SEED=%llu BRINDELOR_RANDOM_EVENTS=%lld\n",
                static_cast<unsigned long long>(seed), static_cast<long long>(count));
    std::fflush(stdout);

    EventLog log;
    log.header = "random_input_tests: replay with BRINDELOR_RANDOM_SEED=" + std::to_string(seed) + "\n";
    g_log = &log;
    struct sigaction action {};
    action.sa_handler = onFatalSignal;
    sigemptyset(&action.sa_mask);
    for (int sig : {SIGSEGV, SIGABRT, SIGFPE, SIGILL, SIGBUS})
        sigaction(sig, &action, &g_previous[sig]);
    if (__sanitizer_set_death_callback)
        __sanitizer_set_death_callback(dumpOnDeath);
    g_previousHandler = qInstallMessageHandler(recordMessage);
    const auto restore = qScopeGuard([&] {
        qInstallMessageHandler(g_previousHandler);
        for (int sig : {SIGSEGV, SIGABRT, SIGFPE, SIGILL, SIGBUS})
            sigaction(sig, &g_previous[sig], nullptr);
        if (__sanitizer_set_death_callback)
            __sanitizer_set_death_callback(nullptr);
        g_log = nullptr;
    });

    Session session(f, seed);
    Watchdog watchdog(log, hangSeconds);
    QElapsedTimer clock;
    clock.start();
    qint64 longestMs = 0;
    QString longestEvent;
    for (qint64 i = 0; i < count; ++i) {
        const Event event = session.next();
        const QString line = QStringLiteral("#%1 [focus %2] %3").arg(i).arg(session.focusName(), event.what);
        log.push(line.toStdString());
        if (trace) {
            std::printf("%s\n", qPrintable(line));
            std::fflush(stdout);
        }
        QElapsedTimer timer;
        timer.start();
        watchdog.eventStarts();
        const QStringList problems = session.step(event);
        watchdog.eventEnds();
        if (timer.elapsed() > longestMs) {
            longestMs = timer.elapsed();
            longestEvent = line;
        }
        if (!problems.isEmpty()) {
            std::fprintf(stderr, "random_input_tests: event #%lld of seed %llu went wrong:\n  %s\n  (%s)\n",
                         static_cast<long long>(i), static_cast<unsigned long long>(seed),
                         qPrintable(problems.join(QStringLiteral("\n  "))), qPrintable(session.describe()));
            log.dumpLocked(2);
            QFAIL(qPrintable(QStringLiteral("event #%1: %2").arg(i).arg(problems.first())));
        }
    }
    const auto& s = session.stats;
    std::printf("random_input_tests: %lld events in %lld ms; the longest, %lld ms: %s\n"
                "  %d changes of choice, %d error boxes, %d events with the calculator open, %d in a "
                "context menu, %d links opened, longest entry text %lld\n",
                static_cast<long long>(count), static_cast<long long>(clock.elapsed()),
                static_cast<long long>(longestMs), qPrintable(longestEvent), s.runs, s.boxes, s.calculatorEvents,
                s.menuEvents, s.linksOpened, static_cast<long long>(s.longestEntry));
}

BRINDELOR_UI_TEST_MAIN(RandomInputTest)
#include "random_input_test.moc"
