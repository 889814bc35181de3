#include "recorder/recorder_window_win32.h"

#include <commctrl.h>
#include <shellapi.h>

#include <stdexcept>

#include "audio/mp3_coder_win32.h"
#include "audio/wave_file_stream_win32.h"
#include "recorder/recorder_keys.h"
#include "recorder/save_target_dialog_win32.h"
#include "ui/dialog_font_win32.h"
#include "ui/png_image_list_win32.h"
#include "ui/tab_stops_win32.h"
#include "ui/ui_pictures.h"
#include "win/dialog_keys_win32.h"
#include "win/error_box_win32.h"
#include "win/message_wait_win32.h"
#include "win/paint_scope_win32.h"

namespace {


ControlPlace PlaceOf(RecorderElementId id) {
    const RecorderElement& e = RecorderElementOf(id);
    return {e.left, e.top, e.width, e.height};
}

int IdOf(RecorderElementId id) { return static_cast<int>(id); }

// A picture that acts is named by its balloon's title.
const char* NameOf(RecorderElementId id) { return RecorderElementOf(id).balloonTitle; }

ControlPlace DigitsPlace(HWND window, HFONT font, RecorderElementId id) {
    ControlPlace place = PlaceOf(id);
    HDC dc = ::GetDC(window);
    {
        SelectedObject choice(dc, font);
        SIZE size{};
        if (::GetTextExtentPoint32A(dc, "00", 2, &size)) {
            place.width = size.cx;
            place.height = size.cy;
        }
    }
    ::ReleaseDC(window, dc);
    return place;
}

const char* const kNoticeLines[] = {
    "La loi française n'étant plus ce qu'elle était, ce module vous permettra de",
    "capturer juste de quoi reconnaître le titre que vous voulez acheter CQFD"};

void DrawTextAt(HDC dc, int x, int y, const std::string& text, COLORREF colour) {
    ::SetTextColor(dc, colour);
    ::TextOutA(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

}  // namespace

// The capture component as the session sees it.
class RecorderWindow::CaptureAdapter : public CaptureDevice {
public:
    CaptureAdapter(TWaveRecorder& recorder, RecorderWindowServices& services)
        : recorder_(recorder), services_(services) {}
    bool IsActive() override { return recorder_.GetActive(); }
    void RecordToFile(const std::string& path) override {
        if (!recorder_.RecordToStream(services_.OpenCaptureFile(path).release(), true))
            throw std::runtime_error("Ooops ! Le périphérique d'enregistrement n'a pas pu être ouvert");
    }
    void Stop() override { recorder_.SetActive(false); }
    std::string TakeFileError() override { return recorder_.TakeFileError(); }

private:
    TWaveRecorder& recorder_;
    RecorderWindowServices& services_;
};

// The MP3 coder with its lists filled for one pair, as the window uses it.
class RecorderWindow::EncoderAdapter : public Mp3Encoder {
public:
    explicit EncoderAdapter(TMP3Coder& coder) : coder_(coder) {}
    void Encode(const std::string& wavPath, const std::string& mp3Path) override {
        coder_.InputFiles().clear();
        coder_.OutputFiles().clear();
        coder_.InputFiles().push_back(wavPath);
        coder_.OutputFiles().push_back(mp3Path);
        coder_.Process();
    }

private:
    TMP3Coder& coder_;
};

class RecorderWindow::SystemAdapter : public RecorderSystem {
public:
    bool FileExists(const std::string& path) override {
        const DWORD attributes = ::GetFileAttributesA(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    }
    bool DeleteFile(const std::string& path) override { return ::DeleteFileA(path.c_str()) != 0; }
    std::optional<std::string> TempVariable() override {
        // Asked for its length first, so that a value too long is seen as such.
        const DWORD length = ::GetEnvironmentVariableA("TEMP", nullptr, 0);
        if (length == 0) return std::nullopt;
        std::string value(length, '\0');
        const DWORD got = ::GetEnvironmentVariableA("TEMP", value.data(), length);
        if (got == 0 || got >= length) return std::string();
        value.resize(got);
        return value;
    }
    std::string SystemTempFolder() override {
        char folder[MAX_PATH + 1] = {};
        const DWORD length = ::GetTempPathA(sizeof folder, folder);
        return length == 0 || length > MAX_PATH ? std::string() : std::string(folder, length);
    }
    void InformationBeep() override { ::MessageBeep(MB_ICONASTERISK); }
    void ShowError(const std::string& message) override { ShowApplicationError(message); }
};

std::unique_ptr<TargetDialog> RecorderWindowServices::TargetDialogFor(HWND window) {
    return std::make_unique<SaveTargetDialog>(window, [this] { return SongTitle(); });
}

MP3EncoderLibrary& RecorderWindowServices::Encoder() { return EncoderDllLibrary(); }

std::unique_ptr<ByteStream> RecorderWindowServices::OpenCaptureFile(const std::string& path) {
    return std::make_unique<FileByteStream>(path);
}

RecorderWindow::RecorderWindow(HINSTANCE instance, HWND owner, RecorderWindowServices& services)
    : services_(services) {
    Create(FixedWindowParams(instance, kRecorderWindowClass, kRecorderCaption, owner,
                             WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_CLIPCHILDREN, WS_EX_DLGMODALFRAME,
                             kClientWidth, kClientHeight));
    FormCreate(instance);
}

RecorderWindow::~RecorderWindow() {
    // The capture ends with the window: its file is finalised and no
    // encoding follows.
    Quit();
    recorder_.reset();
    Destroy();
}

void RecorderWindow::FormCreate(HINSTANCE instance) {
    // The notice lines are the widest texts: the font is the first in which
    // they fit between the window's margins.
    font_ = DialogFontThatFits([](HFONT font) {
        const int room = kClientWidth - 16;
        return TextWidth(font, kNoticeLines[0]) <= room && TextWidth(font, kNoticeLines[1]) <= room;
    });
    boldFont_ = SameFontWithWeight(font_.get(), FW_BOLD);
    handCursor_ = ::LoadCursorA(instance, "CURSOR");
    CreateControls();
    AddHelpBalloons();

    recorder_ = std::make_unique<TWaveRecorder>();
    recorder_->SetPCMFormat(TPCMFormat::Stereo16bit44100Hz);
    recorder_->SetBufferLength(1000);
    recorder_->SetBufferCount(2);
    recorder_->SetAsync(false);
    recorder_->OnActivate = [this](TWaveAudioIO&) { session_->DeviceOpened(); };
    recorder_->OnDeactivate = [this](TWaveAudioIO&) { session_->DeviceClosed(); };

    // Between chunks the coder lets the program run; a quit seen there ends
    // the encoding.
    coder_ = std::make_unique<TMP3Coder>(TMP3CoderServices{services_.Encoder(), WindowsFileAccess(), [] {
                                                               if (!ProcessPendingMessages()) throw EncodingCancelled();
                                                           }});
    coder_->SetDefaultExt(".mp3");
    coder_->OnBeginProcess = [this](TMP3Coder&) { session_->EncodingBegun(); };
    coder_->OnProgress = [this](TMP3Coder&, std::uint16_t percent) { session_->EncodingProgress(percent); };
    coder_->OnEndProcess = [this](TMP3Coder&) { session_->EncodingEnded(); };

    timer_.SetOnTimer([this] { GuardedCall([this] { session_->Tick(); }); });

    dialog_ = services_.TargetDialogFor(Handle());
    capture_ = std::make_unique<CaptureAdapter>(*recorder_, services_);
    encoderAdapter_ = std::make_unique<EncoderAdapter>(*coder_);
    system_ = std::make_unique<SystemAdapter>();
    session_ = std::make_unique<RecorderSession>(
        RecorderParts{*this, *capture_, *encoderAdapter_, *dialog_, *system_},
        services_.Folder().Root() + kRecordingsFolderName + "\\");
    Render(session_->Display());
}

void RecorderWindow::CreateControls() {
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    button_.reset(::CreateWindowExA(0, "BUTTON", kStartCaption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                                    141, 23, 65, 25, Handle(), reinterpret_cast<HMENU>(kRecorderButtonId), instance, nullptr));
    ::SendMessageA(button_.get(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    ::EnableWindow(button_.get(), FALSE);
    progress_.reset(::CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | PBS_SMOOTH, 18, 34, 320, 17, Handle(),
                                      nullptr, instance, nullptr));
    ::SendMessageA(progress_.get(), PBM_SETRANGE, 0, MAKELPARAM(0, 100));

    using Id = RecorderElementId;
    image14_.Create(Handle(), IdOf(Id::Image14), PlaceOf(Id::Image14), PngImage::FromResource(ui_pictures::kRecordTarget),
                    NameOf(Id::Image14));
    shape4_.Create(Handle(), IdOf(Id::Shape4), PlaceOf(Id::Shape4), font_.get());
    // The digit labels take the size of "00" in their font, as labels do.
    label19_.Create(Handle(), IdOf(Id::Label19), DigitsPlace(Handle(), font_.get(), Id::Label19), font_.get());
    label20_.Create(Handle(), IdOf(Id::Label20), DigitsPlace(Handle(), font_.get(), Id::Label20), font_.get());
    // Created after the frame, the digits lie above it.
    ::SetWindowPos(label19_.Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ::SetWindowPos(label20_.Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    image12_.Create(Handle(), IdOf(Id::Image12), PlaceOf(Id::Image12), PngImage::FromResource(ui_pictures::kFlumenSymbol));
    animator_.Create(Handle(), IdOf(Id::BmpAnimator1), PlaceOf(Id::BmpAnimator1),
                     PngImageList::FromStrip(ui_pictures::kIndicator, ui_pictures::kIndicatorFrameWidth));
    image13_.Create(Handle(), IdOf(Id::Image13), PlaceOf(Id::Image13),
                    PngImage::FromResource(ui_pictures::kRecordingsFolder), NameOf(Id::Image13));
    image30_.Create(Handle(), IdOf(Id::Image30), PlaceOf(Id::Image30), NameOf(Id::Image30));
    image30_.SetPicture(PngImage::FromResource(ui_pictures::kHelpSwitch));

    for (KitControl* clickable : {static_cast<KitControl*>(&image14_), static_cast<KitControl*>(&image13_),
                                  static_cast<KitControl*>(&image30_)})
        clickable->SetCursor(handCursor_);
    image14_.SetOnClick([this] { session_->ChooseTarget(); });
    image13_.SetOnClick([this] { OpenRecordingsFolder(); });
    image30_.SetOnClick([this] { SwitchHelpBalloons(); });
    UseDialogKeys(IdOf(Id::Image14));
}

void RecorderWindow::AddHelpBalloons() {
    KitControl* controls[] = {&image14_, &shape4_, &label19_, &label20_, &image12_, &animator_, &image13_, &image30_};
    for (KitControl* control : controls) {
        const RecorderElement& element = RecorderElementOf(static_cast<RecorderElementId>(control->Id()));
        services_.AddHelpBalloon(element);
        control->SetOnMouseMove([this, &element, hwnd = control->Handle()](int, POINT at) {
            services_.PointerMoved(hwnd, element, at);
        });
    }
}

void RecorderWindow::SwitchHelpBalloons() { services_.SwitchHelpBalloons(); }

void RecorderWindow::Render(const RecorderDisplay& display) {
    const int focused = FocusedControlId(Handle());
    HWND button = button_.get();
    if (display.buttonCaption != shown_.buttonCaption) ::SetWindowTextA(button, display.buttonCaption.c_str());
    ::EnableWindow(button, display.buttonEnabled);
    ::ShowWindow(button, display.buttonVisible ? SW_SHOWNA : SW_HIDE);
    ::SendMessageA(progress_.get(), PBM_SETPOS, static_cast<WPARAM>(display.progress), 0);
    ::ShowWindow(progress_.get(), display.encodingShown ? SW_SHOWNA : SW_HIDE);

    if (display.countdownRunning != timer_.Enabled()) timer_.SetEnabled(display.countdownRunning);
    if (display.indicatorRunning != animator_.Active()) animator_.SetActive(display.indicatorRunning);
    if (display.minutes != label19_.Text()) label19_.SetText(display.minutes);
    if (display.seconds != label20_.Text()) label20_.SetText(display.seconds);

    // The panel in front covers the top row; it is drawn by the window, so
    // what it covers is hidden.
    for (KitControl* covered : {static_cast<KitControl*>(&image14_), static_cast<KitControl*>(&shape4_),
                                static_cast<KitControl*>(&label19_), static_cast<KitControl*>(&label20_),
                                static_cast<KitControl*>(&image12_), static_cast<KitControl*>(&animator_),
                                static_cast<KitControl*>(&image13_)})
        covered->SetVisible(!display.encodingShown);
    image30_.SetVisible(display.switchVisible);

    ApplyTabStops(Handle(), RecorderTabStops(display));
    // A control that the change disabled or hid loses the focus: the file
    // choice takes it, so the keys keep working.
    const int target = focused >= 0 ? RecorderFocusAfter(display, focused) : 0;
    if (target && ::GetFocus() != ::GetDlgItem(Handle(), target)) FocusControl(::GetDlgItem(Handle(), target));

    const bool panelChanged = display.panelTitle != shown_.panelTitle || display.encodingShown != shown_.encodingShown;
    shown_ = display;
    if (panelChanged) ::InvalidateRect(Handle(), nullptr, FALSE);
    // While an MP3 is written the window only repaints between chunks.
    if (display.encodingShown) ::UpdateWindow(Handle());
}

LRESULT RecorderWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_CLOSE: ::ShowWindow(Handle(), SW_HIDE); return 0;
        case WM_PAINT: {
            PaintScope paint(Handle());
            Paint(paint.Dc());
            return 0;
        }
        case WM_ERASEBKGND: return 1;
        case DM_GETDEFID: {
            const int target = RecorderKeyAction(session_->State(), shown_, FocusedControlId(Handle()),
                                                 RecorderKey::Enter).press;
            return target ? MAKELRESULT(target, DC_HASDEFID) : 0;
        }
        case WM_COMMAND:
            if (LOWORD(wp) == kRecorderButtonId && HIWORD(wp) == BN_CLICKED) {
                session_->PressButton();
                return 0;
            }
            // Esc, from the dialog keys.
            if (wp == IDCANCEL && lp == 0) {
                if (RecorderKeyAction(session_->State(), shown_, 0, RecorderKey::Escape).hide)
                    ::ShowWindow(Handle(), SW_HIDE);
                return 0;
            }
            break;
        default: break;
    }
    return Window::HandleMessage(msg, wp, lp);
}

// The folder is never created here; when it is missing the shell's refusal
// is ignored.
void RecorderWindow::OpenRecordingsFolder() {
    const std::string folder = services_.Folder().Root() + kRecordingsFolderName;
    ::ShellExecuteA(Handle(), "Open", folder.c_str(), "", "", SW_SHOWNORMAL);
}

void RecorderWindow::Paint(HDC target) {
    RECT client{};
    ::GetClientRect(Handle(), &client);
    // Drawn off screen in one piece, so the panel does not flicker while the
    // countdown and the indicator change.
    UniqueMemoryDc dc(::CreateCompatibleDC(target));
    UniqueBitmap canvas(::CreateCompatibleBitmap(target, client.right, client.bottom));
    SelectedObject canvasChoice(dc.get(), canvas.get());
    ::FillRect(dc.get(), &client, ::GetSysColorBrush(COLOR_BTNFACE));
    SelectedObject fontChoice(dc.get(), font_.get());
    ::SetBkMode(dc.get(), TRANSPARENT);

    PaintPanel(dc.get(), shown_.encodingShown);

    // The two notice lines, greyed as disabled texts are.
    const int tops[] = {64, 80};
    for (int i = 0; i < 2; ++i)
        ::DrawStateA(dc.get(), nullptr, nullptr, reinterpret_cast<LPARAM>(kNoticeLines[i]), 0, 8, tops[i], 0, 0,
                     DST_TEXT | DSS_DISABLED);

    ::BitBlt(target, 0, 0, client.right, client.bottom, dc.get(), 0, 0, SRCCOPY);
}

void RecorderWindow::PaintPanel(HDC dc, bool encoding) {
    UniqueBrush fill(::CreateSolidBrush(::GetSysColor(COLOR_BTNSHADOW)));
    UniquePen border(::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_3DDKSHADOW)));
    SelectedObject brushChoice(dc, fill.get());
    SelectedObject penChoice(dc, border.get());
    ::Rectangle(dc, kPanelLeft, kPanelTop, kPanelLeft + kPanelWidth, kPanelTop + kPanelHeight);
    {
        SelectedObject bold(dc, boldFont_.get());
        DrawTextAt(dc, 18, 18, shown_.panelTitle, RGB(255, 255, 255));
    }
    // Label17 lies behind the panel once it comes to the front.
    if (!encoding) DrawTextAt(dc, 18, 35, "du Flumen diffusé", RGB(0, 0, 0));
}

