// Drives the real programs from outside and times them.
//
//   bench_driver startup ROUNDS SECONDS QUILLANE BARE FLOOR
//       rounds of the three programs, each started up to its visible window and ended: the
//       bare window, then quillane.exe and its floor next to each other, each first in turn.
//       Prints the medians and the median ratios per round.
//   bench_driver session PAIRS SECONDS UPDATES QUILLANE PROBE
//       one running quillane.exe: its resources at start, pairs of a reload and one load's
//       platform calls made here directly, its resources again, then UPDATES updates up to
//       their information dialog.
//
// Both add rounds (pairs) past the first ROUNDS (PAIRS) until the 95 % interval of the goal's
// ratio lies within 5 % of its median, or until SECONDS have passed; rounds before them warm
// up and are not counted.
//
// Lines starting with "#" are name=value figures for the bench script.

#include <windows.h>

#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "LoadFloor.h"
#include "Probe.h"
#include "Resources.h"
#include "Timing.h"
#include "Unit1/Form1Layout.h"

namespace {

constexpr int WarmUpRounds = 2, WarmUpPairs = 10;
constexpr DWORD SettleMs = 100;
const Stopwatch Started;  // the pairs' times from here let the script tell the load during them

struct Process {
    PROCESS_INFORMATION info{};

    explicit Process(const std::string& path)
    {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        std::string line = "\"" + path + "\"";
        if (!CreateProcessA(path.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            nullptr, &startup, &info))
            std::printf("cannot start %s: error %lu\n", path.c_str(), GetLastError());
    }
    ~Process()
    {
        if (!info.hProcess)
            return;
        if (WaitForSingleObject(info.hProcess, 10000) != WAIT_OBJECT_0)
            TerminateProcess(info.hProcess, 99);
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    // The program's visible top-level window of that class and caption, polled for.
    HWND WaitForWindow(const char* className, const char* caption, DWORD milliseconds = 30000) const
    {
        const Stopwatch waited;
        while (info.hProcess && waited.Ms() < milliseconds) {
            for (HWND w = FindWindowExA(nullptr, nullptr, className, caption); w;
                 w = FindWindowExA(nullptr, w, className, caption)) {
                DWORD owner = 0;
                GetWindowThreadProcessId(w, &owner);
                if (owner == info.dwProcessId && IsWindowVisible(w))
                    return w;
            }
            Sleep(1);
        }
        return nullptr;
    }
};

struct Program {
    std::string path;
    const char* className;
    const char* caption;
};

// Milliseconds from the start to a visible window; the window is closed and the process
// waited for. Negative when no window came.
double StartUp(const Program& program)
{
    double ms = -1;
    {
        const Stopwatch clock;
        Process process(program.path);
        if (const HWND window = process.WaitForWindow(program.className, program.caption)) {
            ms = clock.Ms();
            // Closed, a window of Wine's stays up some 2 s waiting for a window manager
            // that is not there; ended, the next round can start at once.
            TerminateProcess(process.info.hProcess, 0);
        }
    }
    // A process that Windows reports ended is still being taken down by Wine and the X server.
    Sleep(SettleMs);
    return ms;
}

// Rounds are added until the goal's interval lies within 5 % of its median, or the time is up.
class Rounds {
public:
    Rounds(int least, double seconds) : least_(least), seconds_(seconds) {}
    bool More(int counted, const Estimate& goal) const
    {
        if (counted < 3)
            return true;
        if (clock_.Ms() >= 1000 * seconds_)
            return false;
        return counted < least_ || !Narrow(goal);
    }
    static bool Narrow(const Estimate& goal) { return goal.HalfWidth() <= 0.05; }
    const char* Why(const Estimate& goal) const
    {
        return Narrow(goal) ? "narrow" : "cap";
    }

private:
    int least_;
    double seconds_;
    Stopwatch clock_;
};

void PrintEstimate(const char* name, const Estimate& e, std::size_t count, const Rounds& rounds)
{
    std::printf("#%s=%.3f\n#%s_low=%.3f\n#%s_high=%.3f\n#%s_count=%zu\n#%s_stop=%s\n", name,
                e.median, name, e.low, name, e.high, name, count, name, rounds.Why(e));
}

int StartUpBench(int least, double seconds, const Program (&programs)[3])
{
    std::vector<double> times[3], quillaneToBare, floorToBare, quillaneToFloor;
    const Rounds rounds(least, seconds);
    Estimate goal;
    // The first rounds bring the files into memory and Wine's services up: not counted.
    for (int round = -WarmUpRounds; rounds.More(int(quillaneToFloor.size()), goal); ++round) {
        // The bare window first, then the program and its floor next to each other, each of
        // the two first in turn.
        const int order[3] = {1, round % 2 ? 2 : 0, round % 2 ? 0 : 2};
        double ms[3];
        for (const int which : order) {
            ms[which] = StartUp(programs[which]);
            if (ms[which] < 0) {
                std::printf("no window of %s\n", programs[which].path.c_str());
                return 1;
            }
        }
        if (round < 0)
            continue;
        for (int k = 0; k < 3; ++k)
            times[k].push_back(ms[k]);
        quillaneToBare.push_back(ms[0] / ms[1]);
        floorToBare.push_back(ms[2] / ms[1]);
        quillaneToFloor.push_back(ms[0] / ms[2]);
        goal = MedianInterval(quillaneToFloor);
    }
    const std::size_t counted = quillaneToFloor.size();
    std::printf("start-up to a visible window, %zu rounds after %d not counted (median ms): "
                "quillane.exe %.0f, bare window %.0f, set-up floor %.0f\n",
                counted, WarmUpRounds, Median(times[0]), Median(times[1]), Median(times[2]));
    std::printf("  median ratios per round: quillane/bare %.2f, floor/bare %.2f, quillane/floor "
                "%.3f (95 %% interval %.3f-%.3f)\n",
                Median(quillaneToBare), Median(floorToBare), goal.median, goal.low, goal.high);
    std::printf("#start_quillane=%.1f\n#start_bare=%.1f\n#start_floor=%.1f\n#ratio_bare=%.2f\n"
                "#ratio_floor_bare=%.2f\n",
                Median(times[0]), Median(times[1]), Median(times[2]), Median(quillaneToBare),
                Median(floorToBare));
    PrintEstimate("ratio_floor", goal, counted, rounds);
    return 0;
}

// The probe's count of the process's GDI objects; negative when it could not run.
long GdiObjects(HANDLE process, const std::string& probe)
{
    const HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                              sizeof(ProbeResult), ProbeMappingName);
    auto* result = static_cast<ProbeResult*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0));
    *result = {};
    void* remote = VirtualAllocEx(process, nullptr, probe.size() + 1, MEM_COMMIT, PAGE_READWRITE);
    WriteProcessMemory(process, remote, probe.c_str(), probe.size() + 1, nullptr);
    // kernel32 lies at the same address in every process of the session.
    const auto load = reinterpret_cast<LPTHREAD_START_ROUTINE>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "LoadLibraryA")));
    if (const HANDLE thread = CreateRemoteThread(process, nullptr, 0, load, remote, 0, nullptr)) {
        WaitForSingleObject(thread, 10000);
        CloseHandle(thread);
    }
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    const long count = result->done ? long(result->gdiObjects) : -1;
    UnmapViewOfFile(result);
    CloseHandle(mapping);
    return count;
}

// Committed private memory, walked region by region from outside.
double PrivateKb(HANDLE process)
{
    MEMORY_BASIC_INFORMATION region;
    SIZE_T total = 0;
    for (const char* at = nullptr;
         VirtualQueryEx(process, at, &region, sizeof region) == sizeof region;
         at = static_cast<const char*>(region.BaseAddress) + region.RegionSize)
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            total += region.RegionSize;
    return total / 1024.0;
}

struct Resources {
    long handles, gdi;
    double workingSetKb, privateKb;
};

Resources Measure(const Process& process, const std::string& probe)
{
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(process.info.hProcess, &memory, sizeof memory);
    return {HandleCount(process.info.dwProcessId), GdiObjects(process.info.hProcess, probe),
            memory.WorkingSetSize / 1024.0, PrivateKb(process.info.hProcess)};
}

void PrintResources(const char* when, const Resources& r)
{
    std::printf("  %s: %ld handles, ", when, r.handles);
    if (r.gdi < 0)
        std::printf("GDI objects not measurable, ");
    else
        std::printf("%ld GDI objects, ", r.gdi);
    if (r.workingSetKb > 0)
        std::printf("working set %.0f KB, ", r.workingSetKb);
    else
        std::printf("working set not reported by Wine, ");
    std::printf("private committed %.0f KB\n", r.privateKb);
}

int SessionBench(int least, double seconds, int updates, const std::string& path,
                 const std::string& probe)
{
    namespace L = Form1Layout;
    Process process(path);
    const HWND form = process.WaitForWindow("TForm1", "Quillane");
    if (!form) {
        std::printf("no window of %s\n", path.c_str());
        return 1;
    }
    Sleep(1000);  // painted and idle
    // The probe's first visit leaves traces of its own (a thread was made there); measure
    // from the second one on.
    Measure(process, probe);
    const Resources before = Measure(process, probe);

    // A reload and the floor's load make a pair, each of the two first in turn, so that both
    // see the same machine; each is followed by its repaint.
    const HWND reload = GetDlgItem(form, L::BtnReload);
    LoadFloor floor;
    std::vector<double> reloadMs, floorMs, ratios, registry, styles, pictures, controls;
    const Rounds rounds(least, seconds);
    Estimate goal;
    int done = 0;
    const double pairsFrom = Started.Ms() / 1000;
    for (int pair = -WarmUpPairs; rounds.More(int(ratios.size()), goal); ++pair) {
        double reloaded = 0;
        LoadPhases phases;
        for (int k = 0; k < 2; ++k) {
            if ((k == 0) == (pair % 2 == 0)) {
                const Stopwatch clock;
                SendMessageA(reload, BM_CLICK, 0, 0);  // returns when the load is done
                reloaded = clock.Ms();
                ++done;
                Sleep(10);  // let it repaint, as between a user's clicks
            } else {
                phases = floor.Run();
                LoadFloor::Pump();
                Sleep(10);
            }
        }
        if (pair < 0)
            continue;
        reloadMs.push_back(reloaded);
        floorMs.push_back(phases.total);
        ratios.push_back(reloaded / phases.total);
        registry.push_back(phases.registry);
        styles.push_back(phases.styles);
        pictures.push_back(phases.pictures);
        controls.push_back(phases.controls);
        goal = MedianInterval(ratios);
    }
    const double pairsTo = Started.Ms() / 1000;

    // What a click costs without a load: a check box clicked twice from here.
    const HWND check = GetDlgItem(GetDlgItem(form, L::GroupBoxSetting), L::CheckColor);
    std::vector<double> clickMs;
    for (int i = 0; i < 2 * 50; ++i) {
        const Stopwatch clock;
        SendMessageA(check, BM_CLICK, 0, 0);
        clickMs.push_back(clock.Ms());
    }
    Sleep(500);
    const Resources after = Measure(process, probe);

    const HWND update = GetDlgItem(form, L::BtnUpdate);
    std::vector<double> updateMs;
    for (int i = 0; i < updates; ++i) {
        const Stopwatch clock;
        PostMessageA(update, BM_CLICK, 0, 0);
        const HWND dialog = process.WaitForWindow(nullptr, "情報", 10000);
        if (!dialog) {
            std::printf("no information dialog after an update\n");
            return 1;
        }
        updateMs.push_back(clock.Ms());
        PostMessageA(dialog, WM_CLOSE, 0, 0);
        for (int wait = 0; wait < 1000 && IsWindow(dialog); ++wait)
            Sleep(5);
        Sleep(50);
    }
    PostMessageA(form, WM_CLOSE, 0, 0);

    std::printf("reload (BtnReload), %zu pairs after %d not counted: median %.1f ms, p95 %.1f ms\n",
                ratios.size(), WarmUpPairs, Median(reloadMs), Percentile(reloadMs, 0.95));
    std::printf("one load's platform calls made directly, as often: median %.1f ms, p95 %.1f ms\n",
                Median(floorMs), Percentile(floorMs, 0.95));
    std::printf("  of which (median ms) registry %.1f, style files %.1f, pictures %.1f, controls %.1f\n",
                Median(registry), Median(styles), Median(pictures), Median(controls));
    std::printf("  reload / platform calls, median of the pairs: %.3f (95 %% interval %.3f-%.3f)\n",
                goal.median, goal.low, goal.high);
    std::printf("  a click with no load behind it (a check box's BM_CLICK from here): median %.2f ms\n",
                Median(clickMs));
    std::printf("update (BtnUpdate) up to its dialog, %d updates: median %.1f ms\n", updates,
                Median(updateMs));
    std::printf("quillane.exe's resources, at start and after its %d reloads:\n", done);
    PrintResources("at start     ", before);
    PrintResources("after reloads", after);
    std::printf("#reload_median=%.1f\n#reload_p95=%.1f\n#update_median=%.1f\n", Median(reloadMs),
                Percentile(reloadMs, 0.95), Median(updateMs));
    std::printf("#floor_median=%.1f\n#floor_p95=%.1f\n#reloads_done=%d\n#floor_registry=%.1f\n"
                "#floor_styles=%.1f\n#floor_pictures=%.1f\n#floor_controls=%.1f\n#click=%.2f\n",
                Median(floorMs), Percentile(floorMs, 0.95), done, Median(registry),
                Median(styles), Median(pictures), Median(controls), Median(clickMs));
    std::printf("#growth_handles=%ld\n#growth_gdi=%s\n#growth_private_kb=%.0f\n",
                after.handles - before.handles,
                before.gdi < 0 || after.gdi < 0 ? "n/a" : std::to_string(after.gdi - before.gdi).c_str(),
                after.privateKb - before.privateKb);
    if (before.workingSetKb > 0 && after.workingSetKb > 0)
        std::printf("#growth_ws_kb=%.0f\n", after.workingSetKb - before.workingSetKb);
    PrintEstimate("reload_ratio", goal, ratios.size(), rounds);
    std::printf("#pairs_from=%.1f\n#pairs_to=%.1f\n", pairsFrom, pairsTo);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "startup" && argc == 7) {
        const Program programs[3] = {{argv[4], "TForm1", "Quillane"},
                                     {argv[5], "BenchBare", "Bare window"},
                                     {argv[6], "BenchFloor", "Set-up floor"}};
        return StartUpBench(std::atoi(argv[2]), std::atof(argv[3]), programs);
    }
    if (mode == "session" && argc == 7)
        return SessionBench(std::atoi(argv[2]), std::atof(argv[3]), std::atoi(argv[4]), argv[5],
                            argv[6]);
    std::printf("usage: bench_driver startup ROUNDS SECONDS QUILLANE BARE FLOOR\n"
                "       bench_driver session PAIRS SECONDS UPDATES QUILLANE PROBE\n");
    return 2;
}
