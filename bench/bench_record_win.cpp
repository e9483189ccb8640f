#include "bench_record.h"

#include <windows.h>

#include <psapi.h>

#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace bench {

namespace {

struct Record {
    std::mutex lock;
    std::vector<std::pair<std::string, double>> marks;   // clock milliseconds
    std::vector<std::pair<std::string, double>> figures; // as given
    std::vector<std::pair<std::string, std::vector<double>>> samples;
};

Record& TheRecord()
{
    static Record record;
    return record;
}

double Frequency()
{
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return double(f.QuadPart);
    }();
    return frequency;
}

double FileTimeMs(const FILETIME& time)
{
    return double((unsigned long long)time.dwHighDateTime << 32 | time.dwLowDateTime) / 10000.0;
}

// Where the process's creation lies on the marks' clock: its creation time
// is only given in system time.
double CreationMs()
{
    FILETIME created, exited, kernel, user, now;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
        return 0;
    const double clock = NowMs();
    GetSystemTimeAsFileTime(&now);
    return clock - (FileTimeMs(now) - FileTimeMs(created));
}

std::pair<std::string, double>* Find(std::vector<std::pair<std::string, double>>& list, const char* name)
{
    for (auto& entry : list) {
        if (entry.first == name)
            return &entry;
    }
    return nullptr;
}

} // namespace

double NowMs()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return double(now.QuadPart) * 1000.0 / Frequency();
}

void Mark(const char* name)
{
    const double now = NowMs();
    Record& record = TheRecord();
    std::lock_guard<std::mutex> hold(record.lock);
    if (!Find(record.marks, name))
        record.marks.emplace_back(name, now);
}

void Add(const char* name, double amount)
{
    Record& record = TheRecord();
    std::lock_guard<std::mutex> hold(record.lock);
    if (auto* figure = Find(record.figures, name))
        figure->second += amount;
    else
        record.figures.emplace_back(name, amount);
}

void Sample(const char* name, std::initializer_list<double> values)
{
    Record& record = TheRecord();
    std::lock_guard<std::mutex> hold(record.lock);
    record.samples.emplace_back(name, values);
}

bool WriteRecord()
{
    char path[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("FERNCASTLE_BENCH_RECORD", path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return false;
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory))
        Add("peak_working_set", double(memory.PeakWorkingSetSize));
    const double start = CreationMs();

    std::unique_ptr<FILE, int (*)(FILE*)> file(fopen(path, "w"), fclose);
    if (!file)
        return false;
    FILE* out = file.get();
    Record& record = TheRecord();
    std::lock_guard<std::mutex> hold(record.lock);
    for (const auto& mark : record.marks)
        fprintf(out, "%s %.3f\n", mark.first.c_str(), mark.second - start);
    for (const auto& figure : record.figures)
        fprintf(out, "%s %.3f\n", figure.first.c_str(), figure.second);
    for (const auto& sample : record.samples) {
        fputs(sample.first.c_str(), out);
        for (double value : sample.second)
            fprintf(out, " %.3f", value);
        fputc('\n', out);
    }
    return fclose(file.release()) == 0;
}

} // namespace bench
