// MD5 throughput on 1 MiB inputs: ours against OpenSSL's, in one run.
// The ratio is printed at the end (ours / OpenSSL; 1.0 = as fast).
#include <benchmark/benchmark.h>
#include <openssl/evp.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "md5.h"

namespace {

const std::string& Input()
{
    static const std::string input = [] {
        std::string s(1 << 20, '\0');
        for (size_t i = 0; i < s.size(); ++i)
            s[i] = char(i * 2654435761u >> 13);
        return s;
    }();
    return input;
}

void Ours(const std::string& in)
{
    uint8_t digest[16];
    Md5Digest(in.data(), in.size(), digest);
    benchmark::DoNotOptimize(digest);
}

void OpenSsl(const std::string& in)
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_Digest(in.data(), in.size(), digest, &length, EVP_md5(), nullptr);
    benchmark::DoNotOptimize(digest);
}

void BM_Md5_Ours(benchmark::State& state)
{
    for (auto _ : state)
        Ours(Input());
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(Input().size()));
}
BENCHMARK(BM_Md5_Ours);

void BM_Md5_OpenSSL(benchmark::State& state)
{
    for (auto _ : state)
        OpenSsl(Input());
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(Input().size()));
}
BENCHMARK(BM_Md5_OpenSSL);

// Best of several rounds, so that a busy moment of the machine does not
// decide the ratio.
template <typename F> double BestMiBPerSecond(F f)
{
    double best = 0;
    for (int round = 0; round < 7; ++round) {
        auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < 50; ++i)
            f(Input());
        std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::max(best, 50.0 / took.count());
    }
    return best;
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    double ours = BestMiBPerSecond(Ours);
    double openssl = BestMiBPerSecond(OpenSsl);
    printf("md5 1 MiB: ours %.0f MiB/s, OpenSSL %.0f MiB/s, ratio %.2f\n", ours, openssl, ours / openssl);
    return 0;
}
