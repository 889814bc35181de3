#include "playback/playback.h"

#include <exception>

#include "stream/stream_address.h"

bool IsWebAddress(const std::string& address) {
    // https:// joined the list: most stations stream over it today.
    static const char* const prefixes[] = {"http://", "https://", "\\\\", "www.", "ftp://", "ftp."};
    for (const char* prefix : prefixes)
        if (address.rfind(prefix, 0) == 0) return true;
    return false;
}

std::string LocalPageAddress(const ProgramFolder& folder, const std::string& pageName) {
    return "file:///" + folder.Page(pageName);
}

std::string PlayingHint(const std::string& title) { return "Sonoraflux - " + title; }

std::string MissingPageText(const std::string& title) {
    return "Le fichier que vous souhaitez lire\rn'est pas (ou plus) disponible !\rMerci de vérifier la cible de :\r\r" +
           title;
}

Playback::Playback(const ProgramFolder& folder, FileSystem& files, BrowserWindow& host, PlaybackIndicator& indicator,
                   PlaybackMenu& menu)
    : folder_(folder), files_(files), host_(host), indicator_(indicator), menu_(menu) {}

std::string PlayerPage(const std::string& streamAddress) {
    if (!IsHttpAddress(streamAddress)) return {};
    std::string escaped;
    for (char c : streamAddress) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return {};
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        case '\'': escaped += "&#39;"; break;
        default: escaped += c;
        }
    }
    return "<!DOCTYPE html>\r\n"
           "<!-- saved from url=(0014)about:internet -->\r\n"
           "<html>\r\n<head>\r\n"
           "<meta http-equiv=\"X-UA-Compatible\" content=\"IE=edge\">\r\n"
           "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">\r\n"
           "<title>Sonoraflux</title>\r\n</head>\r\n<body>\r\n"
           "<audio autoplay src=\"" +
           escaped + "\"></audio>\r\n</body>\r\n</html>\r\n";
}

void Playback::PlayEntry(int item, const std::string& title, const std::string& address) {
    DropPending();
    if (AwaitFirstAnswer(item, title, address)) return;
    host_.Show();
    try {
        if (IsWebAddress(address)) {
            StartPlaying(item, title, address);
            TellStarted(title, address);
        } else if (files_.FileExists(folder_.Page(address))) {
            StartPlaying(item, title, LocalPageAddress(folder_, address));
            TellStarted(title, address);
        } else {
            indicator_.ShowWarningBalloon(kPlayErrorTitle, MissingPageText(title));
        }
    } catch (const std::exception&) {
        indicator_.ShowWarningBalloon(kPlayErrorTitle, kPlayErrorText);
    }
    host_.Hide();
    menu_.RebuildListMenu();
}

void Playback::StartPlaying(int item, const std::string& title, const std::string& target) {
    host_.FirstBrowser().Navigate(target);
    indicator_.SetHint(PlayingHint(title));
    indicator_.SetCycleIcons(true);
    menu_.MakeDefault(item);
}

// A stream or playlist is navigated once the first answer about it tells
// whether it is audio (for the player page) or something else.
bool Playback::AwaitFirstAnswer(int item, const std::string& title, const std::string& address) {
    const EntryAddressKind kind = ClassifyEntryAddress(address);
    if (!wait_ || !listener_ || (kind != EntryAddressKind::kStream && kind != EntryAddressKind::kPlaylist))
        return false;
    pending_ = PendingChoice{item, title, address};
    listener_->PlayStarted(title, address, kind == EntryAddressKind::kPlaylist);
    wait_->Start(kFirstAnswerWaitMs);
    return true;
}

void Playback::FirstAnswer(const StreamReport* report) {
    if (!pending_) return;
    const PendingChoice choice = *pending_;
    DropPending();
    host_.Show();
    try {
        StartPlaying(choice.item, choice.title, TargetAfterAnswer(choice.address, report));
    } catch (const std::exception&) {
        indicator_.ShowWarningBalloon(kPlayErrorTitle, kPlayErrorText);
    }
    host_.Hide();
    menu_.RebuildListMenu();
}

// Audio goes through the player page; anything else, a failure included, is
// navigated as it always was. Without an answer the extension tells.
std::string Playback::TargetAfterAnswer(const std::string& address, const StreamReport* report) {
    std::string stream;
    if (report && report->failure == ProbeFailure::kNone) {
        const ContentKind kind = ClassifyContentType(report->headers.contentType);
        if (!report->playlistAddress.empty())
            stream = report->playlistAddress;
        else if (kind == ContentKind::kPlayableAudio || kind == ContentKind::kUnplayableAudio)
            stream = address;
    } else if (!report && HasAudioExtension(address)) {
        stream = address;
    }
    const std::string page = PlayerPage(stream);
    if (page.empty()) return address;
    files_.ReplaceFile(playerPagePath_, page);
    return "file:///" + playerPagePath_;
}

void Playback::DropPending() {
    if (pending_ && wait_) wait_->Cancel();
    pending_.reset();
}

// A page of our own is asked about through the first audio address in it.
void Playback::TellStarted(const std::string& title, const std::string& address) {
    if (!listener_) return;
    std::string stream;
    switch (ClassifyEntryAddress(address)) {
    case EntryAddressKind::kStream:
    case EntryAddressKind::kPlaylist: stream = address; break;
    case EntryAddressKind::kPage: {
        std::string page;
        try {
            page = files_.ReadFile(folder_.Page(address));
        } catch (const std::exception&) {
        }
        stream = FirstPageAudioAddress(page);
        if (!IsHttpAddress(stream)) stream.clear();
        break;
    }
    case EntryAddressKind::kLeftAlone: break;
    }
    listener_->PlayStarted(title, stream, ClassifyEntryAddress(stream) == EntryAddressKind::kPlaylist);
}

void Playback::StopPlayback() {
    DropPending();
    if (listener_) listener_->PlayStopped();
    host_.FirstBrowser().Navigate("about:blank");
    indicator_.SetHint(kIdleHint);
    indicator_.SetCycleIcons(false);
    indicator_.SetIconIndex(0);
    menu_.ClearDefault();
}
