// Playing an entry: the hidden browser is sent to the entry's address (a
// stream or playlist, once the first answer about it comes, to a player page
// for it), the tray icon names it and animates, and its item in "Ma liste"
// becomes the bold, check-marked default item. Stopping sends the browser to
// about:blank.
#pragma once
#include <optional>
#include <string>

#include "base/platform.h"
#include "list/program_folder.h"
#include "playback/browser.h"
#include "stream/stream_report.h"

// Web addresses and network paths go to the browser unchanged; anything else is
// the name of a page in "Pages\". The prefix tests are case-sensitive.
bool IsWebAddress(const std::string& address);

// "file:///" + program folder + "Pages\" + name, backslashes kept, nothing escaped.
std::string LocalPageAddress(const ProgramFolder& folder, const std::string& pageName);

// Tooltip of the tray icon while an entry plays.
std::string PlayingHint(const std::string& title);
inline constexpr const char* kIdleHint = "Sonoraflux";

// The balloon texts of a failed attempt to play.
inline constexpr const char* kPlayErrorTitle = "Sonoraflux - Ooops !";
inline constexpr const char* kPlayErrorText = "Une erreur est survenue lors de\rl'ouverture du fichier demandé !";
std::string MissingPageText(const std::string& title);

// The page that plays an audio stream through the browser's <audio> element:
// a DOCTYPE for the modern document mode, and the mark of the web so that it
// runs in the Internet zone, with a web page's rights, whatever the list it
// came from. Only http and https addresses are put in, escaped for HTML; any
// other address gives an empty text.
std::string PlayerPage(const std::string& streamAddress);
inline constexpr const char* kPlayerPageName = "Sonoraflux-lecteur.htm";
// The longest a choice waits for the first answer about its stream.
inline constexpr unsigned kFirstAnswerWaitMs = 3000;

// A one-shot wait on the user-interface thread; its end calls
// Playback::FirstAnswer(nullptr).
class AnswerWait {
public:
    virtual ~AnswerWait() = default;
    virtual void Start(unsigned milliseconds) = 0;
    virtual void Cancel() = 0;
};

// What playing changes on the tray icon.
class PlaybackIndicator {
public:
    virtual ~PlaybackIndicator() = default;
    virtual void SetHint(const std::string& hint) = 0;
    virtual void SetCycleIcons(bool cycle) = 0;
    virtual void SetIconIndex(int index) = 0;
    // Warning balloon, 10 seconds.
    virtual void ShowWarningBalloon(const std::string& title, const std::string& text) = 0;
    // Info balloon, 10 seconds.
    virtual void ShowInfoBalloon(const std::string& title, const std::string& text) = 0;
};

// Told when the browser is sent to an entry, with the stream its server can
// be asked about (empty when there is none), and when it stops.
class PlaybackListener {
public:
    virtual ~PlaybackListener() = default;
    virtual void PlayStarted(const std::string& entryTitle, const std::string& streamAddress, bool playlist) = 0;
    virtual void PlayStopped() = 0;
};

// What playing changes in "Ma liste", and the hidden window around the browser.
class PlaybackMenu {
public:
    virtual ~PlaybackMenu() = default;
    // Makes item i the only default (bold, check-marked) item.
    virtual void MakeDefault(int item) = 0;
    // Clears the default and check marks of every item.
    virtual void ClearDefault() = 0;
    virtual void RebuildListMenu() = 0;
};

class BrowserWindow {
public:
    virtual ~BrowserWindow() = default;
    virtual void Show() = 0;
    virtual void Hide() = 0;
    virtual Browser& FirstBrowser() = 0;
};

class Playback {
public:
    Playback(const ProgramFolder& folder, FileSystem& files, BrowserWindow& host, PlaybackIndicator& indicator,
             PlaybackMenu& menu);

    // The click action of item `item` of "Ma liste", with its caption and stored address.
    void PlayEntry(int item, const std::string& title, const std::string& address);
    void StopPlayback();
    void SetListener(PlaybackListener* listener) { listener_ = listener; }
    // Streams and playlists then play through a player page written at
    // playerPagePath, once the first answer about them comes or the wait ends.
    void SetPlayerPage(std::string playerPagePath, AnswerWait& wait) {
        playerPagePath_ = std::move(playerPagePath);
        wait_ = &wait;
    }
    // The first answer about the stream of a pending choice (nullptr: none
    // came in time): the browser is sent to it now.
    void FirstAnswer(const StreamReport* report);

private:
    void StartPlaying(int item, const std::string& title, const std::string& target);
    void TellStarted(const std::string& title, const std::string& address);
    bool AwaitFirstAnswer(int item, const std::string& title, const std::string& address);
    std::string TargetAfterAnswer(const std::string& address, const StreamReport* report);
    void DropPending();

    const ProgramFolder& folder_;
    FileSystem& files_;
    BrowserWindow& host_;
    PlaybackIndicator& indicator_;
    PlaybackMenu& menu_;
    PlaybackListener* listener_ = nullptr;
    std::string playerPagePath_;
    AnswerWait* wait_ = nullptr;
    struct PendingChoice {
        int item = -1;
        std::string title, address;
    };
    std::optional<PendingChoice> pending_;
};
