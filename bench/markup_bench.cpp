// Parsing a large skin-like layout (about 2 MiB of UTF-8): CMarkup against
// pugixml, in one run. Both start from the same bytes; CMarkup's time
// includes its conversion to UTF-16. The ratio is printed at the end
// (CMarkup / pugixml; 1.0 = as fast).
#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "markup.h"

namespace {

const std::string& Document()
{
    static const std::string document = [] {
        std::string s = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                        "<Window size=\"380,240\" roundcorner=\"0,0\" caption=\"0,0,0,9999\">\n"
                        "  <Include source=\"Font.xml\" />\n  <VerticalLayout bkcolor=\"#ffffffff\">\n";
        for (int i = 0; s.size() < (2u << 20); ++i) {
            const std::string n = std::to_string(i);
            s += "    <!-- row " + n + " -->\n    <HorizontalLayout height=\"32\" padding=\"10,5,0,0\">\n";
            s += "      <Label name=\"label" + n + "\" text=\"\xE6\x9C\x80\xE6\x96\xB0\xE7\x89\x88\xE6\x9C\xAC " + n +
                 " &amp; more\" width=\"160\" height=\"24\" font=\"160\" align=\"right\" />\n";
            s += "      <Control />\n";
            s += "      <Button name=\"button" + n +
                 "\" width=\"24\" height=\"24\" tooltip=\"Close\""
                 " normalimage=\"file='btn_sys_close.png' source='0,0,30,30'\""
                 " hotimage=\"file='btn_sys_close.png' source='30,0,60,30'\""
                 " pushedimage=\"file='btn_sys_close.png' source='60,0,90,30'\" />\n";
            s += "      <Progress name=\"bar" + n +
                 "\" value=\"20\" min=\"0\" max=\"100\""
                 " foreimage=\"file='PlanBackground.png' corner='5,3,5,3' xtiled='true'\">text</Progress>\n";
            s += "    </HorizontalLayout>\n";
        }
        s += "  </VerticalLayout>\n</Window>\n";
        return s;
    }();
    return document;
}

const auto* Bytes()
{
    return reinterpret_cast<const unsigned char*>(Document().data());
}

// Each parser also touches every element's first attribute, as a builder would.
size_t ParseMarkup()
{
    SkinUI::CMarkup doc;
    if (!doc.LoadFromMem(Bytes(), static_cast<uint32_t>(Document().size()))) {
        return 0;
    }
    size_t count = 0;
    for (SkinUI::CMarkupNode row = doc.GetRoot().GetChild(L"VerticalLayout").GetChild(); row.IsValid();
         row = row.GetSibling()) {
        for (SkinUI::CMarkupNode n = row.GetChild(); n.IsValid(); n = n.GetSibling()) {
            count += n.GetAttributeValue(0)[0] != 0;
        }
    }
    return count;
}

size_t ParsePugi()
{
    pugi::xml_document doc;
    if (!doc.load_buffer(Document().data(), Document().size())) {
        return 0;
    }
    size_t count = 0;
    for (pugi::xml_node row : doc.child("Window").child("VerticalLayout").children()) {
        for (pugi::xml_node n : row.children()) {
            count += n.first_attribute().value()[0] != 0;
        }
    }
    return count;
}

void BM_Markup_CMarkup(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(ParseMarkup());
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(Document().size()));
}
BENCHMARK(BM_Markup_CMarkup)->Unit(benchmark::kMillisecond);

void BM_Markup_Pugixml(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(ParsePugi());
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(Document().size()));
}
BENCHMARK(BM_Markup_Pugixml)->Unit(benchmark::kMillisecond);

// Best of several rounds, so that a busy moment of the machine does not
// decide the ratio.
template <typename F> double BestMiBPerSecond(F f)
{
    double best = 0;
    for (int round = 0; round < 7; ++round) {
        auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < 10; ++i)
            benchmark::DoNotOptimize(f());
        std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::max(best, 10.0 * double(Document().size()) / (1 << 20) / took.count());
    }
    return best;
}

} // namespace

int main(int argc, char** argv)
{
    if (ParseMarkup() == 0 || ParseMarkup() != ParsePugi()) {
        fprintf(stderr, "the parsers disagree about the document\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    const double ours = BestMiBPerSecond(ParseMarkup);
    const double pugi = BestMiBPerSecond(ParsePugi);
    printf("markup %.1f MiB: CMarkup %.0f MiB/s, pugixml %.0f MiB/s, ratio %.2f\n",
           double(Document().size()) / (1 << 20), ours, pugi, ours / pugi);
    return 0;
}
