// Clicks benchmark: the real Form1, started the way the program starts it,
// takes a million mouse clicks along a fixed road of keys. Prints the time
// a click takes, with the repaint it causes, and the process's memory
// before and after.
//
//     clicks [--clicks N] [--warmup N]
//
// Fewer clicks suit an instruction counter: the cost of one click is the
// difference between a run of N clicks and one of 2N, warm-up alike.

#include "Form1.h"
#include "controls.h"
#include "procmem.h"
#include "project.h"
#include "services.h"

#include <QApplication>
#include <QTest>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// One pass over the keypad: every digit, every operator, "=", both
// transfers, "0", ".", pi and the reset, with a division by zero and an
// operator pressed before any number. The reset at the end leaves the
// boxes as the pass found them.
constexpr std::array Road{
    // 12 + 34 = 46
    "Command4", "Command10", "Command17", "Command12", "Command8", "Command16",
    // 46 up into the first box, × 5.6 =
    "Command34", "Command5", "Command11", "Command3", "Command13", "Command16",
    // that into the second box; 7 - it =
    "Command15", "Command9", "Command18", "Command16",
    // that into the first box, ÷ 8 =
    "Command34", "Command6", "Command7", "Command16",
    // 9 to the power 2
    "Command14", "Command22", "Command10", "Command16",
    // pi squared
    "Command35", "Command19", "Command16",
    // square root of 0.5
    "Command2", "Command3", "Command11", "Command20", "Command16",
    // 3 cubed, cube root of 4, square root of 9 by the n-th root
    "Command12", "Command1", "Command16", "Command8", "Command21", "Command16", "Command14",
    "Command23", "Command10", "Command16",
    // 1 ÷ 0 has no answer
    "Command4", "Command6", "Command2", "Command16",
    // + with no first number: the message line asks for one
    "Command17",
    // 6, then everything cleared
    "Command13", "Command39"};

long Clicks = 1'000'000;
long WarmUpClicks = 20'000;
constexpr long Batch = 1'000;
constexpr long MemoryEvery = 200'000;

// Per-click times in whole microseconds; the last bucket holds the rest.
constexpr std::size_t Buckets = 100'000;
std::array<unsigned, Buckets> histogram;

using Clock = std::chrono::steady_clock;

double Micros(Clock::duration d) { return std::chrono::duration<double, std::micro>(d).count(); }

double Percentile(double fraction) {
    const auto wanted = static_cast<unsigned long>(fraction * static_cast<double>(Clicks));
    unsigned long seen = 0;
    for (std::size_t i = 0; i < Buckets; ++i) {
        seen += histogram[i];
        if (seen > wanted)
            return static_cast<double>(i);
    }
    return static_cast<double>(Buckets);
}

void PrintMemory(const char *when, const bench::Memory &memory) {
    std::printf("  %-26s resident %6.2f MiB   private %6.2f MiB, of it dirty %6.2f MiB\n", when,
                bench::MiB(memory.residentKiB), bench::MiB(memory.privateKiB),
                bench::MiB(memory.dirtyKiB));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char *argv[]) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--clicks" || arg == "--warmup") && i + 1 < argc) {
            const long value = std::atol(argv[++i]);
            if (value < (arg == "--clicks" ? 1 : 0)) {
                std::fprintf(stderr, "usage: clicks [--clicks N] [--warmup N]\n");
                return 2;
            }
            (arg == "--clicks" ? Clicks : WarmUpClicks) = value;
        } else {
            std::fprintf(stderr, "usage: clicks [--clicks N] [--warmup N]\n");
            return 2;
        }
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static char name[] = "clicks";
    static char *qtArgv[] = {name, nullptr};
    int qtArgc = 1;
    QApplication application(qtArgc, qtArgv);

    const std::unique_ptr<vb::Form> form = vb::StartForm(ZendaricProject());
    if (!form || !QTest::qWaitForWindowExposed(form.get())) {
        std::fprintf(stderr, "clicks: the window did not come up\n");
        return 1;
    }
    std::array<vb::CommandButton *, Road.size()> road{};
    for (std::size_t i = 0; i < Road.size(); ++i) {
        road[i] = form->findChild<vb::CommandButton *>(QString::fromLatin1(Road[i]));
        if (!road[i]) {
            std::fprintf(stderr, "clicks: the window has no %s\n", Road[i]);
            return 1;
        }
    }
    auto *result = form->findChild<vb::TextBox *>(QStringLiteral("Txt3"));
    std::size_t next = 0;
    auto click = [&] {
        QTest::mouseClick(road[next], Qt::LeftButton);
        QCoreApplication::processEvents();
        next = (next + 1) % road.size();
    };

    // The first sum proves the clicks reach the program.
    for (int i = 0; i < 6; ++i)
        click();
    if (!result || result->Text() != QStringLiteral("46")) {
        std::fprintf(stderr, "clicks: 12 + 34 did not show 46\n");
        return 1;
    }

    std::printf("Clicks: %ld clicks on the real window (offscreen), a road of %zu keys, each "
                "click followed by its repaint\n",
                Clicks, Road.size());
    PrintMemory("window up", bench::ReadMemory());
    while (next != 0)
        click();
    for (long i = 0; i < WarmUpClicks; ++i)
        click();
    std::fill(histogram.begin(), histogram.end(), 0u);
    std::vector<double> batches;
    batches.reserve(Clicks / Batch);
    const bench::Memory before = bench::ReadMemory();
    char warmedUp[64];
    std::snprintf(warmedUp, sizeof warmedUp, "after a warm-up of %ld", WarmUpClicks);
    PrintMemory(warmedUp, before);

    Clock::duration inClick{}, inRepaint{};
    Clock::time_point batchStart = Clock::now();
    const Clock::time_point start = batchStart;
    for (long i = 1; i <= Clicks; ++i) {
        const Clock::time_point t0 = Clock::now();
        QTest::mouseClick(road[next], Qt::LeftButton);
        const Clock::time_point t1 = Clock::now();
        QCoreApplication::processEvents();
        const Clock::time_point t2 = Clock::now();
        next = (next + 1) % road.size();
        inClick += t1 - t0;
        inRepaint += t2 - t1;
        const auto micros = static_cast<std::size_t>(Micros(t2 - t0));
        ++histogram[std::min(micros, Buckets - 1)];
        if (i % Batch == 0) {
            const Clock::time_point now = Clock::now();
            batches.push_back(Micros(now - batchStart) / Batch);
            batchStart = now;
        }
        if (i % MemoryEvery == 0 && i != Clicks) {
            char when[64];
            std::snprintf(when, sizeof when, "after %ld", i);
            PrintMemory(when, bench::ReadMemory());
            batchStart = Clock::now();
        }
    }
    const double total = Micros(Clock::now() - start);
    const bench::Memory after = bench::ReadMemory();
    PrintMemory("at the end", after);

    if (batches.empty())
        batches.push_back(total / static_cast<double>(Clicks));
    std::sort(batches.begin(), batches.end());
    auto batchAt = [&](double fraction) {
        return batches[static_cast<std::size_t>(fraction *
                                                static_cast<double>(batches.size() - 1))];
    };
    std::printf("\n  per click: mean %.2f us (goal at most 100 us): %.2f in the click, %.2f in the "
                "repaint\n",
                total / static_cast<double>(Clicks), Micros(inClick) / static_cast<double>(Clicks),
                Micros(inRepaint) / static_cast<double>(Clicks));
    std::printf("  single clicks, us:        p50 %.0f  p90 %.0f  p99 %.0f  p99.9 %.0f\n",
                Percentile(0.50), Percentile(0.90), Percentile(0.99), Percentile(0.999));
    std::printf("  batches of %ld, us a click: min %.2f  p50 %.2f  p90 %.2f  p99 %.2f  max %.2f\n",
                Batch, batches.front(), batchAt(0.5), batchAt(0.9), batchAt(0.99), batches.back());
    std::printf("  memory over the clicks: resident %+.2f MiB, private %+.2f MiB, dirty %+.2f MiB "
                "(goal: none beyond noise)\n",
                bench::MiB(after.residentKiB - before.residentKiB),
                bench::MiB(after.privateKiB - before.privateKiB),
                bench::MiB(after.dirtyKiB - before.dirtyKiB));
    return 0;
}
