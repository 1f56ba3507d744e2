// Drives the real programs from outside and times them.
//
//   bench_driver startup ROUNDS SECONDS QUILLANE BARE FLOOR
//       rounds of the three programs, each started up to its visible window and ended: the
//       bare window, then quillane.exe and its floor next to each other, each first in turn.
//       Prints the medians and the median ratios per round.
//   bench_driver session PAIRS SECONDS UPDATES QUILLANE PROBE FLOOR
//       one running quillane.exe: its resources at start, pairs of a reload and one load's
//       platform calls made in the window of the running set-up floor FLOOR, its resources
//       again, then UPDATES updates up to their information dialog.
//   bench_driver sweep ROUNDS SECONDS QUILLANE FOLDER
//       both users' wallpapers at three sizes, written into FOLDER and removed after: per
//       size the reload, its pictures step, one full repaint, and the memory of a copy
//       started with them, beside two floors of the same pictures (the files read whole, and
//       loaded at full size and stretched once to the preview). Prints how each figure grows
//       from the smallest size to the largest and how they meet the goals.
//
// The first two add rounds (pairs) past the first ROUNDS (PAIRS) until the 95 % interval of
// the goal's ratio lies within 5 % of its median, or until SECONDS have passed; the sweep
// counts ROUNDS rounds unless SECONDS pass first (three at least). Rounds before them warm up
// and are not counted.
//
// A reload is timed as its button's click notification (WM_COMMAND, BN_CLICKED) sent to the
// window, and so is the floor's load in the session: the notification is counted on both
// sides. The sweep's reloads are timed less the round trip of a message to the window with
// nothing behind it, as their floors run here.
//
// Lines starting with "#" are name=value figures for the bench script.

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "LoadFloor.h"
#include "Probe.h"
#include "Resources.h"
#include "Timing.h"
#include "Unit1/Form1Layout.h"
#include "Wallpapers.h"

namespace {

namespace L = Form1Layout;

constexpr int WarmUpRounds = 2, WarmUpPairs = 10;
constexpr DWORD SettleMs = 100;
// The display draws a full repaint some tens of milliseconds after the window has sent it,
// and whatever the program does next waits for that: a reload right after three repaints
// took 18 ms instead of 4. Each repaint, and the reload after them, gets this long first.
constexpr DWORD DisplayRestMs = 100;
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

// The load a click runs, without the click: the notification the button sends its window.
double Reload(HWND window, int button = L::BtnReload)
{
    const Stopwatch clock;
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, button)));
    return clock.Ms();
}

// A message to the window and back with nothing behind it: what a reload sent from here pays
// on top of the load, once the program is awake (the first message after a pause also waits
// for it to be scheduled).
double RoundTrip(HWND form)
{
    const Stopwatch clock;
    SendMessageA(form, WM_NULL, 0, 0);
    return clock.Ms();
}

// Returns once the window has painted what was left invalid: the paint is sent to it and
// waited for, and a message behind it waits out a paint that had begun already.
void Settle(HWND form)
{
    RedrawWindow(form, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    SendMessageA(form, WM_NULL, 0, 0);
}

// The whole window and its children painted once, waited for.
double Repaint(HWND form)
{
    const Stopwatch clock;
    RedrawWindow(form, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    return clock.Ms();
}

// A load timed from a quiet start: the display has had time to take the last paint, and
// the first message wakes the window's process up, as the floors here run awake; the second
// is the round trip the load pays, handed back in `roundTrip`.
double QuietReload(HWND window, double& roundTrip, int button = L::BtnReload)
{
    Sleep(10);
    RoundTrip(window);
    roundTrip = RoundTrip(window);
    return Reload(window, button);  // returns when the load is done
}

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

struct Memory {
    double workingSetKb, privateKb;
};

// The working set, and the private bytes as the process's memory counters give them
// (PagefileUsage): Wine 8 leaves PrivateUsage at 0, and a walk of the committed private
// regions misses the bitmaps' pixels, which Wine keeps outside the regions it reports.
Memory MemoryOf(HANDLE process)
{
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(process, &memory, sizeof memory);
    return {memory.WorkingSetSize / 1024.0, memory.PagefileUsage / 1024.0};
}

struct Resources {
    long handles, gdi;
    double workingSetKb, privateKb;
};

Resources Measure(const Process& process, const std::string& probe)
{
    const Memory memory = MemoryOf(process.info.hProcess);
    return {HandleCount(process.info.dwProcessId), GdiObjects(process.info.hProcess, probe),
            memory.workingSetKb, memory.privateKb};
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
    std::printf("private bytes %.0f KB\n", r.privateKb);
}

// Where the set-up floor leaves the phases of each load it is sent.
class FloorPhases {
public:
    FloorPhases()
        : mapping_(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                      sizeof(LoadPhases), FloorPhasesName)),
          view_(mapping_ ? MapViewOfFile(mapping_, FILE_MAP_READ, 0, 0, sizeof(LoadPhases)) : nullptr)
    {
    }
    ~FloorPhases()
    {
        if (view_)
            UnmapViewOfFile(view_);
        if (mapping_)
            CloseHandle(mapping_);
    }
    FloorPhases(const FloorPhases&) = delete;
    FloorPhases& operator=(const FloorPhases&) = delete;

    LoadPhases Last() const { return view_ ? *static_cast<const LoadPhases*>(view_) : LoadPhases(); }

private:
    HANDLE mapping_;
    void* view_;
};

int SessionBench(int least, double seconds, int updates, const std::string& path,
                 const std::string& probe, const std::string& floorPath)
{
    Process process(path);
    const HWND form = process.WaitForWindow("TForm1", "Quillane");
    if (!form) {
        std::printf("no window of %s\n", path.c_str());
        return 1;
    }
    // The floor's loads run in the set-up floor's window, sent the same notification from
    // here: both loads pay a message to another process and back, and the wake-up of this
    // one after it, which a round trip measured apart does not match (the reply after a
    // load came 0.04 ms later than after an empty message).
    const FloorPhases floorPhases;
    Process floorProcess(floorPath);
    const HWND floorWindow = floorProcess.WaitForWindow("BenchFloor", "Set-up floor");
    if (!floorWindow) {
        std::printf("no window of %s\n", floorPath.c_str());
        return 1;
    }
    Sleep(1000);  // painted and idle
    // The probe's first visit leaves traces of its own (a thread was made there); measure
    // from the second one on.
    Measure(process, probe);
    const Resources before = Measure(process, probe);

    // A reload and the floor's load make a pair, each of the two first in turn, so that both
    // see the same machine; each is followed by its repaint.
    std::vector<double> reloadMs, roundTripMs, floorRoundTripMs, floorMs, registry, styles,
        pictures, controls;
    const Rounds rounds(least, seconds);
    Estimate goal;
    int done = 0;
    const double pairsFrom = Started.Ms() / 1000;
    for (int pair = -WarmUpPairs; rounds.More(int(floorMs.size()), goal); ++pair) {
        double reloaded = 0, floorLoaded = 0, roundTrip = 0, floorRoundTrip = 0;
        for (int k = 0; k < 2; ++k) {
            if ((k == 0) == (pair % 2 == 0)) {
                reloaded = QuietReload(form, roundTrip);
                ++done;
            } else {
                floorLoaded = QuietReload(floorWindow, floorRoundTrip, FloorReloadId);
            }
            Sleep(10);  // let it repaint, as between a user's clicks
        }
        const LoadPhases phases = floorPhases.Last();
        if (pair < 0)
            continue;
        reloadMs.push_back(reloaded);
        roundTripMs.push_back(roundTrip);
        floorRoundTripMs.push_back(floorRoundTrip);
        floorMs.push_back(floorLoaded);
        registry.push_back(phases.registry);
        styles.push_back(phases.styles);
        pictures.push_back(phases.pictures);
        controls.push_back(phases.controls);
        std::vector<double> ratios;
        for (std::size_t i = 0; i < reloadMs.size(); ++i)
            ratios.push_back(reloadMs[i] / floorMs[i]);
        goal = MedianInterval(ratios);
    }
    const double pairsTo = Started.Ms() / 1000;
    const double roundTrip = Median(roundTripMs);

    // What a click costs without a load, for comparison: a check box clicked twice from here.
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
    PostMessageA(floorWindow, WM_CLOSE, 0, 0);

    std::printf("reload (BtnReload's click notification sent from here), %zu pairs after %d not "
                "counted: median %.1f ms, p95 %.1f ms\n",
                reloadMs.size(), WarmUpPairs, Median(reloadMs), Percentile(reloadMs, 0.95));
    std::printf("one load's platform calls made directly in the set-up floor's window, sent the "
                "same notification, as often: median %.1f ms, p95 %.1f ms\n",
                Median(floorMs), Percentile(floorMs, 0.95));
    std::printf("  of which (median ms, timed in the floor) registry %.1f, style files %.1f, "
                "pictures %.1f, controls %.1f\n",
                Median(registry), Median(styles), Median(pictures), Median(controls));
    std::printf("  reload / platform calls, median of the pairs: %.3f (95 %% interval %.3f-%.3f)\n",
                goal.median, goal.low, goal.high);
    std::printf("  counted on both sides: a message's round trip to the window, median %.2f ms "
                "to the program, %.2f ms to the floor; a click with no load behind it (a check "
                "box's BM_CLICK from here), median %.2f ms\n",
                roundTrip, Median(floorRoundTripMs), Median(clickMs));
    std::printf("update (BtnUpdate) up to its dialog, %d updates: median %.1f ms\n", updates,
                Median(updateMs));
    std::printf("quillane.exe's resources, at start and after its %d reloads:\n", done);
    PrintResources("at start     ", before);
    PrintResources("after reloads", after);
    std::printf("#reload_median=%.1f\n#reload_p95=%.1f\n#update_median=%.1f\n#round_trip=%.2f\n",
                Median(reloadMs), Percentile(reloadMs, 0.95), Median(updateMs), roundTrip);
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
    PrintEstimate("reload_ratio", goal, reloadMs.size(), rounds);
    std::printf("#pairs_from=%.1f\n#pairs_to=%.1f\n", pairsFrom, pairsTo);
    return 0;
}

// The wallpaper values of both users, set for the sweep and put back after it.
class WallpaperValues {
public:
    WallpaperValues()
    {
        for (int user = 0; user < 2; ++user)
            saved_[user] = Read(user);
    }
    ~WallpaperValues() { Set(saved_[0], saved_[1]); }
    WallpaperValues(const WallpaperValues&) = delete;
    WallpaperValues& operator=(const WallpaperValues&) = delete;

    void Set(const std::string& current, const std::string& logon) const
    {
        Write(0, current);
        Write(1, logon);
    }

private:
    static HKEY Root(int user) { return user == 0 ? HKEY_CURRENT_USER : HKEY_USERS; }
    static constexpr const char* Keys[2] = {"Control Panel\\Desktop",
                                            ".DEFAULT\\Control Panel\\Desktop"};

    static std::string Read(int user)
    {
        char value[MAX_PATH * 2] = {};
        DWORD size = sizeof value - 1;
        HKEY key = nullptr;
        if (RegOpenKeyExA(Root(user), Keys[user], 0, KEY_READ, &key) == ERROR_SUCCESS) {
            RegQueryValueExA(key, "Wallpaper", nullptr, nullptr, reinterpret_cast<BYTE*>(value),
                             &size);
            RegCloseKey(key);
        }
        return value;
    }
    static void Write(int user, const std::string& value)
    {
        HKEY key = nullptr;
        if (RegOpenKeyExA(Root(user), Keys[user], 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
            return;
        RegSetValueExA(key, "Wallpaper", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       DWORD(value.size() + 1));
        RegCloseKey(key);
    }

    std::string saved_[2];
};

struct SweepSize {
    SweepSize(int w, int h) : width(w), height(h) {}
    int width, height;
    std::vector<std::string> files;  // the current user's, then the default user's
    std::vector<double> reload, pictures, repaint, read, stretch;
    Memory memory{};
    std::string Name() const { return std::to_string(width) + "x" + std::to_string(height); }
};

// A copy started with one size's pictures, reloaded twice and left to paint: its memory.
bool MemoryAt(const std::string& path, SweepSize& size)
{
    Process process(path);
    const HWND form = process.WaitForWindow("TForm1", "Quillane");
    if (!form)
        return false;
    for (int i = 0; i < 2; ++i) {
        Reload(form);
        Settle(form);
    }
    Sleep(500);
    size.memory = MemoryOf(process.info.hProcess);
    PostMessageA(form, WM_CLOSE, 0, 0);
    return true;
}

// "met" or "missed", after the figures.
const char* Verdict(bool met)
{
    return met ? "met" : "missed";
}

int SweepBench(int least, double seconds, const std::string& path, const std::string& folder)
{
    const WallpaperValues wallpapers;
    SweepSize sizes[3] = {{320, 240}, {1920, 1200}, {4000, 3000}};
    // The demo's two blends, one per user, each file with a grain of its own.
    const COLORREF blends[2][2] = {{RGB(0x4a, 0x90, 0xd9), RGB(0x0b, 0x2a, 0x5b)},
                                   {RGB(0xc8, 0xe6, 0xa0), RGB(0x2f, 0x6b, 0x2f)}};
    const char* const users[2] = {"current", "logon"};
    unsigned seed = 1;
    for (SweepSize& size : sizes)
        for (int user = 0; user < 2; ++user) {
            size.files.push_back(folder + "\\sweep-" + size.Name() + "-" + users[user] + ".bmp");
            if (!WriteWallpaper(size.files.back(), size.width, size.height, blends[user][0],
                                blends[user][1], seed++)) {
                std::printf("cannot write %s\n", size.files.back().c_str());
                return 1;
            }
        }
    const auto remove = [&] {
        for (const SweepSize& size : sizes)
            for (const std::string& file : size.files)
                DeleteFileA(file.c_str());
    };

    wallpapers.Set(sizes[0].files[0], sizes[0].files[1]);
    double roundTrip = 0;
    int counted = 0;
    {
        Process process(path);
        const HWND form = process.WaitForWindow("TForm1", "Quillane");
        if (!form) {
            std::printf("no window of %s\n", path.c_str());
            remove();
            return 1;
        }
        Sleep(1000);  // painted and idle
        ReadFloor read;
        StretchFloor stretch;
        std::vector<double> roundTrips;
        const Stopwatch clock;
        // A round visits every size, in an order that turns from round to round, and a
        // profile without wallpapers, whose reload the pictures steps are taken against; the
        // floors come before the program's reloads in one round and after them in the next.
        for (int round = -1; round < least && (round < 3 || clock.Ms() < 1000 * seconds);
             ++round) {
            double reloadMs[3], noneMs = 0;
            const auto program = [&] {
                for (int k = 0; k < 3; ++k) {
                    SweepSize& size = sizes[(k + round + 3) % 3];
                    wallpapers.Set(size.files[0], size.files[1]);
                    Reload(form);  // from another size's pictures to this one's
                    Settle(form);
                    reloadMs[&size - sizes] = QuietReload(form, roundTrips.emplace_back());
                    Settle(form);
                    for (int i = 0; i < 3; ++i) {
                        Sleep(DisplayRestMs);
                        RoundTrip(form);  // the program awake, as for a reload
                        const double painted = Repaint(form);
                        if (round >= 0)
                            size.repaint.push_back(painted);
                    }
                    Sleep(DisplayRestMs);
                }
                wallpapers.Set("", "");
                Reload(form);
                Settle(form);
                noneMs = QuietReload(form, roundTrips.emplace_back());
                Settle(form);
            };
            const auto floors = [&] {
                for (SweepSize& size : sizes) {
                    const double readMs = read.Run(size.files);
                    const double stretchMs = stretch.Run(size.files);
                    if (round >= 0) {
                        size.read.push_back(readMs);
                        size.stretch.push_back(stretchMs);
                    }
                }
            };
            if (round % 2) {
                floors();
                program();
            } else {
                program();
                floors();
            }
            if (round < 0)
                continue;
            ++counted;
            for (int k = 0; k < 3; ++k) {
                sizes[k].reload.push_back(reloadMs[k]);
                sizes[k].pictures.push_back(reloadMs[k] - noneMs);
            }
        }
        roundTrip = Median(roundTrips);
        wallpapers.Set(sizes[0].files[0], sizes[0].files[1]);
        Reload(form);
        Settle(form);
        PostMessageA(form, WM_CLOSE, 0, 0);
    }
    for (SweepSize& size : sizes) {
        wallpapers.Set(size.files[0], size.files[1]);
        if (!MemoryAt(path, size)) {
            std::printf("no window of %s\n", path.c_str());
            remove();
            return 1;
        }
    }
    remove();

    std::printf("size sweep, both users' wallpapers photo-like 24-bit BMP, %d rounds after 1 not "
                "counted (medians; reloads less a %.2f ms round trip):\n", counted, roundTrip);
    const auto reload = [&](const SweepSize& size) { return Median(size.reload) - roundTrip; };
    for (const SweepSize& size : sizes)
        std::printf("  %9s: reload %.1f ms (its pictures %.1f ms), one repaint %.1f ms, "
                    "working set %.1f MB, private %.1f MB; floors: the files read %.1f ms, "
                    "loaded and stretched %.1f ms\n",
                    size.Name().c_str(), reload(size), Median(size.pictures), Median(size.repaint),
                    size.memory.workingSetKb / 1024, size.memory.privateKb / 1024,
                    Median(size.read), Median(size.stretch));
    const SweepSize &small = sizes[0], &large = sizes[2];
    const auto growth = [](double from, double to) { return from > 0 ? to / from : 0; };
    std::printf("  growth %s to %s: reload x%.1f, its pictures x%.1f, repaint x%.2f, working set "
                "x%.2f, private x%.2f; the files read x%.1f, loaded and stretched x%.1f\n",
                small.Name().c_str(), large.Name().c_str(), growth(reload(small), reload(large)),
                growth(Median(small.pictures), Median(large.pictures)),
                growth(Median(small.repaint), Median(large.repaint)),
                growth(small.memory.workingSetKb, large.memory.workingSetKb),
                growth(small.memory.privateKb, large.memory.privateKb),
                growth(Median(small.read), Median(large.read)),
                growth(Median(small.stretch), Median(large.stretch)));

    const double wsGrowth = (large.memory.workingSetKb - small.memory.workingSetKb) / 1024;
    double fastest = Median(small.repaint), slowest = fastest;
    for (const SweepSize& size : sizes) {
        fastest = std::min(fastest, Median(size.repaint));
        slowest = std::max(slowest, Median(size.repaint));
    }
    const double repaintSpread = growth(fastest, slowest);
    const double picturesToRead = growth(Median(large.read), Median(large.pictures));
    const bool picturesMet = picturesToRead <= 2;
    const double reloadToStretch = growth(Median(large.stretch), reload(large));
    std::printf("goal: working set at %s within 2 MB of that at %s: %.1f MB against %.1f MB, "
                "%+.1f MB: %s\n", large.Name().c_str(), small.Name().c_str(),
                large.memory.workingSetKb / 1024, small.memory.workingSetKb / 1024, wsGrowth,
                Verdict(std::abs(wsGrowth) <= 2));
    std::printf("goal: one repaint the same at all sizes (medians within 10 %%): %.1f, %.1f, "
                "%.1f ms, slowest x%.2f the fastest: %s\n", Median(sizes[0].repaint),
                Median(sizes[1].repaint), Median(sizes[2].repaint), repaintSpread,
                Verdict(repaintSpread <= 1.10));
    std::printf("goal: the reload's pictures at %s at most 2x the files read: %.1f ms against "
                "%.1f ms, x%.2f: %s\n", large.Name().c_str(), Median(large.pictures),
                Median(large.read), picturesToRead, Verdict(picturesMet));
    std::printf("goal: the whole reload at %s at most half of loading and stretching: %.1f ms "
                "against %.1f ms, x%.2f: %s\n", large.Name().c_str(), reload(large),
                Median(large.stretch), reloadToStretch, Verdict(reloadToStretch <= 0.5));
    std::printf("#sweep_ws_mb=%+.1f\n#sweep_ws=%s\n#sweep_repaint=%.2f\n#sweep_repaint_goal=%s\n"
                "#sweep_pictures=%.2f\n#sweep_pictures_goal=%s\n#sweep_reload=%.2f\n"
                "#sweep_reload_goal=%s\n#sweep_rounds=%d\n",
                wsGrowth, Verdict(std::abs(wsGrowth) <= 2), repaintSpread,
                Verdict(repaintSpread <= 1.10),
                picturesToRead, Verdict(picturesMet), reloadToStretch,
                Verdict(reloadToStretch <= 0.5), counted);
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
    if (mode == "session" && argc == 8)
        return SessionBench(std::atoi(argv[2]), std::atof(argv[3]), std::atoi(argv[4]), argv[5],
                            argv[6], argv[7]);
    if (mode == "sweep" && argc == 6)
        return SweepBench(std::atoi(argv[2]), std::atof(argv[3]), argv[4], argv[5]);
    std::printf("usage: bench_driver startup ROUNDS SECONDS QUILLANE BARE FLOOR\n"
                "       bench_driver session PAIRS SECONDS UPDATES QUILLANE PROBE FLOOR\n"
                "       bench_driver sweep ROUNDS SECONDS QUILLANE FOLDER\n");
    return 2;
}
