#include "editor/editor_window_win32.h"

#include <commctrl.h>
#include <shellapi.h>

#include "editor/editor_controls.h"

using namespace editor_controls;

namespace {
// The entry group's children are placed relative to the group box.
constexpr int kGroupLeft = 8;
constexpr int kGroupTop = 78;

struct ControlSpec {
    int id;
    const char* className;
    const char* text;
    DWORD style;
    int x, y, width, height;
    bool inGroup;
    DWORD exStyle = 0;
};

constexpr DWORD kPicture = SS_OWNERDRAW | SS_NOTIFY;
constexpr DWORD kLabel = SS_LEFT | SS_NOPREFIX;
constexpr DWORD kField = ES_AUTOHSCROLL | WS_TABSTOP;
constexpr DWORD kCommand = BS_PUSHBUTTON | WS_TABSTOP;

// In z-order, the first is on top: the title field covers the toggle when it
// is widened over it, and the group box lies under its controls.
const ControlSpec kControls[] = {
    {kHeaderTitle, "STATIC", "Créez votre liste musicale !", kLabel, 108, 7, 220, 14, false},
    {kHeaderNote, "STATIC",
     "Glissez-Déposez les adresses depuis votre navigateur internet. Plus d'information dans le tutoriel.", kLabel,
     108, 24, 156, 39, false},
    {kBalloonSwitch, "STATIC", "", kPicture, 326, 1, 17, 17, false},
    {kBevel, "STATIC", "", SS_ETCHEDHORZ, 0, 72, 369, 2, false},
    {kListenLabel, "STATIC", "Ecouter :", kLabel, 112, 1, 46, 14, true},
    {kListen, "STATIC", "", kPicture, 159, 0, 16, 17, true},
    {kScroller, UPDOWN_CLASSA, "", UDS_HORZ, 186, 0, 33, 15, true},
    {kTitleLabel, "STATIC", "Titre  ->", kLabel, 15, 28, 44, 14, true},
    {kIconPreview, "STATIC", "", kPicture, 59, 24, 22, 21, true},
    {kTitleField, "EDIT", "", kField, 85, 24, kTitleWidthNarrow, 21, true, WS_EX_CLIENTEDGE},
    {kToggle, "BUTTON", "", BS_OWNERDRAW, 194, 24, 23, 21, true},
    {kAddressLabel, "STATIC", "URL  ->", kLabel, 15, 52, 42, 14, true},
    {kAddressField, "EDIT", "", kField, 59, 48, 134, 21, true, WS_EX_CLIENTEDGE},
    {kPageChooser, "BUTTON", "", BS_OWNERDRAW, 194, 48, 23, 22, true},
    {kCredit, "STATIC", kCreditLine, kLabel, 16, 80, 82, 14, true},
    {kAuthorLink, "STATIC", kAuthorLinkText, kLabel | SS_NOTIFY, 100, 80, 120, 14, true},
    {kNew, "BUTTON", "Nouveau", kCommand, 248, 84, 89, 30, false},
    {kSave, "BUTTON", kSaveCaption, kCommand, 248, 118, 89, 30, false},
    {kDelete, "BUTTON", "Supprimer", kCommand, 248, 152, 89, 30, false},
    {kCancel, "BUTTON", "Annuler    ", kCommand, 248, 193, 89, 30, false},
    {kImport, "BUTTON", "Importer...", kCommand, 8, 193, 95, 30, false},
    {kExport, "BUTTON", "Exporter...", kCommand, 128, 193, 95, 30, false},
    {kGroup, "BUTTON", " Editer cet élément ", BS_GROUPBOX, 8, 78, 233, 107, false},
};

// The six clickable elements show the hand.
constexpr int kClickable[] = {kAuthorLink, kBalloonSwitch, kIconPreview, kListen, kToggle, kPageChooser};

std::string WindowText(HWND hwnd) {
    std::string text(static_cast<size_t>(::GetWindowTextLengthA(hwnd)) + 1, '\0');
    text.resize(static_cast<size_t>(::GetWindowTextA(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

UniqueFont FontLike(HFONT base, LONG weight, bool underline) {
    LOGFONTA font{};
    ::GetObjectA(base, sizeof font, &font);
    font.lfWeight = weight;
    font.lfUnderline = underline;
    return UniqueFont(::CreateFontIndirectA(&font));
}
}  // namespace

EditorWindow::EditorWindow(HINSTANCE instance, MainWindowHost& host, StreamList& list, EditorServices& services,
                           HelpBalloonHints& hints)
    : host_(host), hints_(hints), editor_(list, services, *this, hints.Balloons()) {
    CreateParams params{kMainWindowClass, kEditorCaption};
    // A fixed border and only a close box.
    params.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    params.width = kClientWidth;
    params.height = kClientHeight;
    params.clientSize = true;
    params.icon = ::LoadIconA(instance, "MAINICON");
    Create(params);
    hand_ = ::LoadCursorA(instance, "CURSOR");
    defaultIcon_.reset(static_cast<HBITMAP>(::LoadImageA(instance, "DEFAULT_ENTRY", IMAGE_BITMAP, 0, 0, 0)));
    CreateControls();
    ApplyFonts();
    editor_.RegisterBalloons();
    AttachBalloons();
    ShowIconPicture("");
}

EditorWindow::~EditorWindow() { Destroy(); }

void EditorWindow::CreateControls() {
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    for (const ControlSpec& spec : kControls) {
        const int x = spec.x + (spec.inGroup ? kGroupLeft : 0);
        const int y = spec.y + (spec.inGroup ? kGroupTop : 0);
        HWND control = ::CreateWindowExA(spec.exStyle, spec.className, spec.text,
                                         WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | spec.style, x, y, spec.width,
                                         spec.height, Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id)),
                                         instance, nullptr);
        if (!control) throw std::runtime_error(std::string("Impossible de créer le contrôle ") + spec.text);
    }
    // Never shown: it holds the icon file name of the entry being edited.
    ::CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 0, 0, Handle(),
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIconName)), instance, nullptr);
    ::SendMessageA(Control(kScroller), UDM_SETRANGE32, 0, 0);
}

void EditorWindow::ApplyFonts() {
    auto guiFont = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    boldFont_ = FontLike(guiFont, FW_BOLD, false);
    linkFont_ = FontLike(guiFont, FW_NORMAL, true);
    for (const ControlSpec& spec : kControls) ::SendMessageA(Control(spec.id), WM_SETFONT, reinterpret_cast<WPARAM>(guiFont), FALSE);
    ::SendMessageA(Control(kHeaderTitle), WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_.get()), FALSE);
    ::SendMessageA(Control(kAuthorLink), WM_SETFONT, reinterpret_cast<WPARAM>(linkFont_.get()), FALSE);
}

void EditorWindow::AttachBalloons() {
    for (const ControlSpec& spec : kControls)
        if (hints_.Balloons().IsRegistered(spec.id)) hints_.Attach(Control(spec.id), spec.id);
}

void EditorWindow::OpenEditor() {
    editor_.PrepareOpening();
    ::ShowWindow(Handle(), SW_HIDE);
    ShowCentredInFront();
}

void EditorWindow::HideWindow() { ::ShowWindow(Handle(), SW_HIDE); }

void EditorWindow::SetText(int id, const std::string& text) {
    HWND control = Control(id);
    if (WindowText(control) != text) ::SetWindowTextA(control, text.c_str());
}

void EditorWindow::ShowLook(const EditorLook& look) {
    SetText(kTitleField, look.title);
    SetText(kAddressField, look.address);
    SetText(kIconName, look.iconName);
    SetText(kSave, look.saveCaption);
    ShowIconPicture(look.iconPicture);

    HWND title = Control(kTitleField);
    RECT field{};
    ::GetWindowRect(title, &field);
    ::MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&field), 2);
    if (field.right - field.left != look.titleWidth)
        ::SetWindowPos(title, HWND_TOP, 0, 0, look.titleWidth, field.bottom - field.top, SWP_NOMOVE);

    HWND toggle = Control(kToggle);
    ::ShowWindow(toggle, look.toggleVisible ? SW_SHOWNA : SW_HIDE);
    if (toggleShownGlyph_ != look.toggleShownGlyph) {
        toggleShownGlyph_ = look.toggleShownGlyph;
        ::InvalidateRect(toggle, nullptr, TRUE);
    }

    HWND scroller = Control(kScroller);
    ::SendMessageA(scroller, UDM_SETRANGE32, 0, look.scrollerMax);
    ::SendMessageA(scroller, UDM_SETPOS32, 0, look.position);
    const std::pair<int, bool> enabled[] = {{kScroller, look.scrollerEnabled}, {kListen, look.listenEnabled},
                                            {kDelete, look.deleteEnabled},     {kSave, look.saveEnabled},
                                            {kNew, look.newEnabled}};
    for (const auto& [id, on] : enabled) {
        HWND control = Control(id);
        if ((::IsWindowEnabled(control) != FALSE) != on) {
            ::EnableWindow(control, on);
            ::InvalidateRect(control, nullptr, TRUE);
        }
    }
}

void EditorWindow::ShowIconPicture(const std::string& path) {
    if (path == iconPath_) return;
    iconPath_ = path;
    entryIcon_.reset(path.empty() ? nullptr
                                  : static_cast<HBITMAP>(::LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0,
                                                                      LR_LOADFROMFILE)));
    ::InvalidateRect(Control(kIconPreview), nullptr, TRUE);
}

LRESULT EditorWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    host_.OnOwnerMessage(msg, wp, lp);
    switch (msg) {
        case WM_COMMAND:
            if (HIWORD(wp) == 0 && lp == 0) {
                host_.OnMenuCommand(LOWORD(wp));
                return 0;
            }
            if (OnCommand(LOWORD(wp), HIWORD(wp))) return 0;
            break;
        case WM_NOTIFY:
            if (OnNotify(*reinterpret_cast<const NMHDR*>(lp))) return TRUE;
            break;
        case WM_MEASUREITEM:
            if (host_.OnMeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lp))) return TRUE;
            break;
        case WM_DRAWITEM: {
            const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
            if (item.CtlType == ODT_MENU ? host_.OnDrawItem(item) : OnDrawControl(item)) return TRUE;
            break;
        }
        case WM_SETCURSOR:
            if (OnSetCursor(reinterpret_cast<HWND>(wp), LOWORD(lp))) return TRUE;
            break;
        case WM_CTLCOLORSTATIC: return OnControlColour(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp));
        case WM_PAINT: PaintBanner(); return 0;
        case WM_SHOWWINDOW:
            // Only ShowWindow calls: not the showing of owned windows.
            if (lp == 0) {
                if (wp)
                    editor_.FormShow();
                else
                    editor_.FormHide();
            }
            break;
        case WM_DESTROY:
            host_.OnMainWindowDestroyed();
            return 0;
    }
    return Window::HandleMessage(msg, wp, lp);
}

bool EditorWindow::OnCommand(int id, int code) {
    if (code == EN_CHANGE) {
        if (id == kTitleField) editor_.TitleTyped(WindowText(Control(kTitleField)));
        if (id == kAddressField) editor_.AddressTyped(WindowText(Control(kAddressField)));
        return true;
    }
    if (code != BN_CLICKED && code != STN_CLICKED) return false;
    auto call = [](const std::function<void()>& hook) {
        if (hook) hook();
    };
    switch (id) {
        case kNew: editor_.NewClick(); break;
        case kSave: editor_.SaveClick(); break;
        case kDelete: editor_.DeleteClick(); break;
        case kCancel: editor_.CancelClick(); break;
        case kToggle: editor_.ToggleClick(); break;
        case kListen: editor_.ListenClick(); break;
        case kBalloonSwitch: editor_.BalloonSwitchClick(); break;
        case kAuthorLink: OpenAuthorSite(); break;
        case kPageChooser: call(onPageChooser); break;
        case kIconPreview: call(onIconChooser); break;
        case kImport: call(onImport); break;
        case kExport: call(onExport); break;
        default: return false;
    }
    return true;
}

// The scroller asks before it moves: the editor makes the step and sets the
// position itself, so the control is told not to move on its own.
bool EditorWindow::OnNotify(const NMHDR& header) {
    if (header.idFrom != static_cast<UINT_PTR>(kScroller) || header.code != UDN_DELTAPOS) return false;
    const auto& change = reinterpret_cast<const NMUPDOWN&>(header);
    if (change.iDelta != 0) editor_.ScrollerStep(change.iDelta > 0 ? 1 : -1);
    return true;
}

bool EditorWindow::OnDrawControl(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    const RECT& area = item.rcItem;
    const bool enabled = ::IsWindowEnabled(item.hwndItem) != FALSE;
    ::FillRect(dc, &area, ::GetSysColorBrush(COLOR_BTNFACE));
    switch (item.CtlID) {
        case kBalloonSwitch: pictures_.Draw(dc, EditorPicture::HelpSwitch, 0, 0); return true;
        case kListen: pictures_.Draw(dc, EditorPicture::Speaker, 0, 0, !enabled); return true;
        case kIconPreview: {
            RECT frame = area;
            ::DrawEdge(dc, &frame, BDR_SUNKENOUTER, BF_RECT);
            HBITMAP picture = entryIcon_ ? entryIcon_.get() : defaultIcon_.get();
            UniqueMemoryDc memory(::CreateCompatibleDC(dc));
            SelectedObject selected(memory.get(), picture);
            // Drawn opaque, as the menu draws it.
            ::BitBlt(dc, 3, 3, 16, 16, memory.get(), 0, 0, SRCCOPY);
            return true;
        }
        case kToggle:
        case kPageChooser: {
            // A flat button: a frame only while pressed.
            if (item.itemState & ODS_SELECTED) {
                RECT frame = area;
                ::DrawEdge(dc, &frame, BDR_SUNKENOUTER, BF_RECT);
            }
            const EditorPicture glyph = item.CtlID == kPageChooser ? EditorPicture::PageChooser
                                        : toggleShownGlyph_        ? EditorPicture::List
                                                                   : EditorPicture::ListGrey;
            const SIZE size = pictures_.Size(glyph);
            const int shift = (item.itemState & ODS_SELECTED) ? 1 : 0;
            pictures_.Draw(dc, glyph, (area.right - size.cx) / 2 + shift, (area.bottom - size.cy) / 2 + shift);
            return true;
        }
    }
    return false;
}

bool EditorWindow::OnSetCursor(HWND target, int hitTest) {
    if (hitTest != HTCLIENT || !hand_) return false;
    for (int id : kClickable)
        if (Control(id) == target) {
            ::SetCursor(hand_);
            return true;
        }
    return false;
}

LRESULT EditorWindow::OnControlColour(HDC dc, HWND control) {
    const int id = ::GetDlgCtrlID(control);
    if (id == kHeaderTitle || id == kHeaderNote) {
        // Over the banner, which the window paints beneath them.
        ::SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
    }
    ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
    if (id == kAuthorLink) ::SetTextColor(dc, RGB(0, 0, 204));
    return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
}

void EditorWindow::PaintBanner() {
    PAINTSTRUCT paint{};
    HDC dc = ::BeginPaint(Handle(), &paint);
    pictures_.Draw(dc, EditorPicture::Banner, 0, 0);
    ::EndPaint(Handle(), &paint);
}

void EditorWindow::OpenAuthorSite() {
    // Nothing is shown when no browser answers: the link simply does nothing.
    ::ShellExecuteA(Handle(), "open", kAuthorAddress, "", "", SW_SHOWNORMAL);
}
