#include "rotation/rotation_window_win32.h"

#include <commctrl.h>
#include <commdlg.h>

#include <stdexcept>

#include "ui/dialog_font_win32.h"
#include "ui/tab_stops_win32.h"
#include "ui/ui_pictures.h"
#include "win/current_folder_win32.h"
#include "win/dialog_keys_win32.h"
#include "win/handles_win32.h"
#include "win/window_text_win32.h"

using namespace rotation_controls;

namespace {
constexpr int kBarMinimum = 2;
constexpr int kIntervalMaximum = 50;
constexpr int kDurationMaximum = 10;
constexpr int kThumbLength = 12;

// Group boxes do not pass their children's notifications on, so every
// control is the window's own child, placed at its group's origin plus its
// place in the group.
constexpr POINT kRotationGroupAt{7, 5};
constexpr POINT kTransitionGroupAt{8, 56};
}  // namespace

std::optional<std::string> OpenDialogJinglePicker::PickJinglePage(const std::string& startFolder) {
    char file[MAX_PATH] = {};
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner_;
    dialog.lpstrFilter = "Pages HTML (*.htm; *.html)\0*.htm;*.html\0";
    dialog.lpstrFile = file;
    dialog.nMaxFile = sizeof file;
    dialog.lpstrInitialDir = startFolder.c_str();
    dialog.lpstrTitle = kJingleDialogTitle;
    // No "file must exist": a name typed by hand is checked by the caller.
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
    ScopedCurrentFolder keep;
    if (::GetOpenFileNameA(&dialog)) return std::string(file);
    if (const DWORD error = ::CommDlgExtendedError())
        throw std::runtime_error("Ooops ! La boîte de choix du jingle ne peut pas s'ouvrir (erreur " +
                                 std::to_string(error) + ")");
    return std::nullopt;
}

std::unique_ptr<JinglePicker> RotationWindowServices::JinglePickerFor(HWND window) {
    return std::make_unique<OpenDialogJinglePicker>(window);
}

RotationWindow::RotationWindow(HINSTANCE instance, HWND owner, RotationWindowServices& services) {
    Create(FixedWindowParams(instance, kRotationWindowClass, "Sonoraflux", owner,
                             WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, WS_EX_DLGMODALFRAME, kClientWidth,
                             kClientHeight));
    try {
        CreateControls(instance);
        services.AttachAlwaysOn(Control(kBalloonSwitch), kBalloonSwitch, kBalloonSwitchHint);
        ApplyTabStops(Handle(), RotationTabStops(false));
        UseDialogKeys(kIntervalBar);
    } catch (...) {
        Destroy();
        throw;
    }
    picker_ = services.JinglePickerFor(Handle());
    rotation_ = std::make_unique<Rotation>(services.Folder(), services.Files(), services, *picker_,
                                           RotationTimers{timer1_, timer2_, timer3_});
}

RotationWindow::~RotationWindow() { Destroy(); }

// FormCreate: the controls, their captions and places, the hand cursor.
void RotationWindow::CreateControls(HINSTANCE instance) {
    handCursor_ = ::LoadCursorA(instance, "CURSOR");
    // The notice is the longest text: the font is the first in which it fits its label.
    font_ = DialogFontThatFits([](HFONT font) { return WrappedTextHeight(font, kRotationNotice, 161) <= 105; });
    const POINT r = kRotationGroupAt, t = kTransitionGroupAt;

    AddControl(WC_BUTTONA, "       Permutation ", BS_GROUPBOX, kRotationGroup, r.x, r.y, 131, 47);
    AddControl(WC_BUTTONA, "      Transition ", BS_GROUPBOX, kTransitionGroup, t.x, t.y, 131, 85);
    AddPicture(clock_, ui_pictures::kClock, kClockPicture, {r.x + 8, r.y + 0, 16, 16}, "", nullptr);
    // The switch of this window only explains itself: a click does nothing.
    AddPicture(balloonSwitch_, ui_pictures::kHelpSwitch, kBalloonSwitch, {r.x + 113, r.y - 1, 17, 17}, "", [] {});
    AddControl(WC_BUTTONA, "Jingle de transition", BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, kJingleCheck, t.x + 8, t.y + 0, 17, 17);
    ::SendMessageA(Control(kJingleCheck), BM_SETCHECK, BST_CHECKED, 0);

    AddTrackBar(kIntervalBar, "Permutation (minutes)", r.x + 14, r.y + 20);
    ::SendMessageA(Control(kIntervalBar), TBM_SETRANGE, TRUE, MAKELPARAM(kBarMinimum, kIntervalMaximum));
    // Right-aligned values end at 92 in their group; two digits fit in 12.
    AddControl(WC_STATICA, "2", SS_RIGHT, kIntervalValue, r.x + 80, r.y + 20, 12, 13);
    AddControl(WC_STATICA, "min", SS_LEFT, kIntervalUnit, r.x + 96, r.y + 20, 24, 13);

    AddTrackBar(kDurationBar, "Transition (secondes)", t.x + 14, t.y + 20);
    ::SendMessageA(Control(kDurationBar), TBM_SETRANGE, TRUE, MAKELPARAM(kBarMinimum, kDurationMaximum));
    AddControl(WC_STATICA, "2", SS_RIGHT, kDurationValue, t.x + 80, t.y + 20, 12, 13);
    AddControl(WC_STATICA, "sec", SS_LEFT, kDurationUnit, t.x + 96, t.y + 20, 24, 13);
    AddControl(WC_STATICA, "Jingle (htm) :", SS_LEFTNOWORDWRAP, kJingleLabel, t.x + 16, t.y + 40, 64, 13);
    AddPicture(jingleChooser_, ui_pictures::kJingleChooser, kJingleChooser, {t.x + 80, t.y + 38, 16, 17},
               "Choix du jingle", [this] { Image1Click(); });
    AddPicture(listenImage_, ui_pictures::kSpeaker, kListenImage, {t.x + 100, t.y + 40, 16, 17}, "Ecouter le jingle",
               [this] { Image11Click(); });
    // Drawn by us: one line, right-aligned, so a long path shows its end.
    AddControl(WC_STATICA, "", SS_OWNERDRAW, kChosenJingle, t.x + 16, t.y + 60, 98, 13);

    AddControl(WC_STATICA, kRotationNotice, SS_LEFT | SS_NOPREFIX | WS_DISABLED, kNotice, 144, 8, 161, 105);
    AddControl(WC_STATICA, "", SS_OWNERDRAW, kSeparator, 152, 120, 137, 2);
    AddControl(WC_BUTTONA, "Annuler", BS_PUSHBUTTON | WS_TABSTOP, kCancelButton, 16, 150, 65, 25);
    AddControl(WC_BUTTONA, "OK", BS_PUSHBUTTON | WS_TABSTOP | WS_DISABLED, kOkButton, 96, 150, 33, 25);

    // Beneath every other control, so that a group never paints over the
    // controls in it or on its frame.
    for (ControlId group : {kRotationGroup, kTransitionGroup})
        ::SetWindowPos(Control(group), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

HWND RotationWindow::AddControl(const char* className, const char* text, DWORD style, int id, int x, int y,
                                int width, int height) {
    HWND control = ::CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, x, y,
                                     width, height, Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                     ::GetModuleHandleA(nullptr), nullptr);
    if (!control) throw std::runtime_error(std::string("Impossible de créer le contrôle ") + className);
    ::SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    return control;
}

// The name is the bar's window text, which it does not draw: what a screen reader says.
HWND RotationWindow::AddTrackBar(int id, const char* name, int x, int y) {
    HWND bar = AddControl(TRACKBAR_CLASSA, name, TBS_HORZ | TBS_BOTH | TBS_NOTICKS | TBS_FIXEDLENGTH | WS_TABSTOP | WS_GROUP,
                          id, x, y, 65, 15);
    ::SendMessageA(bar, TBM_SETTHUMBLENGTH, kThumbLength, 0);
    return bar;
}

// A clickable picture shows the hand; the clock is only a picture. The name
// is for screen readers.
void RotationWindow::AddPicture(ClickablePicture& control, const char* picture, ControlId id,
                                const ControlPlace& place, const char* name, std::function<void()> onClick) {
    control.Create(Handle(), id, place, name);
    control.SetPicture(PngImage::FromResource(picture));
    if (onClick) {
        control.SetCursor(handCursor_);
        control.SetOnClick(std::move(onClick));
    }
}

LRESULT RotationWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_CLOSE: Button2Click(); return 0;
        case DM_GETDEFID: return DefaultControl();
        case WM_COMMAND: OnCommand(LOWORD(wp), HIWORD(wp)); return 0;
        case WM_HSCROLL: OnBarMoved(reinterpret_cast<HWND>(lp)); return 0;
        case WM_DRAWITEM:
            if (wp == kChosenJingle) {
                DrawChosenJingle(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
                return TRUE;
            }
            if (wp == kSeparator) {
                DrawSeparator(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
                return TRUE;
            }
            break;
        default: break;
    }
    return Window::HandleMessage(msg, wp, lp);
}

// What Enter presses, asked by the dialog keys.
LRESULT RotationWindow::DefaultControl() {
    const int target = RotationKeyTarget(rotation_->CanStart(), FocusedControlId(Handle()), RotationKey::Enter);
    return target ? MAKELRESULT(target, DC_HASDEFID) : 0;
}

void RotationWindow::OnCommand(int id, int code) {
    if (code != BN_CLICKED) return;
    // Esc, from the dialog keys (no control here has that id).
    if (id == IDCANCEL) id = RotationKeyTarget(rotation_->CanStart(), 0, RotationKey::Escape);
    if (id == kOkButton) Button1Click();
    if (id == kCancelButton) Button2Click();
}

// TrackBar1Change, TrackBar2Change: the value beside the bar; no delay uses it.
void RotationWindow::OnBarMoved(HWND bar) {
    const int position = static_cast<int>(::SendMessageA(bar, TBM_GETPOS, 0, 0));
    const ControlId label = bar == Control(kIntervalBar) ? kIntervalValue : kDurationValue;
    ::SetWindowTextA(Control(label), std::to_string(position).c_str());
}

void RotationWindow::DrawChosenJingle(const DRAWITEMSTRUCT& item) {
    RECT area = item.rcItem;
    ::FillRect(item.hDC, &area, ::GetSysColorBrush(COLOR_BTNFACE));
    SelectedObject font(item.hDC, font_.get());
    ::SetBkMode(item.hDC, TRANSPARENT);
    ::SetTextColor(item.hDC, ::GetSysColor(COLOR_INACTIVECAPTION));
    const std::string path = WindowText(item.hwndItem);
    ::DrawTextA(item.hDC, path.c_str(), static_cast<int>(path.size()), &area,
                DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX | DT_TOP);
}

// A sunken line along the top: a shadow line over a light one.
void RotationWindow::DrawSeparator(const DRAWITEMSTRUCT& item) {
    RECT area = item.rcItem;
    ::FillRect(item.hDC, &area, ::GetSysColorBrush(COLOR_BTNFACE));
    ::DrawEdge(item.hDC, &area, EDGE_ETCHED, BF_TOP);
}

void RotationWindow::Image1Click() {
    rotation_->ChooseJingle();
    ::SetWindowTextA(Control(kChosenJingle), rotation_->Jingle().c_str());
    ::InvalidateRect(Control(kChosenJingle), nullptr, TRUE);
    if (rotation_->CanStart()) ::EnableWindow(Control(kOkButton), TRUE);
    ApplyTabStops(Handle(), RotationTabStops(rotation_->CanStart()));
}

void RotationWindow::Image11Click() { rotation_->ListenToJingle(); }

void RotationWindow::Button1Click() {
    rotation_->StartSequence();
    Button2Click();
}

// Closing hides the window; a sequence under way goes on.
void RotationWindow::Button2Click() { ::ShowWindow(Handle(), SW_HIDE); }
