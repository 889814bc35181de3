#include "editor/editor_window_win32.h"

#include <commctrl.h>
#include <shellapi.h>

#include <functional>
#include <iterator>
#include <stdexcept>
#include <vector>

#include "editor/editor_controls.h"
#include "ui/tab_stops_win32.h"
#include "ui/ui_pictures.h"
#include "win/dialog_keys_win32.h"
#include "win/paint_scope_win32.h"
#include "win/window_text_win32.h"

using namespace editor_controls;

namespace {
// The entry group's children are placed relative to the group box.
constexpr int kGroupLeft = 8;
constexpr int kGroupTop = 78;

struct ControlPlan {
    int id;
    const char* className;
    const char* text;
    DWORD style;
    int x, y, width, height;
    bool inGroup;
    DWORD exStyle = 0;
};

constexpr DWORD kLabel = SS_LEFT | SS_NOPREFIX;
constexpr DWORD kField = ES_AUTOHSCROLL | WS_TABSTOP;

// The system's controls; the kit's come after them. In z-order the first is
// on top: the title field covers the toggle when it is widened over it, and
// the group box goes under everything.
const ControlPlan kControls[] = {
    {kHeaderTitle, "STATIC", "Créez votre liste musicale !", kLabel, 108, 7, 220, 14, false},
    {kHeaderNote, "STATIC",
     "Glissez-Déposez les adresses depuis votre navigateur internet. Plus d'information dans le tutoriel.", kLabel,
     108, 24, 156, 39, false},
    {kBevel, "STATIC", "", SS_ETCHEDHORZ, 0, 72, 369, 2, false},
    {kListenLabel, "STATIC", "Ecouter :", SS_RIGHT | SS_NOPREFIX, 112, 1, 45, 14, true},
    {kScroller, UPDOWN_CLASSA, "", UDS_HORZ, 186, 0, 33, 15, true},
    {kTitleLabel, "STATIC", "Titre  ->", kLabel, 15, 28, 44, 14, true},
    {kTitleField, "EDIT", "", kField, 85, 24, kTitleWidthNarrow, 21, true, WS_EX_CLIENTEDGE},
    {kAddressLabel, "STATIC", "URL  ->", kLabel, 15, 52, 42, 14, true},
    {kAddressField, "EDIT", "", kField, 59, 48, 134, 21, true, WS_EX_CLIENTEDGE},
    {kCredit, "STATIC", kCreditLine, kLabel, 16, 80, 82, 14, true},
    {kAuthorLink, "STATIC", kAuthorLinkText, kLabel | SS_NOTIFY, 100, 80, 120, 14, true},
    {kGroup, "BUTTON", " Editer cet élément ", BS_GROUPBOX, 8, 78, 233, 107, false},
};

ControlPlace InGroup(int left, int top, int width, int height) {
    return ControlPlace{kGroupLeft + left, kGroupTop + top, width, height};
}

// The window's texts are small, so that the captions fit the places of their
// controls.
constexpr LONG kFontHeight = -10;

// The shortcuts' commands (WM_COMMAND with code 1) and their keys.
enum Shortcut : WORD { kSaveShortcut = 1190, kPreviousShortcut, kNextShortcut };

struct ShortcutKey {
    Shortcut command;
    EditorKey key;
    ACCEL accel;
};

constexpr ShortcutKey kShortcuts[] = {
    {kSaveShortcut, EditorKey::Save, {FVIRTKEY | FCONTROL, 'S', kSaveShortcut}},
    {kPreviousShortcut, EditorKey::PreviousEntry, {FVIRTKEY, VK_PRIOR, kPreviousShortcut}},
    {kNextShortcut, EditorKey::NextEntry, {FVIRTKEY, VK_NEXT, kNextShortcut}},
};

UniqueFont FontLike(HFONT base, LONG weight, bool underline, LONG height = kFontHeight) {
    LOGFONTA font{};
    ::GetObjectA(base, sizeof font, &font);
    font.lfHeight = height;
    font.lfWidth = 0;
    font.lfWeight = weight;
    font.lfUnderline = underline;
    return UniqueFont(::CreateFontIndirectA(&font));
}
}  // namespace

PngImage EditorWindowServices::Picture(const char* name) { return PngImage::FromResource(name); }

EditorWindow::EditorWindow(HINSTANCE instance, HWND owner, EditorWindowServices& services)
    : services_(services), editor_(services.List(), services, *this, services.Balloons()) {
    // A fixed border and only a close box.
    Create(FixedWindowParams(instance, kMainWindowClass, kEditorCaption, owner, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                             0, kClientWidth, kClientHeight));
    hand_ = ::LoadCursorA(instance, "CURSOR");
}

void EditorWindow::CreateContents() {
    hints_ = &services_.BalloonHints();
    CreateControls();
    CreateKitControls();
    ApplyFonts();
    editor_.RegisterBalloons();
    AttachBalloons({&newButton_, &saveButton_, &deleteButton_, &cancelButton_, &importButton_, &exportButton_,
                    &toggle_, &pageChooser_, &balloonSwitch_, &listen_, &iconPreview_});
    ShowIconPicture("");
    UseKeyboard();
}

void EditorWindow::UseKeyboard() {
    ACCEL table[std::size(kShortcuts)];
    for (size_t i = 0; i < std::size(kShortcuts); ++i) table[i] = kShortcuts[i].accel;
    shortcuts_.reset(::CreateAcceleratorTableA(table, static_cast<int>(std::size(table))));
    if (!shortcuts_) throw std::runtime_error("Impossible de créer les raccourcis clavier de l'éditeur");
    ApplyTabStops(Handle(), EditorTabStops(editor_.Look()));
    UseDialogKeys(kTitleField, shortcuts_.get());
}

EditorWindow::~EditorWindow() { Destroy(); }

void EditorWindow::CreateControls() {
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    for (const ControlPlan& plan : kControls) {
        const int x = plan.x + (plan.inGroup ? kGroupLeft : 0);
        const int y = plan.y + (plan.inGroup ? kGroupTop : 0);
        HWND control = ::CreateWindowExA(plan.exStyle, plan.className, plan.text,
                                         WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | plan.style, x, y, plan.width,
                                         plan.height, Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(plan.id)),
                                         instance, nullptr);
        if (!control) throw std::runtime_error(std::string("Impossible de créer le contrôle ") + plan.text);
    }
    // Never shown: it holds the icon file name of the entry being edited.
    ::CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 0, 0, Handle(),
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIconName)), instance, nullptr);
    ::SendMessageA(Control(kScroller), UDM_SETRANGE32, 0, 0);
}

void EditorWindow::CreateKitControls() {
    const struct {
        PngSpeedButton& button;
        int id;
        ControlPlace place;
        const char* caption;
        std::function<void()> click;
    } commands[] = {
        {newButton_, kNew, {248, 84, 89, 30}, "Nouveau", [this] { editor_.NewClick(); }},
        {saveButton_, kSave, {248, 118, 89, 30}, kSaveCaption, [this] { editor_.SaveClick(); }},
        {deleteButton_, kDelete, {248, 152, 89, 30}, "Supprimer", [this] { editor_.DeleteClick(); }},
        {cancelButton_, kCancel, {248, 193, 89, 30}, "Annuler    ", [this] { editor_.CancelClick(); }},
        {importButton_, kImport, {8, 193, 95, 30}, "Importer...", [this] { services_.ImportList(); }},
        {exportButton_, kExport, {128, 193, 95, 30}, "Exporter...", [this] { services_.ExportList(); }},
    };
    for (const auto& command : commands) {
        command.button.Create(Handle(), command.id, command.place, command.caption, PngImage());
        command.button.SetOnClick(command.click);
    }

    toggle_.Create(Handle(), kToggle, InGroup(194, 24, 23, 21), "Liste", PngImage());
    toggle_.SetOnClick([this] { editor_.ToggleClick(); });
    pageChooser_.Create(Handle(), kPageChooser, InGroup(194, 48, 23, 22), "Choix Page", PngImage());
    pageChooser_.SetOnClick([this] { services_.ChoosePage(); });

    balloonSwitch_.Create(Handle(), kBalloonSwitch, {326, 1, 17, 17}, "Bulles d'aide");
    balloonSwitch_.SetOnClick([this] { editor_.BalloonSwitchClick(); });
    listen_.Create(Handle(), kListen, InGroup(159, 0, 16, 17), "Ecouter");
    listen_.SetOnClick([this] { editor_.ListenClick(); });
    // The 16x16 icon in a 22 x 21 frame.
    iconPreview_.Create(Handle(), kIconPreview, InGroup(59, 24, 22, 21), "Choix image");
    iconPreview_.SetFramed(true);
    iconPreview_.SetOnClick([this] { services_.ChooseIcon(); });

    for (ClickablePicture* picture : {&balloonSwitch_, &listen_, &iconPreview_}) picture->SetCursor(hand_);
    for (SpeedButton* button : {&toggle_, &pageChooser_}) button->SetCursor(hand_);
    ::SetWindowPos(Control(kGroup), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// All decoded before any is given to its control: a failure leaves the window
// as it was, to try again at the next showing.
void EditorWindow::LoadPictures() {
    if (picturesLoaded_) return;
    const struct {
        PngSpeedButton& button;
        const char* name;
    } buttons[] = {{newButton_, ui_pictures::kNew},
                   {saveButton_, ui_pictures::kSave},
                   {deleteButton_, ui_pictures::kDelete},
                   {cancelButton_, ui_pictures::kCancel},
                   {importButton_, ui_pictures::kImport},
                   {exportButton_, ui_pictures::kExport},
                   {toggle_, toggleShownGlyph_ ? ui_pictures::kList : ui_pictures::kListGrey},
                   {pageChooser_, ui_pictures::kPageChooser}};
    PngImage banner = services_.Picture(ui_pictures::kBanner);
    std::vector<PngImage> decoded;
    for (const auto& button : buttons) decoded.push_back(services_.Picture(button.name));
    PngImage helpSwitch = services_.Picture(ui_pictures::kHelpSwitch);
    PngImage speaker = services_.Picture(ui_pictures::kSpeaker);
    banner_ = std::move(banner);
    for (size_t i = 0; i < decoded.size(); ++i) buttons[i].button.SetPicture(std::move(decoded[i]));
    balloonSwitch_.SetPicture(std::move(helpSwitch));
    listen_.SetPicture(std::move(speaker));
    picturesLoaded_ = true;
}

void EditorWindow::ApplyFonts() {
    auto guiFont = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    font_ = FontLike(guiFont, FW_NORMAL, false);
    boldFont_ = FontLike(guiFont, FW_BOLD, false);
    linkFont_ = FontLike(guiFont, FW_NORMAL, true);
    for (const ControlPlan& plan : kControls)
        ::SendMessageA(Control(plan.id), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    ::SendMessageA(Control(kHeaderTitle), WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_.get()), FALSE);
    // The note must fit three lines in its place.
    noteFont_ = FontLike(guiFont, FW_NORMAL, false, kFontHeight + 1);
    ::SendMessageA(Control(kHeaderNote), WM_SETFONT, reinterpret_cast<WPARAM>(noteFont_.get()), FALSE);
    ::SendMessageA(Control(kAuthorLink), WM_SETFONT, reinterpret_cast<WPARAM>(linkFont_.get()), FALSE);
}

void EditorWindow::AttachBalloons(std::initializer_list<KitControl*> kitControls) {
    for (const ControlPlan& plan : kControls)
        if (hints_->Balloons().IsRegistered(plan.id)) hints_->Attach(Control(plan.id), plan.id);
    for (KitControl* control : kitControls)
        control->SetOnMouseMove(
            [this, hwnd = control->Handle()](int id, POINT at) { hints_->PointerMoved(hwnd, id, at); });
}

void EditorWindow::OpenEditor() {
    LoadPictures();
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
    const int focused = FocusedControlId(Handle());
    SetText(kTitleField, look.title);
    SetText(kAddressField, look.address);
    SetText(kIconName, look.iconName);
    if (saveButton_.Text() != look.saveCaption) saveButton_.SetText(look.saveCaption);
    ShowIconPicture(look.iconPicture);

    HWND title = Control(kTitleField);
    RECT field{};
    ::GetWindowRect(title, &field);
    ::MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&field), 2);
    // The tab order keeps the field above the toggle, which a wide field covers.
    if (field.right - field.left != look.titleWidth)
        ::SetWindowPos(title, nullptr, 0, 0, look.titleWidth, field.bottom - field.top, SWP_NOMOVE | SWP_NOZORDER);

    toggle_.SetVisible(look.toggleVisible);
    if (toggleShownGlyph_ != look.toggleShownGlyph) {
        toggleShownGlyph_ = look.toggleShownGlyph;
        const char* glyph = look.toggleShownGlyph ? ui_pictures::kList : ui_pictures::kListGrey;
        if (picturesLoaded_) toggle_.SetGlyph(services_.Picture(glyph));
    }

    HWND scroller = Control(kScroller);
    ::SendMessageA(scroller, UDM_SETRANGE32, 0, look.scrollerMax);
    ::SendMessageA(scroller, UDM_SETPOS32, 0, look.position);
    ::EnableWindow(scroller, look.scrollerEnabled);
    listen_.SetEnabled(look.listenEnabled);
    deleteButton_.SetEnabled(look.deleteEnabled);
    saveButton_.SetEnabled(look.saveEnabled);
    newButton_.SetEnabled(look.newEnabled);
    ApplyTabStops(Handle(), EditorTabStops(look));
    KeepFocusReachable(focused);
}

// A control that the look disabled or hid loses the focus (or takes it along
// out of reach): the title field takes it, so the keys keep working.
void EditorWindow::KeepFocusReachable(int focused) {
    if (focused < 0) return;
    HWND target = Control(EditorFocusAfter(editor_.Look(), focused));
    if (target && ::GetFocus() != target) FocusControl(target);
}

void EditorWindow::ShowIconPicture(const std::string& path) {
    if (iconPath_ && *iconPath_ == path) return;
    iconPath_ = path;
    // An icon file that cannot be read shows the default icon, as in the menu.
    HANDLE picture = path.empty() ? nullptr : ::LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    if (!picture) picture = ::LoadImageA(::GetModuleHandleA(nullptr), "DEFAULT_ENTRY", IMAGE_BITMAP, 0, 0, 0);
    iconPreview_.SetBitmap(UniqueBitmap(static_cast<HBITMAP>(picture)));
}

LRESULT EditorWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    services_.Host().OnOwnerMessage(msg, wp, lp);
    switch (msg) {
        case DM_GETDEFID: return DefaultControl();
        case WM_COMMAND:
            // Enter and Esc come as commands of no control from the dialog keys.
            if (HIWORD(wp) == 0 && lp == 0 && (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL)) {
                if (LOWORD(wp) == IDCANCEL) OnKey(EditorKey::Escape);
                return 0;
            }
            if (HIWORD(wp) == 1 && lp == 0) {
                OnShortcut(LOWORD(wp));
                return 0;
            }
            if (HIWORD(wp) == 0 && lp == 0) {
                services_.Host().OnMenuCommand(LOWORD(wp));
                return 0;
            }
            if (OnCommand(LOWORD(wp), HIWORD(wp))) return 0;
            break;
        case WM_NOTIFY:
            if (OnNotify(*reinterpret_cast<const NMHDR*>(lp))) return TRUE;
            break;
        case WM_MEASUREITEM:
            if (services_.Host().OnMeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lp))) return TRUE;
            break;
        case WM_DRAWITEM:
            if (services_.Host().OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp))) return TRUE;
            break;
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
        case WM_ENDSESSION:
            if (wp) services_.Host().OnSessionEnding();
            return 0;
        case WM_DESTROY:
            services_.Host().OnMainWindowDestroyed();
            return 0;
    }
    return Window::HandleMessage(msg, wp, lp);
}

// What Enter presses, asked by the dialog keys.
LRESULT EditorWindow::DefaultControl() {
    const int target = EditorKeyAction(editor_.Look(), FocusedControlId(Handle()), EditorKey::Enter).press;
    return target ? MAKELRESULT(target, DC_HASDEFID) : 0;
}

void EditorWindow::OnKey(EditorKey key) {
    const EditorKeyAct act = EditorKeyAction(editor_.Look(), FocusedControlId(Handle()), key);
    if (act.press) PressControl(Handle(), act.press);
    if (act.step) editor_.ScrollerStep(act.step);
}

// Accelerators send their command with the code 1 and no control.
void EditorWindow::OnShortcut(WORD command) {
    for (const ShortcutKey& shortcut : kShortcuts)
        if (shortcut.command == command) OnKey(shortcut.key);
}

// The kit's controls report their clicks themselves; what is left are the
// fields and the author link.
bool EditorWindow::OnCommand(int id, int code) {
    if (code == EN_CHANGE) {
        if (id == kTitleField) editor_.TitleTyped(WindowText(Control(kTitleField)));
        if (id == kAddressField) editor_.AddressTyped(WindowText(Control(kAddressField)));
        return true;
    }
    if (id == kAuthorLink && code == STN_CLICKED) {
        OpenAuthorSite();
        return true;
    }
    return false;
}

// The scroller asks before it moves: the editor makes the step and sets the
// position itself, so the control is told not to move on its own.
bool EditorWindow::OnNotify(const NMHDR& header) {
    if (header.idFrom != static_cast<UINT_PTR>(kScroller) || header.code != UDN_DELTAPOS) return false;
    const auto& change = reinterpret_cast<const NMUPDOWN&>(header);
    if (change.iDelta != 0) editor_.ScrollerStep(change.iDelta > 0 ? 1 : -1);
    return true;
}

// The link is a label: it gets the hand here; the kit's clickable controls
// set it themselves.
bool EditorWindow::OnSetCursor(HWND target, int hitTest) {
    if (hitTest != HTCLIENT || !hand_ || target != Control(kAuthorLink)) return false;
    ::SetCursor(hand_);
    return true;
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
    PaintScope paint(Handle());
    DrawPicture(paint.Dc(), banner_, 0, 0);
}

void EditorWindow::OpenAuthorSite() {
    // Nothing is shown when no browser answers: the link simply does nothing.
    ::ShellExecuteA(Handle(), "open", kAuthorAddress, "", "", SW_SHOWNORMAL);
}
