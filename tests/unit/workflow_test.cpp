#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <thread>
#include <vector>

#include "announced_manifest.h"
#include "call_with_deadline.h"
#include "download_file.h"
#include "md5.h"
#include "package_check.h"
#include "package_name.h"
#include "package_worker.h"
#include "updater_identity.h"

namespace {

TEST(PackageFileName, ChannelStaysInsideTheFolder)
{
    const struct {
        std::wstring channel;
        std::wstring name;
    } cases[] = {
        {L"1001", L"Ferncastle_" FERNCASTLE_UPDATER_VERSION L"_1001.exe"},
        {L"", L"Ferncastle_" FERNCASTLE_UPDATER_VERSION L"_.exe"},
        {L"v1.5", L"Ferncastle_" FERNCASTLE_UPDATER_VERSION L"_v1.5.exe"},
        {L"a\\b/c:d*e?f\"g<h>i|j\tk", L"Ferncastle_" FERNCASTLE_UPDATER_VERSION L"_a_b_c_d_e_f_g_h_i_j_k.exe"},
        {L"..\\..\\x", L"Ferncastle_" FERNCASTLE_UPDATER_VERSION L"_______x.exe"},
        {L"...", L"Ferncastle_" FERNCASTLE_UPDATER_VERSION L"___..exe"},
        {L"\u6e20\u9053", L"Ferncastle_" FERNCASTLE_UPDATER_VERSION L"_\u6e20\u9053.exe"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PackageFileName(c.channel), c.name);
}

// Only folders named exactly as the updater names them are removed as left
// by an earlier run.
TEST(PackageFolderName, OnlyTheUpdatersOwnNamesAreTaken)
{
    EXPECT_EQ(PackageFolderName(0x0123456789abcdefull), L"FerncastleUpdate-0123456789abcdef");
    const struct {
        std::wstring name;
        bool ours;
    } cases[] = {
        {PackageFolderName(0), true},
        {PackageFolderName(~0ull), true},
        {L"FerncastleUpdate-notes", false},
        {L"FerncastleUpdate-0123456789abcde", false},
        {L"FerncastleUpdate-0123456789abcdef0", false},
        {L"FerncastleUpdate-0123456789ABCDEF", false},
        {L"FerncastleUpdate-0123456789abcdeg", false},
        {L"ferncastleupdate-0123456789abcdef", false},
        {L"XFerncastleUpdate-0123456789abcde", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsPackageFolderName(c.name), c.ours) << std::string(c.name.begin(), c.name.end());
}

// The update check's hand-over: a result in time is taken; one past the
// deadline, a throw or a cancel gives nothing, and the late thread still
// writes its result safely into the state it shares.
TEST(CallWithDeadline, TakesAResultInTimeAndLeavesALateOne)
{
    using namespace std::chrono;
    EXPECT_EQ(CallWithDeadline<std::string>([] { return std::string("answer"); }, seconds(20)), "answer");
    EXPECT_FALSE(CallWithDeadline<int>([]() -> int { throw std::bad_alloc(); }, seconds(20)));

    auto release = std::make_shared<std::atomic<bool>>(false);
    // Held by the work, and so by both late threads until they are gone.
    auto sentinel = std::make_shared<int>(0);
    const std::weak_ptr<int> alive = sentinel;
    const auto slow = [&] {
        return std::function<std::string()>([release, sentinel] {
            while (!*release)
                std::this_thread::sleep_for(milliseconds(1));
            return std::string(1 << 20, 'x');
        });
    };
    const auto start = steady_clock::now();
    EXPECT_FALSE(CallWithDeadline<std::string>(slow(), milliseconds(100)));
    const auto waited = steady_clock::now() - start;
    EXPECT_GE(waited, milliseconds(100));
    EXPECT_LT(waited, seconds(10));
    const auto cancelledAt = steady_clock::now();
    EXPECT_FALSE(CallWithDeadline<std::string>(slow(), seconds(20), [] { return true; }));
    EXPECT_LT(steady_clock::now() - cancelledAt, seconds(10));
    sentinel.reset();
    *release = true;
    const auto deadline = steady_clock::now() + seconds(20);
    while (!alive.expired() && steady_clock::now() < deadline)
        std::this_thread::sleep_for(milliseconds(1));
    EXPECT_TRUE(alive.expired());
}

TEST(PackageCheck, OnlyUsableAnnouncementsAreCompared)
{
    const std::string md5 = Md5Hex("package");
    std::string upper = md5;
    std::transform(upper.begin(), upper.end(), upper.begin(), ::toupper);
    const struct {
        const char* what;
        UpdateManifest manifest;
        bool matches;
    } cases[] = {
        {"exact", Announced(7, md5), true},
        {"MD5 in capitals", Announced(7, upper), true},
        {"nothing announced", Announced(0, ""), true},
        {"negative size, malformed MD5", Announced(-1, "xyz"), true},
        {"31 digits", Announced(7, md5.substr(1)), true},
        {"33 characters", Announced(7, md5 + "0"), true},
        {"not hexadecimal", Announced(7, std::string(31, '0') + "g"), true},
        {"size differs", Announced(8, md5), false},
        {"MD5 differs", Announced(7, Md5Hex("other")), false},
        {"MD5 differs, no size", Announced(0, Md5Hex("other")), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MatchesAnnouncement(c.manifest, 7, md5), c.matches) << c.what;
}

TEST(PackageCheck, TheServerDecidesWhetherToUpdate)
{
    const struct {
        bool requestOk, answerOk;
        int updateType;
        bool offered;
    } cases[] = {
        {true, true, 1, true},   {true, true, 7, true},   {true, true, 0, false},
        {true, true, -1, false}, {true, false, 1, false}, {false, true, 1, false},
    };
    for (const auto& c : cases) {
        UpdateQueryResult result;
        result.requestOk = c.requestOk;
        result.answerOk = c.answerOk;
        UpdateManifest manifest;
        manifest.updateType = c.updateType;
        EXPECT_EQ(IsUpdateOffered(result, manifest), c.offered)
            << c.requestOk << c.answerOk << " type " << c.updateType;
    }
}

OfferedUpdate Offer(const std::wstring& url, const std::wstring& path, const UpdateManifest& manifest)
{
    OfferedUpdate offer;
    offer.url = url;
    offer.path = path;
    offer.manifest = manifest;
    return offer;
}

// A download that hands `body` over in 1 KiB pieces, as the real one does,
// and stops early when asked to or when `cutAt` is reached.
struct FakeSystem {
    std::string body;
    size_t cutAt = std::string::npos;
    std::vector<std::wstring> launches;
    std::vector<std::wstring> removed;
    ReceivedPackage seen;
    bool launchResult = true;
    std::mutex lock;
    std::vector<WorkerEvent> events;

    PackageServices Services()
    {
        PackageServices s;
        s.download = [this](const std::wstring&, const std::wstring&, IDownloadOwner* owner) {
            size_t done = 0;
            while (done < body.size() && done < cutAt && !owner->IsCancelled()) {
                const size_t piece = std::min<size_t>(1024, body.size() - done);
                owner->OnPieceWritten(body.data() + done, piece);
                done += piece;
                owner->SetProgress(DownloadPercent(done, body.size()));
            }
            owner->OnDownloadFinished(done == body.size());
        };
        s.launch = [this](const OfferedUpdate& offer, const ReceivedPackage& received, LaunchGate& gate) {
            launches.push_back(offer.path);
            seen = received;
            return gate.StartUnlessCancelled([this] { return launchResult; });
        };
        s.remove = [this](const std::wstring& path) { removed.push_back(path); };
        return s;
    }
    // Records the events and, like the window, confirms a whole download.
    std::function<bool(WorkerEvent)> Post()
    {
        return [this](WorkerEvent e) {
            std::lock_guard<std::mutex> guard(lock);
            events.push_back(e);
            if (e == WorkerEvent::Downloaded && worker)
                worker->ConfirmDownloaded();
            return true;
        };
    }
    PackageWorker* worker = nullptr;
    size_t Count(WorkerEvent e) { return size_t(std::count(events.begin(), events.end(), e)); }
};

TEST(PackageWorker, VerifiedDownloadIsLaunchedOnceAndFinishedComesLast)
{
    FakeSystem fake;
    fake.body = std::string(5000, 'p');
    PackageWorker worker(fake.Services(), fake.Post());
    fake.worker = &worker;
    ASSERT_TRUE(worker.Start(Offer(L"http://host/p.exe", L"C:\\Temp\\p.exe", UpdateManifest())));
    EXPECT_FALSE(worker.Start(Offer(L"http://host/p.exe", L"C:\\Temp\\p.exe", UpdateManifest())));
    worker.Join();
    EXPECT_EQ(fake.launches, std::vector<std::wstring>{L"C:\\Temp\\p.exe"});
    EXPECT_EQ(fake.seen.size, 5000u);
    EXPECT_EQ(fake.seen.md5Hex, Md5Hex(fake.body));
    EXPECT_TRUE(worker.Launched());
    EXPECT_EQ(worker.LatestPercent(), 100);
    ASSERT_GE(fake.events.size(), 2u);
    EXPECT_EQ(fake.events[fake.events.size() - 2], WorkerEvent::Downloaded);
    EXPECT_EQ(fake.events.back(), WorkerEvent::Finished);
    EXPECT_EQ(fake.Count(WorkerEvent::Finished), 1u);

    // An announced MD5 is compared with the held file; none is taken while receiving.
    FakeSystem announced;
    announced.body = fake.body;
    UpdateManifest manifest;
    manifest.fileMd5 = Md5Hex(fake.body);
    PackageWorker second(announced.Services(), announced.Post());
    announced.worker = &second;
    ASSERT_TRUE(second.Start(Offer(L"u", L"p", manifest)));
    second.Join();
    EXPECT_EQ(announced.seen.size, 5000u);
    EXPECT_EQ(announced.seen.md5Hex, "");
}

TEST(PackageWorker, IncompleteOrCancelledDownloadIsNeverLaunched)
{
    FakeSystem cut;
    cut.body = std::string(5000, 'p');
    cut.cutAt = 2048;
    {
        PackageWorker worker(cut.Services(), cut.Post());
        worker.Start(Offer(L"u", L"p", UpdateManifest()));
        worker.Join();
        EXPECT_FALSE(worker.Launched());
    }
    EXPECT_TRUE(cut.launches.empty());
    EXPECT_EQ(cut.removed, std::vector<std::wstring>{L"p"}) << "with the folder made for it";
    EXPECT_EQ(cut.events.back(), WorkerEvent::Finished);

    FakeSystem cancelled;
    cancelled.body = std::string(50 << 20, 'p');
    {
        PackageWorker worker(cancelled.Services(), cancelled.Post());
        worker.Start(Offer(L"u", L"p", UpdateManifest()));
        worker.Cancel(); // the destructor joins
    }
    EXPECT_TRUE(cancelled.launches.empty());
    EXPECT_EQ(cancelled.Count(WorkerEvent::Finished), 1u);
}

TEST(PackageWorker, ProgressIsPostedOnlyWhenThePercentageChanges)
{
    FakeSystem fake;
    fake.body = std::string(100u << 20, 'p'); // 102,400 pieces
    PackageWorker worker(fake.Services(), fake.Post());
    fake.worker = &worker;
    worker.Start(Offer(L"u", L"p", UpdateManifest()));
    worker.Join();
    EXPECT_LE(fake.Count(WorkerEvent::Progress), 101u);
    EXPECT_GE(fake.Count(WorkerEvent::Progress), 100u);
    EXPECT_EQ(worker.LatestPercent(), 100);
    EXPECT_EQ(fake.events.back(), WorkerEvent::Finished);
}

// The worker hands the announced size to the download, and the window can
// wait for its end with a bound: a download that does not notice the cancel
// (one blocked on a silent server) does not hold the caller.
TEST(PackageWorker, TellsTheAnnouncedSizeAndIsWaitedForWithABound)
{
    const struct {
        int64_t fileSize;
        unsigned long long told;
    } cases[] = {{5000000000LL, 5000000000ULL}, {0, 0}, {-7, 0}};
    for (const auto& c : cases) {
        std::mutex gate;
        std::unique_lock<std::mutex> held(gate);
        unsigned long long told = 1;
        PackageServices services;
        services.download = [&](const std::wstring&, const std::wstring&, IDownloadOwner* owner) {
            told = owner->AnnouncedSize();
            std::lock_guard<std::mutex> wait(gate); // blocked until the test lets go
            owner->OnDownloadFinished(false);
        };
        services.remove = [](const std::wstring&) {};
        UpdateManifest manifest;
        manifest.fileSize = c.fileSize;
        PackageWorker worker(services, [](WorkerEvent) { return true; });
        worker.Start(Offer(L"u", L"p", manifest));
        worker.Cancel();
        EXPECT_FALSE(worker.WaitForEnd(std::chrono::milliseconds(100)));
        held.unlock();
        EXPECT_TRUE(worker.WaitForEnd(std::chrono::seconds(20)));
        worker.Join();
        EXPECT_EQ(told, c.told);
    }
}

// A body without a length ends with its connection, which a reset can fake:
// the worker takes one only when the answer gives something to check it by.
// A transfer is continued without a validator only when the whole file is
// checked: by an announced MD5 or a vendor signature, not by a size.
TEST(PackageWorker, TellsTheDownloadWhatCanBeChecked)
{
    const struct {
        const char* what;
        UpdateManifest manifest;
        bool signature;
        bool takes;
        bool checksWholeFile;
    } cases[] = {
        {"size and MD5", Announced(7, Md5Hex("x")), false, true, true},
        {"size only", Announced(7, ""), false, true, false},
        {"MD5 only", Announced(0, Md5Hex("x")), false, true, true},
        {"nothing", Announced(0, ""), false, false, false},
        {"nothing, but a vendor signature", Announced(0, ""), true, false, true},
        {"negative size, malformed MD5", Announced(-1, "xyz"), false, false, false},
    };
    for (const auto& c : cases) {
        bool takes = !c.takes, checks = !c.checksWholeFile;
        PackageServices services;
        services.download = [&](const std::wstring&, const std::wstring&, IDownloadOwner* owner) {
            takes = owner->TakesBodyWithoutLength();
            checks = owner->ChecksWholeFile();
            owner->OnDownloadFinished(false);
        };
        services.remove = [](const std::wstring&) {};
        services.checksSignature = c.signature;
        PackageWorker worker(services, [](WorkerEvent) { return true; });
        worker.Start(Offer(L"u", L"p", c.manifest));
        worker.Join();
        EXPECT_EQ(takes, c.takes) << c.what;
        EXPECT_EQ(checks, c.checksWholeFile) << c.what;
    }
}

// A close returns at once wherever the worker is after the download: while
// it waits for the window to show the end, or in the middle of checking a
// package (here a check that runs until the test lets it go, after the
// close); nothing starts after it.
TEST(PackageWorker, ACloseWaitsForNoCheckAndNothingStartsAfterIt)
{
    for (const bool duringTheCheck : {false, true}) {
        SCOPED_TRACE(duringTheCheck ? "during the check" : "before the window showed the end");
        FakeSystem fake;
        fake.body = std::string(5000, 'p');
        std::atomic<bool> checking{false}, released{false}, started{false};
        PackageServices services = fake.Services();
        services.launch = [&](const OfferedUpdate&, const ReceivedPackage&, LaunchGate& gate) {
            checking = true;
            const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
            while (!released && std::chrono::steady_clock::now() < until)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            started = gate.StartUnlessCancelled([] { return true; });
            return started.load();
        };
        PackageWorker worker(services, fake.Post());
        fake.worker = duringTheCheck ? &worker : nullptr;
        worker.Start(Offer(L"u", L"p", UpdateManifest()));
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!(duringTheCheck ? checking.load() : worker.AwaitsConfirmation()) &&
               std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        const auto before = std::chrono::steady_clock::now();
        worker.Cancel();
        EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(5));
        released = true;
        worker.Join();
        EXPECT_EQ(checking.load(), duringTheCheck);
        EXPECT_FALSE(started.load());
        EXPECT_FALSE(worker.Launched());
        // The check removes what it refused; before it, the worker does.
        EXPECT_EQ(fake.removed.size(), duringTheCheck ? 0u : 1u);
        EXPECT_EQ(fake.Count(WorkerEvent::Finished), 1u);
    }
}

// A window that cannot be told (its queue is full) does not hold the start.
TEST(PackageWorker, AWindowThatCannotBeToldDoesNotHoldTheStart)
{
    FakeSystem fake;
    fake.body = "package";
    PackageWorker worker(fake.Services(), [](WorkerEvent) { return false; });
    worker.Start(Offer(L"u", L"p", UpdateManifest()));
    worker.Join();
    EXPECT_TRUE(worker.Launched());
}

// An exception would end the process: it ends the work as a failed
// download instead, with nothing started and no file left.
TEST(PackageWorker, AnExceptionEndsTheWorkAsAFailedDownload)
{
    for (const bool inTheCheck : {false, true}) {
        FakeSystem fake;
        fake.body = "package";
        PackageServices services = fake.Services();
        if (inTheCheck) {
            services.launch = [](const OfferedUpdate&, const ReceivedPackage&, LaunchGate&) -> bool {
                throw std::bad_alloc();
            };
        } else {
            services.download = [](const std::wstring&, const std::wstring&, IDownloadOwner*) {
                throw std::bad_alloc();
            };
        }
        PackageWorker worker(services, fake.Post());
        fake.worker = &worker;
        worker.Start(Offer(L"u", L"p", UpdateManifest()));
        worker.Join();
        EXPECT_FALSE(worker.Launched()) << inTheCheck;
        EXPECT_EQ(fake.removed.size(), 1u) << inTheCheck;
        ASSERT_FALSE(fake.events.empty());
        EXPECT_EQ(fake.events.back(), WorkerEvent::Finished) << inTheCheck;
        EXPECT_TRUE(worker.HasFinished());
    }
}

} // namespace
