#include "FuncEtc.h"

#include <windows.h>

#include <ddeml.h>

#include <utility>
#include <vector>

#include "Assert.h"
#include "FuncReg.h"
#include "platform/Dde.h"
#include "text/DdeText.h"

// The version text of the program's own file, from its version block.
//
//
// The assertions below report their line numbers: keep them on lines 30 and 32.
std::string GetFileVersionText()
{
    char program[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    const std::string path = program;
    DWORD scratch = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &scratch);
    std::vector<char> block(size);
    UINT length = 0;
    void* found = nullptr;
    constexpr char query[] = "\\StringFileInfo\\041103A4\\FileVersion";
    QUILLANE_ASSERT(GetFileVersionInfoA(path.c_str(), 0, size, block.data()));

    QUILLANE_ASSERT(VerQueryValueA(block.data(), query, &found, &length));
    return std::string(static_cast<const char*>(found));
}

namespace {

// A client conversation with a DDE server. Names, start line and command pass through
// 256-byte areas: a text that does not fit is never cut into another, the step fails.
class TDdeClientConv {
public:
    TDdeClientConv(DWORD instance, std::string serviceApplication)
        : instance_(instance), serviceApplication_(std::move(serviceApplication))
    {
    }
    ~TDdeClientConv() { Disconnect(); }
    TDdeClientConv(const TDdeClientConv&) = delete;
    TDdeClientConv& operator=(const TDdeClientConv&) = delete;

    bool Connect(const std::string& service, const std::string& topic)
    {
        Disconnect();
        service_ = service;
        topic_ = topic;
        const bool ok = OpenConversation();
        if (!ok)
            service_.clear(), topic_.clear();
        return ok;
    }

    // One asynchronous execute carrying the command and its terminating zero.
    bool ExecuteCommand(const std::string& command)
    {
        DdeBuffer buffer;
        if (!CopyToBuffer(command, buffer))
            return false;
        const HDDEDATA data =
            DdeCreateDataHandle(instance_, reinterpret_cast<BYTE*>(buffer.data()),
                                command.size() + 1, 0, nullptr, format_, 0);
        if (!data)
            return false;
        DWORD result = 0;
        return DdeClientTransaction(reinterpret_cast<BYTE*>(data), 0xFFFFFFFF, conversation_,
                                    nullptr, format_, XTYP_EXECUTE, TIMEOUT_ASYNC, &result) != 0;
    }

    void Disconnect()
    {
        if (conversation_)
            DdeDisconnect(std::exchange(conversation_, nullptr));
        for (HSZ* handle : {&serviceHandle_, &topicHandle_})
            if (*handle)
                DdeFreeStringHandle(instance_, std::exchange(*handle, nullptr));
        service_.clear();
        topic_.clear();
    }

private:
    bool OpenConversation()
    {
        DdeBuffer service, topic;
        if (!CopyToBuffer(service_, service) || !CopyToBuffer(topic_, topic))
            return false;
        if (!serviceHandle_)
            serviceHandle_ = DdeCreateStringHandleA(instance_, service.data(), CP_WINANSI);
        if (!topicHandle_)
            topicHandle_ = DdeCreateStringHandleA(instance_, topic.data(), CP_WINANSI);
        bool ok = TryConnect();
        if (!ok && (!service_.empty() || !serviceApplication_.empty())) {
            DdeBuffer line;
            const std::string startLine =
                !serviceApplication_.empty() ? serviceApplication_ : service_ + " " + topic_;
            if (CopyToBuffer(startLine, line) && WinExec(line.data(), SW_SHOWMINNOACTIVE) >= 32)
                ok = TryConnect();
        }
        if (!ok)
            return false;
        format_ = info_.wFmt ? info_.wFmt : CF_TEXT;
        return true;
    }

    bool TryConnect()
    {
        CONVCONTEXT context{};
        context.cb = sizeof context;
        context.iCodePage = CP_WINANSI;
        conversation_ = DdeConnect(instance_, serviceHandle_, topicHandle_, &context);
        if (conversation_) {
            info_ = {};
            info_.cb = sizeof info_;
            DdeQueryConvInfo(conversation_, QID_SYNC, &info_);
        }
        return conversation_ != nullptr;
    }

    DWORD instance_;
    std::string serviceApplication_;
    std::string service_, topic_;
    HSZ serviceHandle_ = nullptr, topicHandle_ = nullptr;
    HCONV conversation_ = nullptr;
    CONVINFO info_{};
    UINT format_ = CF_TEXT;
};

}  // namespace

void OpenWebSite(TDdeMgr& dde)
{
    const std::string commandLine = RegReadString(HKEY_CLASSES_ROOT, "\\http\\shell\\open\\command", "");
    const std::string service =
        RegReadString(HKEY_CLASSES_ROOT, "\\http\\shell\\open\\ddeexec\\Application", "");
    // A browser that names no DDE service gets the address on its start line instead.
    TDdeClientConv conversation(
        dde.Instance(),
        service.empty() ? ReplaceFirstPlaceholder(commandLine, SiteUrl).value_or(commandLine)
                        : commandLine);
    if (!conversation.Connect(service, "WWW_OpenURL"))
        return;
    conversation.ExecuteCommand(ExecuteCommandText(
        RegReadString(HKEY_CLASSES_ROOT, "\\http\\shell\\open\\ddeexec", ""), SiteUrl));
    conversation.Disconnect();
}
