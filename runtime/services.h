// What the program asks of the runtime beyond its controls: start-up,
// the end, the message box and starting another program.
#pragma once

#include <QString>

#include <functional>
#include <memory>

namespace vb {

class Form;
struct FontTable;

// What the program hands the runtime at start-up.
struct ProjectHeader {
    // The application's name, which the runtime's error box shows as its title.
    const char *name;
    // The name the program is started by, all the command line Qt sees.
    const char *executable;
    std::unique_ptr<Form> (*createStartForm)();
    // The faces and sizes its windows' controls are drawn in.
    const FontTable *fonts;
};

// Creates the application, builds the start form, calls its Form_Load,
// shows it and runs the event loop until the program ends. Returns the
// process's exit code.
int ThunRTMain(const ProjectHeader &header);

// The part of ThunRTMain after the application exists.
int RunStartForm(const ProjectHeader &header);

// Installs the program's fonts, builds the start form, calls its Form_Load
// and shows it; null when the program ended during the load.
std::unique_ptr<Form> StartForm(const ProjectHeader &header);

// Ends the program at once: every window goes, and the event loop stops.
void vbaEnd();

// Replaces what vbaEnd does, so that a test can see the end without
// losing its own event loop. Pass nullptr to restore the real end.
void SetEndHandler(std::function<void()> handler);

// A modal message box. Buttons value 0 is an OK button alone, no icon.
int rtcMsgBox(const QString &prompt, int buttons, const QString &title);

// Starts a program, detached. The one command line the program uses opens
// a web address; any other raises the runtime's error. When the desktop's
// URL opener cannot be started, nothing happens.
void rtcShell(const QString &commandLine, int windowStyle);

// The command text that announces a web address to rtcShell.
inline constexpr char16_t UrlHandlerCommand[] = u"RUNDLL32.EXE URL.DLL,FileProtocolHandler ";

} // namespace vb
