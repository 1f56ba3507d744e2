// The web-site link against Wine's DDEML, with the stand-in browser (dde_peer.exe) as the
// server the registry names and as the program it starts. The peer writes down what it
// sees; the tests compare that record line for line.

#include <windows.h>

#include <ddeml.h>

#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "FuncReg.h"
#include "Program.h"
#include "Registry.h"
#include "common/FuncEtc.h"
#include "platform/Dde.h"

namespace {

using Lines = std::vector<std::string>;

constexpr char CommandKey[] = "\\http\\shell\\open\\command";
constexpr char TemplateKey[] = "\\http\\shell\\open\\ddeexec";
constexpr char ServiceKey[] = "\\http\\shell\\open\\ddeexec\\Application";
// The peer's own file name: a start line made of the service name finds it beside us.
constexpr char Service[] = "dde_peer";
constexpr char Url[] = "http://tollemark.example/";

class WebSiteTest : public testing::Test {
protected:
    WebSiteTest()
    {
        SetEnvironmentVariableA("QUILLANE_PEER_LOG", log_.c_str());
        DeleteFileA(log_.c_str());
        ResetEvent(quit_);
    }

    ~WebSiteTest() override
    {
        SetEvent(quit_);
        WaitForPeers();
        CloseHandle(quit_);
    }

    // The http handler as the registry describes it; an empty text leaves the value out.
    static void Handler(const std::string& commandLine, const std::string& service,
                        const std::string& templateText)
    {
        const auto list = [](const std::string& text) {
            return text.empty() ? ValueList{} : ValueList{{"", text}};
        };
        WriteList(HKEY_CLASSES_ROOT, CommandKey, list(commandLine));
        WriteList(HKEY_CLASSES_ROOT, TemplateKey, list(templateText));
        WriteList(HKEY_CLASSES_ROOT, ServiceKey, list(service));
    }

    static std::string Peer(const std::string& arguments)
    {
        return "\"" + BesideTests("dde_peer.exe") + "\" " + arguments;
    }

    // Starts a peer serving the service and waits until it has registered. A conversation
    // closed by hand then measures what Wine's DDEML itself keeps of the names.
    void StartServer(const std::string& arguments)
    {
        server_.emplace(BesideTests("dde_peer.exe"), arguments);
        const auto ready = [this] {
            const Lines lines = Raw();
            return !lines.empty() && lines.back() == "ready";
        };
        for (int i = 0; i < 100 && !ready(); ++i)
            Sleep(100);
        ASSERT_TRUE(ready());

        const DWORD instance = dde_.Instance();
        const HSZ service = DdeCreateStringHandleA(instance, Service, CP_WINANSI);
        const HSZ topic = DdeCreateStringHandleA(instance, "WWW_OpenURL", CP_WINANSI);
        const HCONV conversation = DdeConnect(instance, service, topic, nullptr);
        if (conversation)
            DdeDisconnect(conversation);
        DdeFreeStringHandle(instance, service);
        DdeFreeStringHandle(instance, topic);
        residue_ = {Held(Service), Held("WWW_OpenURL")};
        DeleteFileA(log_.c_str());
    }

    // Everything the peers recorded, once every peer has ended; process ids left out.
    Lines Record()
    {
        SetEvent(quit_);
        WaitForPeers();
        Lines lines = Raw();
        for (std::string& line : lines)
            if (line.starts_with("start "))
                line.erase(6, line.find(' ', 6) - 5);
        return lines;
    }

    // Calls the link as the banner does and checks that it released its string handles: none
    // of the names is held, beyond what a conversation closed by hand leaves with DDEML.
    void Open(bool converses = false, const std::string& service = Service)
    {
        OpenWebSite(dde_);
        ExpectReleased(converses, service);
    }

    void ExpectReleased(bool conversed, const std::string& service = Service)
    {
        EXPECT_EQ(Held(service), conversed ? residue_.first : 0) << "service handle released";
        EXPECT_EQ(Held("WWW_OpenURL"), conversed ? residue_.second : 0) << "topic handle released";
    }

    // The references this process's DDE instance holds on a name, released as they are
    // counted.
    int Held(const std::string& name) const
    {
        const DWORD instance = dde_.Instance();
        const HSZ handle = DdeCreateStringHandleA(instance, name.c_str(), CP_WINANSI);
        int count = 0;
        while (count < 100 && DdeFreeStringHandle(instance, handle))
            ++count;
        return count - 1;
    }

    TDdeMgr dde_;

private:
    Lines Raw() const
    {
        Lines lines;
        std::ifstream in(log_);
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }

    void WaitForPeers() const
    {
        for (const std::string& line : Raw()) {
            if (!line.starts_with("start "))
                continue;
            const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, std::stoul(line.substr(6)));
            if (process) {
                WaitForSingleObject(process, 10000);
                CloseHandle(process);
            }
        }
    }

    std::optional<Program> server_;
    std::pair<int, int> residue_;  // references DDEML keeps of the service and the topic
    SavedKey saved_[3]{{HKEY_CLASSES_ROOT, CommandKey},
                       {HKEY_CLASSES_ROOT, TemplateKey},
                       {HKEY_CLASSES_ROOT, ServiceKey}};
    const std::string log_ = BesideTests("dde_peer.log");
    const HANDLE quit_ = CreateEventA(nullptr, TRUE, FALSE, "QuillaneDdePeerQuit");
};

}  // namespace

TEST_F(WebSiteTest, HeldNamesAreCounted)
{
    DdeCreateStringHandleA(dde_.Instance(), Service, CP_WINANSI);
    DdeCreateStringHandleA(dde_.Instance(), Service, CP_WINANSI);
    EXPECT_EQ(Held(Service), 2);
    EXPECT_EQ(Held(Service), 0);
}

// A running server gets one conversation per click, carrying the command built from the
// template; the browser's start line is never used.
TEST_F(WebSiteTest, TheCommandIsBuiltFromTheTemplate)
{
    StartServer("--serve dde_peer");
    const std::string url = Url;
    const std::string fits(255 - url.size(), 'x'), tooLong(256 - url.size(), 'x');
    const std::vector<std::pair<std::string, std::string>> cases{
        {"%1", url},
        {"[open(\"%1\",-1)]", "[open(\"" + url + "\",-1)]"},
        {"%1 %1", url + " %1"},
        {"open", ""},
        {"", ""},
        {"%1" + fits, url + fits},
    };
    Lines expected;
    for (const auto& [templateText, command] : cases) {
        Handler(Peer("\"%1\""), Service, templateText);
        Open(true);
        expected.insert(expected.end(),
                        {"connect WWW_OpenURL", "execute " + command + "\\0", "disconnect"});
    }
    // A command of 256 bytes is not cut short: nothing is sent on the conversation.
    Handler(Peer("\"%1\""), Service, "%1" + tooLong);
    Open(true);
    expected.insert(expected.end(), {"connect WWW_OpenURL", "disconnect"});
    EXPECT_EQ(Record(), expected);
}

// The conversation is closed and its handles released when reading the template fails.
TEST_F(WebSiteTest, AnErrorAfterConnectingClosesTheConversation)
{
    StartServer("--serve dde_peer");
    Handler("", Service, "");
    const DWORD number = 1;
    SetRaw(HKEY_CLASSES_ROOT, TemplateKey, "", REG_DWORD,
           {reinterpret_cast<const char*>(&number), sizeof number});
    EXPECT_THROW(OpenWebSite(dde_), ERegistryException);
    ExpectReleased(true);
    EXPECT_EQ(Record(), (Lines{"connect WWW_OpenURL", "disconnect"}));
}

// With no server, the browser is started minimised and unactivated with its start line as
// read, "%1" included, and the second connect reaches it.
TEST_F(WebSiteTest, TheBrowserIsStartedWhenNoServerAnswers)
{
    const std::string line = Peer("--serve dde_peer \"%1\"");
    Handler(line, Service, "%1");
    OpenWebSite(dde_);
    EXPECT_EQ(Record(), (Lines{"start 7 " + line, "ready", "connect WWW_OpenURL",
                               std::string("execute ") + Url + "\\0", "disconnect"}));
}

// One connect, a start, one more connect; and only one connect when the start fails.
TEST_F(WebSiteTest, AFailedStartLeavesOneConnect)
{
    StartServer("--serve dde_peer --refuse");
    Handler(Peer("--from-registry"), Service, "%1");
    Open();
    Handler("\"C:\\no such folder\\browser.exe\"", Service, "%1");
    Open();
    EXPECT_EQ(Record(), (Lines{"connect WWW_OpenURL", "start 7 " + Peer("--from-registry"),
                             "connect WWW_OpenURL", "connect WWW_OpenURL"}));
}

// Without a command line the start line is the service name, a space and the topic.
TEST_F(WebSiteTest, WithoutACommandLineTheServiceIsStarted)
{
    Handler("", Service, "%1");
    Open();
    EXPECT_EQ(Record(), (Lines{"start 7 dde_peer WWW_OpenURL"}));
}

// A browser that names no DDE service gets the address in place of the first "%1" of its
// start line; a line without "%1" is started as it is; with nothing registered, nothing is.
TEST_F(WebSiteTest, ABrowserWithoutDdeGetsTheAddressOnItsStartLine)
{
    Handler(Peer("\"%1\" %1"), "", "%1");
    Open();
    Handler(Peer("--home"), "", "%1");
    Open();
    Handler("", "", "");
    Open();
    EXPECT_EQ(Record(), (Lines{"start 7 " + Peer(std::string("\"") + Url + "\" %1"),
                               "start 7 " + Peer("--home")}));
}

// Names and start lines pass through 256-byte areas: one byte too many and nothing of them
// reaches DDEML or the loader, where 255 bytes still do.
TEST_F(WebSiteTest, OverLongNamesAndStartLinesAreNotCut)
{
    const std::string fits(255, 'q'), tooLong(256, 'q');
    Handler(Peer("--long-service"), fits, "%1");
    Open(false, fits);
    Handler(Peer("--too-long-service"), tooLong, "%1");
    Open();

    const std::string start = Peer("--");
    const std::string line = start + std::string(255 - start.size(), 'x');
    Handler(line, "", "%1");
    Open();
    Handler(line + "x", "", "%1");
    Open();
    EXPECT_EQ(Record(), (Lines{"start 7 " + Peer("--long-service"), "start 7 " + line}));
}
