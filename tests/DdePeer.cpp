// A stand-in web browser for the link tests. Every start appends a line to the file that
// QUILLANE_PEER_LOG names: "start", its process id, its show mode ("-" when none was given)
// and its command line as it arrived. With "--serve NAME" it is also a DDE server of that
// service, recording each connect with its topic, each execute with its bytes (a zero byte
// written as \0) and each disconnect; with "--refuse" as well it records the connects and
// refuses them. A server ends when the event "QuillaneDdePeerQuit" is set, or after 30 s.

#include <windows.h>

#include <ddeml.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

DWORD instance = 0;
bool refuse = false;

void Record(const std::string& line)
{
    char path[MAX_PATH] = {};
    if (!GetEnvironmentVariableA("QUILLANE_PEER_LOG", path, MAX_PATH))
        return;
    const HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    const std::string text = line + "\n";
    DWORD written = 0;
    WriteFile(file, text.data(), DWORD(text.size()), &written, nullptr);
    CloseHandle(file);
}

std::string NameOf(HSZ handle)
{
    char name[256] = {};
    DdeQueryStringA(instance, handle, name, sizeof name, CP_WINANSI);
    return name;
}

std::string BytesOf(HDDEDATA data)
{
    std::string bytes(DdeGetData(data, nullptr, 0, 0), '\0');
    DdeGetData(data, reinterpret_cast<BYTE*>(bytes.data()), DWORD(bytes.size()), 0);
    std::string text;
    for (char c : bytes)
        text += c ? std::string(1, c) : "\\0";
    return text;
}

HDDEDATA CALLBACK Serve(UINT type, UINT, HCONV, HSZ topic, HSZ, HDDEDATA data, ULONG_PTR,
                        ULONG_PTR)
{
    switch (type) {
    case XTYP_CONNECT:
        Record("connect " + NameOf(topic));
        return reinterpret_cast<HDDEDATA>(!refuse);
    case XTYP_EXECUTE:
        Record("execute " + BytesOf(data));
        return reinterpret_cast<HDDEDATA>(DDE_FACK);
    case XTYP_DISCONNECT:
        Record("disconnect");
        return nullptr;
    default:
        return nullptr;
    }
}

void RunServer(const char* service)
{
    if (DdeInitializeA(&instance, Serve, APPCLASS_STANDARD, 0) !=
        DMLERR_NO_ERROR)
        return;
    const HSZ name = DdeCreateStringHandleA(instance, service, CP_WINANSI);
    const HANDLE quit = CreateEventA(nullptr, TRUE, FALSE, "QuillaneDdePeerQuit");
    if (DdeNameService(instance, name, nullptr, DNS_REGISTER)) {
        Record("ready");
        const DWORD deadline = GetTickCount() + 30000;
        for (DWORD now = GetTickCount(); now < deadline; now = GetTickCount()) {
            if (MsgWaitForMultipleObjects(1, &quit, FALSE, deadline - now, QS_ALLINPUT) !=
                WAIT_OBJECT_0 + 1)
                break;
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageA(&message);
        }
        DdeNameService(instance, name, nullptr, DNS_UNREGISTER);
    }
    CloseHandle(quit);
    DdeFreeStringHandle(instance, name);
    DdeUninitialize(instance);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    const std::string show = startup.dwFlags & STARTF_USESHOWWINDOW
                                 ? std::to_string(startup.wShowWindow) : std::string("-");
    Record("start " + std::to_string(GetCurrentProcessId()) + " " + show + " " +
           GetCommandLineA());

    const char* service = nullptr;
    for (int i = 1; i < __argc; ++i) {
        if (!std::strcmp(__argv[i], "--serve") && i + 1 < __argc)
            service = __argv[++i];
        else if (!std::strcmp(__argv[i], "--refuse"))
            refuse = true;
    }
    if (service)
        RunServer(service);
    return 0;
}
