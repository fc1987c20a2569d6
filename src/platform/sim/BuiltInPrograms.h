// The programs the device comes with besides what is installed on it: the
// help viewer ("\Windows\peghelp.exe"), which shows a window that says which
// help file and topic it was asked for, and the Today screen
// ("\Windows\shell32.exe"), the shell's start page, which the device brings
// to the front when the user leaves a program: it lists the documents of
// "\My Documents", and a tap on one opens it as the shell opens documents
// (ShellExecuteExW). Both are ordinary programs on the device's interface.
#pragma once

#include <string>

#include "platform/sim/ProgramThread.h"

namespace sim {

inline constexpr char16_t kHelpViewerPath[] = u"\\Windows\\peghelp.exe";
inline constexpr char16_t kHelpViewerClass[] = u"HelpViewer";
// The child window whose text names the file and the topic shown.
inline constexpr char16_t kHelpContentClass[] = u"HelpContent";
inline constexpr char16_t kTodayPath[] = u"\\Windows\\shell32.exe";
inline constexpr char16_t kTodayClass[] = u"DesktopExplorerWindow";

ProgramImage HelpViewerImage();
ProgramImage TodayScreenImage();

// What the help viewer makes of its command line: "file:vantrel.htm#Main_Contents"
// is the file "vantrel.htm" (looked for in "\Windows\" when it names no
// folder) at the topic "Main_Contents".
struct HelpRequest {
    std::u16string file;
    std::u16string topic;
};
HelpRequest ParseHelpCommandLine(std::u16string_view commandLine);

} // namespace sim
