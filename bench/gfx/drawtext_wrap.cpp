// DrawText's word wrapping in a narrow rectangle (ten characters a line) over texts of 4, 16 and
// 64 KB: one unbroken word broken by characters, "a " repeated, and ordinary words. The time per
// byte must not grow with the length of the text. The floor is one measurement of the same text,
// the least any layout of it costs.
#include "platform/gfx/fontengine.h"
#include "platform/gfx/textlayout.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <string>

namespace {

enum TKind { kUnbroken, kShortWords, kWords };

std::string Sample(TKind Kind, std::size_t Size)
{
    std::string Text;
    std::uint32_t State = 12345;
    while (Text.size() < Size) {
        switch (Kind) {
        case kUnbroken:
            Text += static_cast<char>('a' + Text.size() % 26);
            break;
        case kShortWords:
            Text += "a ";
            break;
        case kWords:
            State = State * 1103515245u + 12345u;
            Text.append(1 + (State >> 16) % 9, static_cast<char>('a' + (State >> 8) % 26));
            Text += (State >> 20) % 12 == 0 ? ", " : " ";
            break;
        }
    }
    Text.resize(Size);
    return Text;
}

std::shared_ptr<TFontInstance> Font()
{
    // Fixed metrics (every character 10 wide) keep the lines the same on every machine.
    SetDeterministicFontMetrics(true);
    TFontRequest Request;
    Request.FaceName = "Arial";
    Request.Height = 20;
    return TFontInstance::Get(Request);
}

void Wrap(benchmark::State& State, TKind Kind, unsigned Format)
{
    const std::string Text = Sample(Kind, static_cast<std::size_t>(State.range(0)));
    const std::shared_ptr<TFontInstance> Measure = Font();
    for (auto _ : State) {
        TDrawTextLayout Layout = LayoutDrawText(*Measure, Text, Rect(0, 0, 100, 1000), Format);
        benchmark::DoNotOptimize(Layout.Lines.data());
    }
    State.SetBytesProcessed(State.iterations() * State.range(0));
}

void WrapUnbrokenByCharacters(benchmark::State& State)
{
    Wrap(State, kUnbroken, DT_WORDBREAK | DT_EDITCONTROL | DT_CALCRECT);
}
void WrapShortWords(benchmark::State& State)
{
    Wrap(State, kShortWords, DT_WORDBREAK);
}
void WrapWords(benchmark::State& State)
{
    Wrap(State, kWords, DT_WORDBREAK);
}

void FloorMeasureOnce(benchmark::State& State)
{
    const std::string Text = Sample(kWords, static_cast<std::size_t>(State.range(0)));
    const std::shared_ptr<TFontInstance> Measure = Font();
    for (auto _ : State)
        benchmark::DoNotOptimize(Measure->CodedTextWidth(Text, tcAnsi));
    State.SetBytesProcessed(State.iterations() * State.range(0));
}

#define WRAP_SIZES RangeMultiplier(4)->Range(4 << 10, 64 << 10)->Unit(benchmark::kMicrosecond)
BENCHMARK(WrapUnbrokenByCharacters)->WRAP_SIZES;
BENCHMARK(WrapShortWords)->WRAP_SIZES;
BENCHMARK(WrapWords)->WRAP_SIZES;
BENCHMARK(FloorMeasureOnce)->WRAP_SIZES;

} // namespace
