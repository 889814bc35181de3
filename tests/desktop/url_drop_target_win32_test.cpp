#include "desktop/url_drop_target_win32.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "win/com_object_win32.h"
#include "win/ole_session_win32.h"
#include "tests/support/drop_data_double_win32.h"
#include "tests/support/modal_boxes_win32.h"
#include "tests/support/scratch_files_win32.h"
#include "win/handles_win32.h"

namespace {
std::string FileGroup(const std::string& name) {
    std::string data(sizeof(FILEGROUPDESCRIPTORA), '\0');
    auto* group = reinterpret_cast<FILEGROUPDESCRIPTORA*>(data.data());
    group->cItems = 1;
    std::strcpy(group->fgd[0].cFileName, name.c_str());
    return data;
}

std::string DroppedFiles(const std::string& path) {
    std::string data(sizeof(DROPFILES), '\0');
    reinterpret_cast<DROPFILES*>(data.data())->pFiles = sizeof(DROPFILES);
    data += path;
    data.append(2, '\0');
    return data;
}

std::string Text(const char* text) { return std::string(text) + '\0'; }

constexpr DWORD kAllEffects = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
constexpr POINTL kInside{150, 130};

class UrlDropTargetTest : public testing::Test {
protected:
    void SetUp() override {
        // A borderless window at (100, 100): client coordinates are the screen's minus 100.
        window_.reset(::CreateWindowExA(0, "STATIC", "cible", WS_POPUP, 100, 100, 300, 200, nullptr, nullptr,
                                        ::GetModuleHandleA(nullptr), nullptr));
        ASSERT_TRUE(window_) << "error " << ::GetLastError();
    }

    static HRESULT Enter(TUrlDropTarget& target, TestDataObject& data, DWORD keys, DWORD& effect) {
        return target.DropTarget()->DragEnter(&data, keys, kInside, &effect);
    }

    OleSession ole_;
    UniqueWindow window_;
};

struct EnterCase {
    const char* name;
    std::vector<Offer> offers;
    std::string shortcutFile;  // written to a temporary folder and offered as CF_HDROP
    std::string shortcutText;
    DWORD keys;
    DWORD offered;
    HRESULT result;
    DWORD effect;
    std::string url;
    std::string title;
};

TEST_F(UrlDropTargetTest, DragEnterReadsEachKindOfDrag) {
    const char* shortcut = "[InternetShortcut]\r\nURL=http://radio.example/jazz\r\n";
    const EnterCase cases[] = {
        {"link from a browser",
         {{Registered("UniformResourceLocator"), Text("http://radio.example/")},
          {Registered("FileGroupDescriptor"), FileGroup("Radio Example.url")}},
         "", "", 0, kAllEffects, S_OK, DROPEFFECT_COPY, "http://radio.example/", "Radio Example"},
        {"shortcut contents as a stream",
         {{Registered("FileGroupDescriptor"), FileGroup("Radio Jazz.url")},
          {Registered("FileContents"), shortcut, true}},
         "", "", 0, kAllEffects, S_OK, DROPEFFECT_COPY, "http://radio.example/jazz", "Radio Jazz"},
        {"bare host name", {{CF_TEXT, Text("radio.example")}}, "", "", 0, kAllEffects, DV_E_CLIPFORMAT,
         DROPEFFECT_NONE, "", ""},
        {"text with a scheme", {{CF_TEXT, Text("https://radio.example/")}}, "", "", 0, kAllEffects, S_OK,
         DROPEFFECT_COPY, "https://radio.example/", ""},
        {"no known format", {{Registered("Sonoraflux test"), Text("x")}}, "", "", 0, kAllEffects, S_OK,
         DROPEFFECT_NONE, "", ""},
        {"shortcut file", {}, "Radio Jazz.url", shortcut, 0, kAllEffects, S_OK, DROPEFFECT_COPY,
         "http://radio.example/jazz", "Radio Jazz"},
        {"shortcut without URL line", {}, "Vide.url",
         "[InternetShortcut]\r\nIconIndex=0\r\n[Autre]\r\nURL=http://x/\r\n", 0, kAllEffects, DV_E_CLIPFORMAT,
         DROPEFFECT_NONE, "", ""},
        {"ctrl+shift asks for a link", {{CF_TEXT, Text("http://a/")}}, "", "", MK_CONTROL | MK_SHIFT, kAllEffects,
         S_OK, DROPEFFECT_LINK, "http://a/", ""},
        {"no copy offered gives a link", {{CF_TEXT, Text("http://a/")}}, "", "", 0,
         DROPEFFECT_MOVE | DROPEFFECT_LINK, S_OK, DROPEFFECT_LINK, "http://a/", ""},
        {"move only is refused", {{CF_TEXT, Text("http://a/")}}, "", "", 0, DROPEFFECT_MOVE, S_OK, DROPEFFECT_NONE,
         "http://a/", ""},
    };
    const std::string folder = wine_support::MakeTempFolder("drop");
    TUrlDropTarget target;
    target.Register(window_.get());
    for (const EnterCase& c : cases) {
        std::vector<Offer> offers = c.offers;
        if (!c.shortcutFile.empty()) {
            ASSERT_TRUE(wine_support::WriteFileBytes(folder + c.shortcutFile, c.shortcutText)) << c.name;
            offers.push_back({CF_HDROP, DroppedFiles(folder + c.shortcutFile)});
        }
        auto data = TestDataObject::Create(std::move(offers));
        const long start = data->References();
        DWORD effect = c.offered;
        EXPECT_EQ(Enter(target, *data.get(), c.keys, effect), c.result) << c.name;
        EXPECT_EQ(effect, c.effect) << c.name;
        EXPECT_EQ(target.URL(), c.url) << c.name;
        EXPECT_EQ(target.Title(), c.title) << c.name;
        DWORD overEffect = c.offered;
        EXPECT_EQ(target.DropTarget()->DragOver(c.keys, kInside, &overEffect),
                  c.effect == DROPEFFECT_NONE ? DV_E_CLIPFORMAT : S_OK)
            << c.name;
        EXPECT_EQ(overEffect, c.effect) << c.name;
        EXPECT_EQ(target.DropTarget()->DragLeave(), S_OK) << c.name;
        EXPECT_EQ(target.URL(), "") << c.name;
        EXPECT_EQ(target.Title(), "") << c.name;
        EXPECT_EQ(data->References(), start) << c.name << ": the data object or a delivered storage is still held";
    }
}

// What the source says is its word only: neither a stream's byte counts nor
// a list of formats is trusted to be sane.
TEST_F(UrlDropTargetTest, UntrustedSourcesCannotOverrunOrHangTheDrag) {
    const std::string shortcut = "[InternetShortcut]\r\nURL=http://radio.example/jazz\r\n";
    TUrlDropTarget target;
    target.ShowImage = false;
    target.Register(window_.get());

    auto lying = TestDataObject::Create(std::vector<Offer>{
        {Registered("FileGroupDescriptor"), FileGroup("Radio Jazz.url")},
        {Registered("FileContents"), shortcut, true, 0x10000000}});
    const long lyingStart = lying->References();
    DWORD effect = kAllEffects;
    EXPECT_EQ(Enter(target, *lying.get(), 0, effect), S_OK);
    EXPECT_EQ(target.URL(), "http://radio.example/jazz") << "the stream's bytes are read, its count is not believed";
    EXPECT_EQ(target.Title(), "Radio Jazz");
    target.DropTarget()->DragLeave();
    EXPECT_EQ(lying->References(), lyingStart);

    auto endless = TestDataObject::Create(std::vector<Offer>{{CF_TEXT, Text("http://radio.example/")}});
    endless->endlessFormats = true;
    effect = kAllEffects;
    EXPECT_EQ(Enter(target, *endless.get(), 0, effect), S_OK);
    EXPECT_LT(endless->enumeratedEntries, 10000) << "the list of formats is walked without end";
    EXPECT_EQ(target.URL(), "http://radio.example/") << "past the walk the formats are asked for directly";
    target.DropTarget()->DragLeave();
}

TEST_F(UrlDropTargetTest, AsksForFormatsInPriorityOrderAndStopsWhenAllIsFound) {
    auto data = TestDataObject::Create(std::vector<Offer>{
        {Registered("UniformResourceLocator"), Text("http://radio.example/")},
        {Registered("FileGroupDescriptor"), FileGroup("Radio Example.URL")},
        {CF_TEXT, Text("http://other.example/")}});
    TUrlDropTarget target;
    target.ShowImage = false;
    target.Register(window_.get());
    DWORD effect = kAllEffects;
    ASSERT_EQ(Enter(target, *data.get(), 0, effect), S_OK);
    const std::vector<std::string> expected = {
        "EnumFormatEtc",
        "QueryGetData UniformResourceLocator",
        "GetData Netscape Bookmark",
        "GetData Netscape Image Format",
        "GetData UniformResourceLocator",
        "GetData FileGroupDescriptor",
    };
    EXPECT_EQ(data->log, expected) << "first call: " << (data->log.empty() ? "" : data->log.front());
    target.DropTarget()->DragLeave();
}

TEST_F(UrlDropTargetTest, DropHandsTheAddressToOnDropThenForgetsIt) {
    auto data = TestDataObject::Create(std::vector<Offer>{
        {Registered("UniformResourceLocator"), Text("http://radio.example/")},
        {Registered("FileGroupDescriptor"), FileGroup("Radio Example.url")}});
    const long start = data->References();
    TUrlDropTarget target;
    target.Register(window_.get());
    std::string seenUrl, seenTitle;
    POINT seenPoint{-1, -1};
    DWORD seenEffect = 0x55;
    TShiftState seenShift;
    int calls = 0;
    target.OnDrop = [&](TUrlDropTarget& sender, TShiftState shift, POINT point, DWORD& effect) {
        ++calls;
        seenUrl = sender.URL();
        seenTitle = sender.Title();
        seenPoint = point;
        seenEffect = effect;
        seenShift = shift;
    };
    DWORD effect = kAllEffects;
    ASSERT_EQ(Enter(target, *data.get(), 0, effect), S_OK);
    effect = kAllEffects;
    ASSERT_EQ(target.DropTarget()->DragOver(MK_CONTROL | MK_SHIFT, kInside, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_LINK));
    effect = kAllEffects;
    EXPECT_EQ(target.DropTarget()->Drop(data.get(), MK_CONTROL | MK_SHIFT, kInside, &effect), S_OK);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(seenUrl, "http://radio.example/");
    EXPECT_EQ(seenTitle, "Radio Example");
    EXPECT_EQ(seenPoint.x, 50);
    EXPECT_EQ(seenPoint.y, 30);
    EXPECT_EQ(seenEffect, static_cast<DWORD>(DROPEFFECT_LINK));
    EXPECT_TRUE(seenShift.control && seenShift.shift && !seenShift.alt);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_LINK));
    EXPECT_EQ(target.URL(), "");
    EXPECT_EQ(target.Title(), "");
    ASSERT_TRUE(data->performedEffect.has_value()) << "log ends with " << data->log.back();
    EXPECT_EQ(*data->performedEffect, static_cast<DWORD>(DROPEFFECT_LINK));
    EXPECT_EQ(data->References(), start);
}

TEST_F(UrlDropTargetTest, HandlerRefusingTheDropSetsNoPerformedEffect) {
    auto data = TestDataObject::Create(std::vector<Offer>{{CF_TEXT, Text("http://a/")}});
    TUrlDropTarget target;
    target.Register(window_.get());
    target.OnDrop = [](TUrlDropTarget&, TShiftState, POINT, DWORD& effect) { effect = DROPEFFECT_NONE; };
    DWORD effect = kAllEffects;
    ASSERT_EQ(Enter(target, *data.get(), 0, effect), S_OK);
    effect = kAllEffects;
    EXPECT_EQ(target.DropTarget()->Drop(data.get(), 0, kInside, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_FALSE(data->performedEffect.has_value()) << "effect " << data->performedEffect.value_or(0);
}

TEST_F(UrlDropTargetTest, FailingHandlerStillFinishesTheDrop) {
    wine_support::BoxScript closer{wine_support::BoxOwner::ThisThread(), "Sonoraflux"};
    auto data = TestDataObject::Create(std::vector<Offer>{{CF_TEXT, Text("http://a/")}});
    const long start = data->References();
    TUrlDropTarget target;
    target.Register(window_.get());
    target.OnDrop = [](TUrlDropTarget&, TShiftState, POINT, DWORD&) { throw std::runtime_error("Ooops ! essai"); };
    DWORD effect = kAllEffects;
    ASSERT_EQ(Enter(target, *data.get(), 0, effect), S_OK);
    effect = kAllEffects;
    EXPECT_EQ(target.DropTarget()->Drop(data.get(), 0, kInside, &effect), S_OK);
    EXPECT_EQ(target.URL(), "");
    EXPECT_EQ(data->References(), start);
    EXPECT_EQ(closer.Texts(), std::vector<std::string>{"Ooops ! essai."}) << "the failure is told";
}

TEST_F(UrlDropTargetTest, CallsOutsideADragAreRefused) {
    auto refused = TestDataObject::Create(std::vector<Offer>{{CF_TEXT, Text("radio.example")}});
    TUrlDropTarget target;
    target.Register(window_.get());
    bool fired = false;
    target.OnDrop = [&](TUrlDropTarget&, TShiftState, POINT, DWORD&) { fired = true; };

    DWORD effect = kAllEffects;
    EXPECT_EQ(target.DropTarget()->DragOver(0, kInside, &effect), E_UNEXPECTED) << "no drag has entered";
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));

    effect = kAllEffects;
    ASSERT_EQ(Enter(target, *refused.get(), 0, effect), DV_E_CLIPFORMAT);
    effect = kAllEffects;
    EXPECT_EQ(target.DropTarget()->Drop(refused.get(), 0, kInside, &effect), E_UNEXPECTED);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_FALSE(fired);
    EXPECT_FALSE(refused->performedEffect.has_value());
}

TEST_F(UrlDropTargetTest, RegistrationFollowsRegisterAndUnregister) {
    TUrlDropTarget probe;  // another drop target, only to try registering a window twice
    UniqueWindow second(::CreateWindowExA(0, "STATIC", "autre", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                          ::GetModuleHandleA(nullptr), nullptr));
    ASSERT_TRUE(second);
    auto registrationOf = [&](HWND window) {
        const HRESULT result = ::RegisterDragDrop(window, probe.DropTarget());
        if (SUCCEEDED(result)) ::RevokeDragDrop(window);
        return result;
    };
    {
        TUrlDropTarget target;
        target.Register(window_.get());
        target.Register(window_.get());
        EXPECT_EQ(registrationOf(window_.get()), DRAGDROP_E_ALREADYREGISTERED);

        target.Register(second.get());
        EXPECT_EQ(registrationOf(window_.get()), S_OK) << "only one window is registered at a time";
        EXPECT_EQ(registrationOf(second.get()), DRAGDROP_E_ALREADYREGISTERED);
        EXPECT_FALSE(target.IsRegistered(window_.get()));

        target.Unregister(second.get());
        EXPECT_EQ(registrationOf(second.get()), S_OK);

        target.Register(window_.get());
    }
    EXPECT_EQ(registrationOf(window_.get()), S_OK) << "the component's end revokes every registration";
}
}  // namespace
