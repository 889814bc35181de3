#include "playback/browser_host_win32.h"

#include <exdispid.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "win/ole_session_win32.h"
#include "tests/support/message_pump_win32.h"
#include "tests/support/scratch_files_win32.h"
#include "tests/support/unix_side_win32.h"

namespace {
ULONG ReferencesOf(IUnknown* object) {
    object->AddRef();
    return object->Release();
}

RECT PlaceInHost(HWND host, HWND control) {
    RECT r;
    ::GetWindowRect(control, &r);
    ::MapWindowPoints(HWND_DESKTOP, host, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::string Text(const RECT& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

class BrowserHostTest : public ::testing::Test {
protected:
    OleSession ole;
};
}  // namespace

TEST_F(BrowserHostTest, IsABorderlessHiddenWindowOffScreen) {
    BrowserHost host;
    HWND hwnd = host.Handle();
    ASSERT_NE(hwnd, nullptr);
    EXPECT_FALSE(::IsWindowVisible(hwnd));
    const LONG style = ::GetWindowLongA(hwnd, GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_THICKFRAME | WS_BORDER), 0) << std::hex << style;
    RECT client;
    ::GetClientRect(hwnd, &client);
    EXPECT_EQ(client.right, 295);
    EXPECT_EQ(client.bottom, 62);
    RECT frame;
    ::GetWindowRect(hwnd, &frame);
    EXPECT_EQ(frame.left, -1000);
    EXPECT_EQ(frame.top, -1000);

    HWND foreground = ::GetForegroundWindow();
    host.Show();
    EXPECT_TRUE(::IsWindowVisible(hwnd));
    EXPECT_EQ(::GetForegroundWindow(), foreground) << "showing the host must not take the focus";
    host.Hide();
    EXPECT_FALSE(::IsWindowVisible(hwnd));
}

TEST_F(BrowserHostTest, BothControlsAreActiveInPlaceAtTheirPlaces) {
    BrowserHost host;
    struct Case {
        const char* name;
        EmbeddedBrowser& browser;
        RECT place;
    } cases[] = {
        {"first", host.FirstBrowser(), {0, 0, 113, 49}},
        {"second", host.SecondBrowser(), {160, 0, 281, 49}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(c.browser.Site().InPlaceActive());
        ComPtr<IOleInPlaceObject> inPlace = ComPtr<IWebBrowser2>::Share(c.browser.Control()).As<IOleInPlaceObject>();
        ASSERT_TRUE(inPlace);
        HWND control = nullptr;
        ASSERT_EQ(inPlace->GetWindow(&control), S_OK);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(::GetParent(control), host.Handle());
        const RECT actual = PlaceInHost(host.Handle(), control);
        EXPECT_TRUE(::EqualRect(&c.place, &actual)) << "expected " << Text(c.place) << ", got " << Text(actual);
    }
}

TEST_F(BrowserHostTest, NavigatesToEveryKindOfAddressWithoutComplaint) {
    BrowserHost host;
    const std::string pages = wine_support::MakeTempFolder("pages_") + "Pages\\";
    ASSERT_TRUE(::CreateDirectoryA(pages.c_str(), nullptr));
    ASSERT_TRUE(wine_support::WriteFileBytes(pages + "jazz.htm", "<html><body>jazz</body></html>"));
    ASSERT_TRUE(wine_support::WriteFileBytes(pages + "café.htm", "<html><body>café</body></html>"));
    // The control reports where it went as UTF-16: the tail of that location
    // shows the ANSI address was widened from code page 1252.
    struct Case {
        std::string address;
        std::wstring locationEnd;
    } cases[] = {
        {"about:blank", L"about:blank"},
        {"http://127.0.0.1:9/stream.mp3", L"http://127.0.0.1:9/stream.mp3"},
        {"www.radio.example/live", L"www.radio.example/live"},
        {"ftp://127.0.0.1:9/jingle.mp3", L"ftp://127.0.0.1:9/jingle.mp3"},
        {"\\\\server\\share\\page.htm", L"\\\\server\\share\\page.htm"},
        {"file:///" + pages + "jazz.htm", L"\\Pages\\jazz.htm"},
        {"file:///" + pages + "café.htm", L"\\Pages\\caf\u00e9.htm"},
        {"about:blank", L"about:blank"},
    };
    host.Show();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address);
        EXPECT_NO_THROW(host.FirstBrowser().Navigate(c.address));
        std::wstring location;
        wine_support::PumpUntil(
            [&] {
                BSTR text = nullptr;
                host.FirstBrowser().Control()->get_LocationURL(&text);
                location = text ? text : L"";
                ::SysFreeString(text);
                return location.ends_with(c.locationEnd);
            },
            2000);
        EXPECT_TRUE(location.ends_with(c.locationEnd)) << "location " << ::testing::PrintToString(location);
    }
    host.Hide();
    EXPECT_NO_THROW(host.SecondBrowser().Navigate("about:blank"));
}

TEST_F(BrowserHostTest, ReachesALoopbackWebServer) {
    const std::string folder = wine_support::MakeTempFolder("http_");
    ASSERT_TRUE(wine_support::WriteFileBytes(folder + "page.htm", "<html><body>radio</body></html>"));
    std::string log;
    const std::string port = wine_support::StartWebServer(folder, log);
    if (port.empty()) GTEST_SKIP() << "no loopback web server could start: " << log;

    bool reached = false;
    {
        BrowserHost host;
        host.Show();
        host.FirstBrowser().Navigate("http://127.0.0.1:" + port + "/page.htm");
        host.Hide();
        reached = wine_support::PumpUntil(
            [&] {
                wine_support::ReadFileBytes(folder + "server.log", log);
                return log.find("GET /page.htm") != std::string::npos;
            },
            5000);
    }
    EXPECT_TRUE(reached) << "the server saw no request for the page; its log:\n" << log;
}

TEST_F(BrowserHostTest, SinkCancelsNewWindowsOnlyAndLeavesOtherEventsAlone) {
    ComPtr<NewWindowBlocker> sink = NewWindowBlocker::Create();
    struct Case {
        DISPID id;
        UINT arguments;
        UINT cancelArgument;  // index in rgvarg: arguments arrive last first
        VARIANT_BOOL expected;
    } cases[] = {
        {DISPID_NEWWINDOW2, 2, 0, VARIANT_TRUE},
        {DISPID_NEWWINDOW3, 5, 3, VARIANT_TRUE},
        // BeforeNavigate2 also carries a cancel flag: our own navigations must go on.
        {DISPID_BEFORENAVIGATE2, 7, 0, VARIANT_FALSE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        VARIANT_BOOL cancel = VARIANT_FALSE;
        IDispatch* newWindow = nullptr;
        std::vector<VARIANT> arguments(c.arguments);
        for (VARIANT& v : arguments) {
            ::VariantInit(&v);
            V_VT(&v) = VT_BYREF | VT_DISPATCH;
            V_DISPATCHREF(&v) = &newWindow;
        }
        V_VT(&arguments[c.cancelArgument]) = VT_BYREF | VT_BOOL;
        V_BOOLREF(&arguments[c.cancelArgument]) = &cancel;
        DISPPARAMS params{arguments.data(), nullptr, c.arguments, 0};
        EXPECT_EQ(sink->Invoke(c.id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr,
                               nullptr),
                  S_OK);
        EXPECT_EQ(cancel, c.expected);
    }
    EXPECT_EQ(sink->Refused(), 2u);
}

TEST_F(BrowserHostTest, SinkAnswersTheBrowserEventsInterfaceAndNothingElse) {
    ComPtr<NewWindowBlocker> sink = NewWindowBlocker::Create();
    ComPtr<IUnknown> events;
    EXPECT_EQ(sink->QueryInterface(DIID_DWebBrowserEvents2, events.putVoid()), S_OK);
    EXPECT_EQ(sink->QueryInterface(__uuidof(IDispatch), events.putVoid()), S_OK);
    IUnknown* other = reinterpret_cast<IUnknown*>(0x55);
    EXPECT_EQ(sink->QueryInterface(__uuidof(IOleClientSite), reinterpret_cast<void**>(&other)), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
    events.reset();
    EXPECT_EQ(ReferencesOf(sink.get()), 1u);
}

TEST_F(BrowserHostTest, ConnectionHoldsTheSinkOnlyWhileItLives) {
    BrowserHost host;
    ComPtr<NewWindowBlocker> sink = NewWindowBlocker::Create();
    ASSERT_EQ(ReferencesOf(sink.get()), 1u);
    {
        EventConnection connection(host.FirstBrowser().Control(), DIID_DWebBrowserEvents2,
                                   static_cast<IDispatch*>(sink.get()));
        EXPECT_GT(ReferencesOf(sink.get()), 1u);
    }
    EXPECT_EQ(ReferencesOf(sink.get()), 1u);
}

TEST_F(BrowserHostTest, ClosingTheHostReleasesEverySiteAndSink) {
    const long sites = BrowserSite::LiveCount();
    const long sinks = NewWindowBlocker::LiveCount();
    {
        BrowserHost host;
        EXPECT_EQ(BrowserSite::LiveCount(), sites + 2);
        EXPECT_EQ(NewWindowBlocker::LiveCount(), sinks + 2);
        host.FirstBrowser().Navigate("about:blank");
        wine_support::PumpFor(100);
    }
    EXPECT_EQ(BrowserSite::LiveCount(), sites);
    EXPECT_EQ(NewWindowBlocker::LiveCount(), sinks);
}

TEST_F(BrowserHostTest, HostDestroyedByTheSystemClosesItsControlsFirst) {
    BrowserHost host;
    const long sites = BrowserSite::LiveCount();
    ASSERT_TRUE(::DestroyWindow(host.Handle()));
    EXPECT_EQ(BrowserSite::LiveCount(), sites - 2);
    EXPECT_THROW(host.FirstBrowser(), std::runtime_error);
}

TEST(BrowserHostWithoutOle, ReportsThatItCannotCreateItsControls) {
    try {
        BrowserHost host;
        FAIL() << "created without OLE";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find("navigateur"), std::string::npos) << error.what();
    }
    EXPECT_EQ(BrowserSite::LiveCount(), 0);
    EXPECT_EQ(::FindWindowA("SonorafluxBrowserHost", nullptr), nullptr) << "the half-made window is gone";
}
