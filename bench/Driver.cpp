// Drives the real programs from outside and times them.
//
//   bench_driver startup ROUNDS QUILLANE BARE FLOOR
//       starts the three programs in turn, ROUNDS times with a rotating order, each up to its
//       visible window, then closes it; prints the medians and the median ratios per round.
//   bench_driver session RELOADS UPDATES QUILLANE PROBE
//       one running quillane.exe: its resources at start, RELOADS reloads, each followed by
//       one load's platform calls made here directly, its resources again, then UPDATES
//       updates up to their information dialog.
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
    const Stopwatch clock;
    Process process(program.path);
    const HWND window = process.WaitForWindow(program.className, program.caption);
    const double ms = clock.Ms();
    if (!window)
        return -1;
    PostMessageA(window, WM_CLOSE, 0, 0);
    return ms;
}

int StartUpBench(int rounds, const Program (&programs)[3])
{
    std::vector<double> times[3], quillaneToBare, floorToBare, quillaneToFloor;
    for (int round = 0; round < rounds; ++round) {
        double ms[3];
        for (int k = 0; k < 3; ++k) {
            const int which = (round + k) % 3;
            ms[which] = StartUp(programs[which]);
            if (ms[which] < 0) {
                std::printf("no window of %s\n", programs[which].path.c_str());
                return 1;
            }
            times[which].push_back(ms[which]);
        }
        quillaneToBare.push_back(ms[0] / ms[1]);
        floorToBare.push_back(ms[2] / ms[1]);
        quillaneToFloor.push_back(ms[0] / ms[2]);
    }
    std::printf("start-up to a visible window, %d rounds (median ms): quillane.exe %.0f, bare "
                "window %.0f, set-up floor %.0f\n",
                rounds, Median(times[0]), Median(times[1]), Median(times[2]));
    std::printf("  median ratios per round: quillane/bare %.2f, floor/bare %.2f, quillane/floor %.2f\n",
                Median(quillaneToBare), Median(floorToBare), Median(quillaneToFloor));
    std::printf("#start_quillane=%.1f\n#start_bare=%.1f\n#start_floor=%.1f\n#ratio_bare=%.2f\n"
                "#ratio_floor_bare=%.2f\n#ratio_floor=%.2f\n",
                Median(times[0]), Median(times[1]), Median(times[2]), Median(quillaneToBare),
                Median(floorToBare), Median(quillaneToFloor));
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

int SessionBench(int reloads, int updates, const std::string& path, const std::string& probe)
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

    // Reloads and the floor's loads alternate, so that both see the same machine.
    const HWND reload = GetDlgItem(form, L::BtnReload);
    LoadFloor floor;
    std::vector<double> reloadMs, floorMs, ratios, registry, styles, pictures, controls;
    for (int i = 0; i < reloads; ++i) {
        const Stopwatch clock;
        SendMessageA(reload, BM_CLICK, 0, 0);  // returns when the load is done
        reloadMs.push_back(clock.Ms());
        Sleep(10);  // let it repaint, as between a user's clicks
        const LoadPhases phases = floor.Run();
        LoadFloor::Pump();
        floorMs.push_back(phases.total);
        ratios.push_back(reloadMs.back() / phases.total);
        registry.push_back(phases.registry);
        styles.push_back(phases.styles);
        pictures.push_back(phases.pictures);
        controls.push_back(phases.controls);
    }
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

    std::printf("reload (BtnReload), %d reloads: median %.1f ms, p95 %.1f ms\n", reloads,
                Median(reloadMs), Percentile(reloadMs, 0.95));
    std::printf("one load's platform calls made directly, as often: median %.1f ms, p95 %.1f ms\n",
                Median(floorMs), Percentile(floorMs, 0.95));
    std::printf("  of which (median ms) registry %.1f, style files %.1f, pictures %.1f, controls %.1f\n",
                Median(registry), Median(styles), Median(pictures), Median(controls));
    std::printf("  reload / platform calls, median of the pairs: %.2f\n", Median(ratios));
    std::printf("  a click with no load behind it (a check box's BM_CLICK from here): median %.2f ms\n",
                Median(clickMs));
    std::printf("update (BtnUpdate) up to its dialog, %d updates: median %.1f ms\n", updates,
                Median(updateMs));
    std::printf("quillane.exe's resources, at start and after the reloads:\n");
    PrintResources("at start     ", before);
    PrintResources("after reloads", after);
    std::printf("#reload_median=%.1f\n#reload_p95=%.1f\n#update_median=%.1f\n", Median(reloadMs),
                Percentile(reloadMs, 0.95), Median(updateMs));
    std::printf("#floor_median=%.1f\n#floor_p95=%.1f\n#reload_ratio=%.2f\n#floor_registry=%.1f\n"
                "#floor_styles=%.1f\n#floor_pictures=%.1f\n#floor_controls=%.1f\n#click=%.2f\n",
                Median(floorMs), Percentile(floorMs, 0.95), Median(ratios), Median(registry),
                Median(styles), Median(pictures), Median(controls), Median(clickMs));
    std::printf("#growth_handles=%ld\n#growth_gdi=%s\n#growth_private_kb=%.0f\n",
                after.handles - before.handles,
                before.gdi < 0 || after.gdi < 0 ? "n/a" : std::to_string(after.gdi - before.gdi).c_str(),
                after.privateKb - before.privateKb);
    if (before.workingSetKb > 0 && after.workingSetKb > 0)
        std::printf("#growth_ws_kb=%.0f\n", after.workingSetKb - before.workingSetKb);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "startup" && argc == 6) {
        const Program programs[3] = {{argv[3], "TForm1", "Quillane"},
                                     {argv[4], "BenchBare", "Bare window"},
                                     {argv[5], "BenchFloor", "Set-up floor"}};
        return StartUpBench(std::atoi(argv[2]), programs);
    }
    if (mode == "session" && argc == 6)
        return SessionBench(std::atoi(argv[2]), std::atoi(argv[3]), argv[4], argv[5]);
    std::printf("usage: bench_driver startup ROUNDS QUILLANE BARE FLOOR\n"
                "       bench_driver session RELOADS UPDATES QUILLANE PROBE\n");
    return 2;
}
