#include "editor/balloon_presenter_win32.h"

#include <commctrl.h>

#include <stdexcept>

namespace {
TTTOOLINFOA ToolInfo(HWND tip, const std::string& text) {
    TTTOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.uFlags = TTF_TRACK | TTF_ABSOLUTE;
    tool.hwnd = ::GetParent(tip);
    tool.uId = 1;
    tool.lpszText = const_cast<char*>(text.c_str());
    return tool;
}
}  // namespace

BalloonWindow::BalloonWindow(HINSTANCE instance) {
    tip_.reset(::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                                 WS_POPUP | TTS_BALLOON | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr));
    if (!tip_) throw std::runtime_error("Impossible de créer la bulle d'aide");
    TTTOOLINFOA tool = ToolInfo(tip_.get(), text_);
    ::SendMessageA(tip_.get(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    ::SendMessageA(tip_.get(), TTM_SETMAXTIPWIDTH, 0, 260);
}

BalloonWindow::~BalloonWindow() = default;

void BalloonWindow::ShowBalloon(const HelpBalloon& balloon, POINT at) {
    text_ = balloon.hint;
    TTTOOLINFOA tool = ToolInfo(tip_.get(), text_);
    ::SendMessageA(tip_.get(), TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
    ::SendMessageA(tip_.get(), TTM_SETTITLEA, balloon.title.empty() ? TTI_NONE : TTI_INFO,
                   reinterpret_cast<LPARAM>(balloon.title.c_str()));
    ::SendMessageA(tip_.get(), TTM_TRACKPOSITION, 0, MAKELPARAM(at.x, at.y));
    ::SendMessageA(tip_.get(), TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
}

void BalloonWindow::HideBalloon() {
    TTTOOLINFOA tool = ToolInfo(tip_.get(), text_);
    ::SendMessageA(tip_.get(), TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
}
