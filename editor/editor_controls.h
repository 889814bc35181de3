// Control identifiers of the editor window. They are stable so that the
// window can be driven and read from outside (another process finds a control
// with GetDlgItem on the main window), and they double as the keys of the
// controls' help balloons. Other windows' balloon keys use other ranges.
#pragma once

namespace editor_controls {
enum : int {
    kHeaderTitle = 1101,
    kHeaderNote,
    kBalloonSwitch,
    kGroup,
    kListenLabel,
    kListen,
    kScroller,
    kTitleLabel,
    kIconPreview,
    kTitleField,
    kToggle,
    kAddressLabel,
    kAddressField,
    kPageChooser,
    kCredit,
    kAuthorLink,
    kNew,
    kSave,
    kDelete,
    kCancel,
    kImport,
    kExport,
    kIconName,  // never visible: the icon file name of the entry being edited
    kBevel,
};
}  // namespace editor_controls
