// One whole computation and its hot pieces.

#include "brindelor/tariff/compute.h"
#include "brindelor/tariff/entry_rules.h"
#include "brindelor/tariff/number_text.h"

#include <benchmark/benchmark.h>

#include <array>
#include <string>

namespace {

using namespace brindelor;

const Separators kFrench{",", "\xE2\x80\xAF"};

// Like the window: the base read from the entry's text, fields kept as strings.
class Fields final : public TariffIO {
public:
    explicit Fields(std::string base) : base_(std::move(base)) {}
    Extended readBase() override { return entryRead(base_, kFrench); }
    void writeField(ResultField f, std::string_view text) override { out[static_cast<std::size_t>(f)].assign(text); }
    std::array<std::string, kResultFieldCount> out;

private:
    std::string base_;
};

void BM_Computation(benchmark::State& state)
{
    Fields io("41,81");
    for (auto _ : state) {
        computeTariffs(io, 4.6f, 11.5f, kFrench);
        benchmark::DoNotOptimize(io.out);
    }
}
BENCHMARK(BM_Computation);

void BM_EntryReadFormatRead(benchmark::State& state)
{
    const std::string typed = "1234,5";
    for (auto _ : state) {
        const std::string shown = entryFormat(entryRead(typed, kFrench), kFrench);
        benchmark::DoNotOptimize(entryRead(shown, kFrench));
    }
}
BENCHMARK(BM_EntryReadFormatRead);

void BM_GeneralText(benchmark::State& state)
{
    const Extended x = displayRound(Extended::fromInt64(1243225) / Extended::fromInt64(10000));
    for (auto _ : state)
        benchmark::DoNotOptimize(generalText(x, ","));
}
BENCHMARK(BM_GeneralText);

void BM_ReadMegabyteOfDigits(benchmark::State& state)
{
    const std::string pasted = "0," + std::string(1 << 20, '7');
    for (auto _ : state)
        benchmark::DoNotOptimize(entryRead(pasted, kFrench));
}
BENCHMARK(BM_ReadMegabyteOfDigits)->Unit(benchmark::kMillisecond);

} // namespace
