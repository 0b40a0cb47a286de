// The GIF codec against giflib on one generated corpus: decoding (a memory buffer to every
// frame's index buffer) and encoding (index buffers to memory). Prints the median megapixels per
// second of several runs and the ratio ours / giflib for each kind of image.
#include "imaging/gif/gifimage.h"
#include "platform/rtl/stream.h"
#include "tests/imaging/gif/giflibpeer.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct TFrame {
    int Width, Height;
    bool Interlaced;
    std::vector<std::uint8_t> Pixels;
};

struct TSample {
    int Width = 0, Height = 0, Colors = 0;
    std::vector<TFrame> Frames;
    std::string Bytes; // as giflib writes it
};

struct TCorpus {
    std::string Name;
    std::vector<TSample> Samples;
    double Megapixels() const
    {
        double Pixels = 0;
        for (const TSample& S : Samples)
            for (const TFrame& F : S.Frames)
                Pixels += static_cast<double>(F.Width) * F.Height;
        return Pixels / 1e6;
    }
};

std::uint32_t Rand(std::uint32_t& State)
{
    State = State * 1103515245u + 12345u;
    return State >> 16;
}

// Smooth shapes with a little noise, quantised to Colors: the kind of picture GIFs hold.
std::vector<std::uint8_t> Picture(int W, int H, int Colors, std::uint32_t Seed, double Phase)
{
    std::vector<std::uint8_t> P(static_cast<std::size_t>(W) * H);
    std::uint32_t State = Seed;
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X) {
            const double V = 0.5 + 0.25 * std::sin(X * 0.031 + Phase) +
                             0.2 * std::cos(Y * 0.047 - Phase) + 0.05 * std::sin((X + Y) * 0.21);
            int C = static_cast<int>(V * Colors) + (Rand(State) % 8 == 0 ? 1 : 0);
            P[static_cast<std::size_t>(Y) * W + X] =
                static_cast<std::uint8_t>(std::clamp(C, 0, Colors - 1));
        }
    return P;
}

std::string GiflibEncode(const TSample& S)
{
    std::string Out;
    int Error = 0;
    GifFileType* Gif = PeerOpenEncoder(Out, Error);
    ColorMapObject* Map = GifMakeMapObject(std::max(S.Colors, 2), nullptr);
    for (int I = 0; I < Map->ColorCount; ++I)
        Map->Colors[I] =
            GifColorType{static_cast<GifByteType>(I * 7), static_cast<GifByteType>(I * 13),
                         static_cast<GifByteType>(I * 29)};
    EGifPutScreenDesc(Gif, S.Width, S.Height, 8, 0, Map);
    for (const TFrame& F : S.Frames) {
        EGifPutImageDesc(Gif, 0, 0, F.Width, F.Height, F.Interlaced, nullptr);
        PeerPutPixels(Gif, F.Pixels.data(), F.Width, F.Height, F.Interlaced);
    }
    EGifCloseFile(Gif, &Error);
    GifFreeMapObject(Map);
    return Out;
}

std::size_t GiflibDecode(const std::string& Bytes)
{
    TPeerReader Reader{&Bytes};
    int Error = 0;
    GifFileType* Gif = PeerOpenDecoder(Reader, Error);
    DGifSlurp(Gif);
    std::size_t Sum = 0;
    for (int I = 0; I < Gif->ImageCount; ++I)
        Sum += Gif->SavedImages[I].RasterBits[0];
    DGifCloseFile(Gif, &Error);
    return Sum;
}

std::size_t OurDecode(const std::string& Bytes)
{
    TStringStream Stream(Bytes);
    TGIFImage Image;
    Image.LoadFromStream(&Stream);
    std::size_t Sum = 0;
    for (int I = 0; I < Image.Images()->Count(); ++I)
        Sum += Image.Images()->SubImage(I)->Data()[0];
    return Sum;
}

// Our picture of a sample, built once: encoding then measures only the writing.
std::unique_ptr<TGIFImage> OurPicture(const TSample& S)
{
    auto Image = std::make_unique<TGIFImage>();
    TStringStream Stream(S.Bytes);
    Image->LoadFromStream(&Stream);
    return Image;
}

std::size_t OurEncode(TGIFImage& Image)
{
    TMemoryStream Stream;
    Image.SaveToStream(&Stream);
    return static_cast<std::size_t>(Stream.Size());
}

TSample Still(int W, int H, int Colors, bool Interlaced, std::uint32_t Seed)
{
    TSample S;
    S.Width = W;
    S.Height = H;
    S.Colors = Colors;
    S.Frames.push_back(TFrame{W, H, Interlaced, Picture(W, H, Colors, Seed, Seed * 0.1)});
    S.Bytes = GiflibEncode(S);
    return S;
}

std::vector<TCorpus> MakeCorpus()
{
    std::vector<TCorpus> Corpus;
    TCorpus Icons{"small icons 32x32", {}};
    for (std::uint32_t I = 0; I < 200; ++I)
        Icons.Samples.push_back(Still(32, 32, 16, false, I));
    Corpus.push_back(std::move(Icons));
    TCorpus Stills{"8-bit stills 1024x768", {}};
    for (std::uint32_t I = 0; I < 3; ++I)
        Stills.Samples.push_back(Still(1024, 768, 256, false, I + 1));
    Corpus.push_back(std::move(Stills));
    TCorpus Interlaced{"interlaced 800x600", {}};
    for (std::uint32_t I = 0; I < 3; ++I)
        Interlaced.Samples.push_back(Still(800, 600, 64, true, I + 7));
    Corpus.push_back(std::move(Interlaced));
    TCorpus Animation{"animation 120 frames 200x150", {}};
    {
        TSample S;
        S.Width = 200;
        S.Height = 150;
        S.Colors = 128;
        for (int F = 0; F < 120; ++F)
            S.Frames.push_back(TFrame{200, 150, false, Picture(200, 150, 128, 99, F * 0.05)});
        S.Bytes = GiflibEncode(S);
        Animation.Samples.push_back(std::move(S));
    }
    Corpus.push_back(std::move(Animation));
    TCorpus Bits{"1- and 2-bit 1024x1024", {}};
    Bits.Samples.push_back(Still(1024, 1024, 2, false, 31));
    Bits.Samples.push_back(Still(1024, 1024, 4, false, 32));
    Corpus.push_back(std::move(Bits));
    return Corpus;
}

// The median over Runs of the seconds one pass of Body takes (each run repeats it for at
// least 50 ms).
template <class F>
double MedianSeconds(F&& Body, int Runs = 9)
{
    std::vector<double> Times;
    for (int R = 0; R < Runs; ++R) {
        int Passes = 0;
        const auto Start = std::chrono::steady_clock::now();
        double Elapsed = 0;
        do {
            benchmark::DoNotOptimize(Body());
            ++Passes;
            Elapsed =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
        } while (Elapsed < 0.05);
        Times.push_back(Elapsed / Passes);
    }
    std::sort(Times.begin(), Times.end());
    return Times[Times.size() / 2];
}

void Compare()
{
    const std::vector<TCorpus> Corpus = MakeCorpus();
    std::printf("%-30s %12s %12s %7s   %12s %12s %7s\n", "corpus", "decode ours", "giflib", "ratio",
                "encode ours", "giflib", "ratio");
    for (const TCorpus& C : Corpus) {
        std::vector<std::unique_ptr<TGIFImage>> Pictures;
        for (const TSample& S : C.Samples)
            Pictures.push_back(OurPicture(S));
        const double MP = C.Megapixels();
        const double OurDec = MP / MedianSeconds([&] {
                                  std::size_t Sum = 0;
                                  for (const TSample& S : C.Samples)
                                      Sum += OurDecode(S.Bytes);
                                  return Sum;
                              });
        const double PeerDec = MP / MedianSeconds([&] {
                                   std::size_t Sum = 0;
                                   for (const TSample& S : C.Samples)
                                       Sum += GiflibDecode(S.Bytes);
                                   return Sum;
                               });
        const double OurEnc = MP / MedianSeconds([&] {
                                  std::size_t Sum = 0;
                                  for (auto& P : Pictures)
                                      Sum += OurEncode(*P);
                                  return Sum;
                              });
        const double PeerEnc = MP / MedianSeconds([&] {
                                   std::size_t Sum = 0;
                                   for (const TSample& S : C.Samples)
                                       Sum += GiflibEncode(S).size();
                                   return Sum;
                               });
        std::printf("%-30s %8.1f MP/s %7.1f MP/s %6.2fx   %8.1f MP/s %7.1f MP/s %6.2fx\n",
                    C.Name.c_str(), OurDec, PeerDec, OurDec / PeerDec, OurEnc, PeerEnc,
                    OurEnc / PeerEnc);
    }
}

// The same measurements as Google Benchmark cases, for its usual options.
const TSample& LargeStill()
{
    static const TSample S = Still(1024, 768, 256, false, 1);
    return S;
}

void OursDecodeStill(benchmark::State& State)
{
    for (auto _ : State)
        benchmark::DoNotOptimize(OurDecode(LargeStill().Bytes));
    State.counters["MP/s"] =
        benchmark::Counter(1024.0 * 768 * State.iterations() / 1e6, benchmark::Counter::kIsRate);
}
BENCHMARK(OursDecodeStill)->Unit(benchmark::kMillisecond);

void GiflibDecodeStill(benchmark::State& State)
{
    for (auto _ : State)
        benchmark::DoNotOptimize(GiflibDecode(LargeStill().Bytes));
    State.counters["MP/s"] =
        benchmark::Counter(1024.0 * 768 * State.iterations() / 1e6, benchmark::Counter::kIsRate);
}
BENCHMARK(GiflibDecodeStill)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    Compare();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
