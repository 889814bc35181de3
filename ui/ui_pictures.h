// Names of the windows' PNG pictures, RCDATA resources of the program (drawn
// at build time by ui/pictures/draw_ui_pictures.py). Load one with
// PngImage::FromResource(ui_pictures::kNew), a set with PngImageList.
//
//   16x16  kInfo (speech balloon with an i), kList (list with three coloured
//          bullets), kListGrey (the same greyed: the show/hide toggle's
//          "hidden" glyph), kNew, kSave, kDelete, kCancel, kExport, kImport,
//          kSpeaker, kFolder, kFolderCheck, kDisplay ("00"), kFolderDisc,
//          kPageChooser (folder with a page), kClock, kJingleChooser
//   17x17  kHelpSwitch (the help-balloon switch), kRecordTarget (folder with a
//          check mark), kRecordingsFolder (folder with a disc), kFlumenSymbol
//   369x73 kBanner (the editor's header)
//   108x7  kIndicator: the recording indicator's four 27x7 frames side by side
//
//   kBalloonTitlePictures  the thirteen help-balloon title pictures in their
//                          numbered order (0 = kInfo ... 12 = kFolderDisc)
#pragma once
#include <array>

namespace ui_pictures {

inline constexpr const char* kInfo = "PNG_INFO";
inline constexpr const char* kList = "PNG_LIST";
inline constexpr const char* kListGrey = "PNG_LIST_GREY";
inline constexpr const char* kNew = "PNG_NEW";
inline constexpr const char* kSave = "PNG_SAVE";
inline constexpr const char* kDelete = "PNG_DELETE";
inline constexpr const char* kCancel = "PNG_CANCEL";
inline constexpr const char* kExport = "PNG_EXPORT";
inline constexpr const char* kImport = "PNG_IMPORT";
inline constexpr const char* kSpeaker = "PNG_SPEAKER";
inline constexpr const char* kFolder = "PNG_FOLDER";
inline constexpr const char* kFolderCheck = "PNG_FOLDER_CHECK";
inline constexpr const char* kDisplay = "PNG_DISPLAY";
inline constexpr const char* kFolderDisc = "PNG_FOLDER_DISC";
inline constexpr const char* kPageChooser = "PNG_PAGE_CHOOSER";
inline constexpr const char* kClock = "PNG_CLOCK";
inline constexpr const char* kJingleChooser = "PNG_JINGLE_CHOOSER";
inline constexpr const char* kHelpSwitch = "PNG_HELP_SWITCH";
inline constexpr const char* kRecordTarget = "PNG_RECORD_TARGET";
inline constexpr const char* kRecordingsFolder = "PNG_RECORDINGS_FOLDER";
inline constexpr const char* kFlumenSymbol = "PNG_FLUMEN_SYMBOL";
inline constexpr const char* kBanner = "PNG_BANNER";
inline constexpr const char* kIndicator = "PNG_INDICATOR";

inline constexpr int kIndicatorFrameWidth = 27;
inline constexpr int kIndicatorFrameCount = 4;

inline constexpr std::array<const char*, 13> kBalloonTitlePictures = {
    kInfo, kList, kNew, kSave, kDelete, kCancel, kExport, kImport, kSpeaker, kFolder, kFolderCheck, kDisplay, kFolderDisc};

}  // namespace ui_pictures
