// Entry module: one running copy per program file name, then the main window until it closes.

#include <windows.h>

#include <optional>

#include "Dialogs.h"
#include "Unit1/Form1.h"
#include "common/FuncEtc.h"
#include "platform/Atom.h"
#include "platform/Dde.h"
#include "platform/Text.h"

namespace {

std::string ProgramFileName()
{
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return FileNamePart(path);
}

// The mark is a global atom named after the program's file name: it outlives a copy that
// does not end normally, and a copy under another name has a mark of its own.
int Run(HINSTANCE instance, TDdeMgr& dde)
{
    // Finding the mark takes no reference, so nothing owns it until this copy decides to run:
    // a copy that hands over to the running one can leave nothing to drop.
    const ATOM found = GlobalFindAtomA(ProgramFileName().c_str());
    if (found) {
        if (const HWND running = FindWindowA(nullptr, ApplicationTitle)) {
            SendMessageA(running, WM_SYSCOMMAND, SC_RESTORE, 0);
            SetForegroundWindow(running);
            return 0;
        }
    }
    // A mark left behind without a window is taken over and dropped at exit, as our own is.
    const GlobalAtom held(found ? found : GlobalAddAtomA(ProgramFileName().c_str()));
    if (!held) {
        MessageDialog("起動できません", TMsgDlgType::mtError, TMsgDlgButtons::mbOK);
        return 0;
    }

    TForm1 form(instance, dde);
    form.Show();
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (!form.PreTranslateMessage(message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    std::optional<TDdeMgr> dde;
    try {
        dde.emplace();
    } catch (const std::exception& error) {
        ReportStartupError(error, reinterpret_cast<const void*>(&WinMain));
        return 1;
    }
    return Run(instance, *dde);
}
