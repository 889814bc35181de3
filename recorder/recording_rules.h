// The small rules of the recorder window: the one-minute countdown shown as
// two-digit texts, the target's kind, the name rewrite of the save dialog's
// file-type change, and where the temporary capture of an MP3 target goes.
#pragma once
#include <optional>
#include <string>

// MP3 for an extension ".mp3" in any case (Windows names ignore case, and
// "x.MP3" must not hold raw WAV data); every other name is recorded as WAV.
enum class TargetKind { Wav, Mp3 };
TargetKind KindOfTarget(const std::string& path);

// The save dialog's file types, numbered from 1 as the dialog reports them.
inline constexpr int kMp3FileType = 1;
inline constexpr int kWaveFileType = 2;

// The file-name box's text for the newly picked type: its extension, in any
// case, replaced by the type's lower-case one (added when it has none; an
// empty name becomes the extension alone).
// Another type number leaves the text as it is.
std::string NameForFileType(const std::string& name, int fileType);

// One second of the countdown from the texts on screen: either stop (the
// last second has run out) or the next two texts.
struct CountdownStep {
    bool stop = false;
    std::string minutes;
    std::string seconds;
};
CountdownStep NextCountdownStep(const std::string& minutes, const std::string& seconds);

inline constexpr const char* kTemporaryCaptureName = "TempFlumen.wav";
// The longest TEMP value taken as it is (it is read into a 256-character buffer).
inline constexpr std::size_t kMaxTempVariableLength = 255;

// The temporary capture file: in the TEMP folder when that variable is set,
// not empty and not too long, else in the system's temporary folder (empty
// when unknown); none when neither is usable.
std::optional<std::string> TemporaryCapturePath(const std::optional<std::string>& tempVariable,
                                                const std::string& systemTempFolder);
