// Downloads one package with DownloadFile and prints the throughput; run by
// bench/download-bench next to curl on the same server.
#include <windows.h>

#include <cstdio>

#include "code_page.h"
#include "download_file.h"

namespace {
class QuietOwner : public IDownloadOwner {
public:
    bool complete = false;
    void SetProgress(int) override {}
    void OnDownloadFinished(bool done) override { complete = done; }
};
} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        fputs("usage: download_bench URL PATH\n", stderr);
        return 2;
    }
    QuietOwner owner;
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    DownloadFile(AnsiToWide(argv[1]), AnsiToWide(argv[2]), &owner);
    QueryPerformanceCounter(&end);
    double seconds = double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
    printf("%.3f %s\n", seconds, owner.complete ? "complete" : "incomplete");
    return owner.complete ? 0 : 1;
}
