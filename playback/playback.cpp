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

void Playback::PlayEntry(int item, const std::string& title, const std::string& address) {
    host_.Show();
    try {
        if (IsWebAddress(address)) {
            StartPlaying(item, title, address);
            TellStarted(title, address);
        } else if (files_.FileExists(folder_.Page(address))) {
            StartPlaying(item, title, LocalPageAddress(folder_, address));
            TellStarted(title, address);
        } else
            indicator_.ShowWarningBalloon(kPlayErrorTitle, MissingPageText(title));
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
    if (listener_) listener_->PlayStopped();
    host_.FirstBrowser().Navigate("about:blank");
    indicator_.SetHint(kIdleHint);
    indicator_.SetCycleIcons(false);
    indicator_.SetIconIndex(0);
    menu_.ClearDefault();
}
