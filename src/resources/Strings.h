#pragma once
// The string table: fixed texts of the shell, and for each command a prompt (status bar) and a
// tool tip, stored as "prompt\ntip".
#include <QString>

namespace res {

inline constexpr int IDS_APP_TITLE = 57344;     // "VMC70"
inline constexpr int IDS_IDLE_MESSAGE = 57345;  // "READY"
inline constexpr int IDS_PANE_BLANK = 101;
inline constexpr int IDS_PANE_RETRY = 102;
inline constexpr int IDS_PANE_POLLING = 103;
inline constexpr int IDS_SOCKETS_FAILED = 104;

// The text of a string resource; empty when there is none.
QString LoadString(int id);
// First and second part of a command's string.
QString CommandPrompt(int commandId);
QString CommandTip(int commandId);

// The one title of the program: window title, single-instance lock, caption of most boxes.
QString TitleText();
QString VersionText();

} // namespace res
