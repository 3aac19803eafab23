#pragma once
// Starting outside programs (emulators, developer tools) made for Windows or
// DOS, from Linux. A request names a program word in its folder ("RBOY"),
// its arguments, a working folder and a window style. The word is looked up
// without regard to letter case, as written and then with ".exe" added (or,
// when it ends with ".exe", without it); what the
// file holds decides how it runs: a native program (ELF, or a script with
// the run bit) directly, a Windows program through wine (its path arguments
// in wine's "Z:\..." form; a path or working folder wine can't open is
// refused), a DOS program not at all. Programs start detached, never
// through a shell, and our own current folder never changes.

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace process {

// The window styles our starts ask for, as the classic codes. The style is
// carried to the start (tests see it); Linux window managers place a new
// window themselves.
enum WindowStyle : int {
    vbNormalFocus = 1,
    vbMinimizedFocus = 2,
};

// One word of a command line. A path argument is handed to a Windows
// program in wine's form; any other word goes as it is.
struct Argument {
    QString text;
    bool isPath = false;

    static Argument Word(const QString &text) { return {text, false}; }
    static Argument Path(const QString &path) { return {path, true}; }
};

struct StartRequest {
    // The program as the command line names it: its folder joined to its
    // word ("/opt/rboy/RBOY"); the word may lack ".exe".
    QString program;
    QList<Argument> arguments;
    // Empty: the program inherits the handed-on folder (below), or else our
    // current folder.
    QString workingFolder;
    int windowStyle = vbNormalFocus;
    // A program that reads its settings from the registry names its key under
    // HKEY_CURRENT_USER here; started through wine, it gets that key handed
    // to wine's registry first (WineRegistry.h).
    QString wineRegistryKey;
};

// The command line as one text: the program and each argument, one blank
// between them (how tests check a command line against the one written).
QString CommandLine(const StartRequest &request);

enum class Runner { Native, Wine };

// What actually runs for a request.
struct Launch {
    StartRequest request;
    Runner runner = Runner::Native;
    QString program;      // the file found, or wine
    QStringList arguments; // for wine, the file found in wine's form first
};

// The file in `folder` that the program word names, looked up without
// regard to letter case as written, then with ".exe" added, or without it when
// the word ends with ".exe"; "" when none is there. Every look-up for a
// program (the chooser, the options check, the launcher, the start) is this one.
QString FindProgram(const QString &folder, const QString &word);

// What would run for the request, or the message that says why nothing can:
// the program is missing, is a DOS program, needs wine and wine is not on
// the PATH, or is no program at all; or, under wine, a path it is handed or
// the working folder it would run in (the request's, the handed-on one, or
// our current folder) has a name that wine can't open.
struct Prepared {
    std::optional<Launch> launch;
    QString failure;
};
Prepared Prepare(const StartRequest &request);

// Prepares and starts the request without waiting for it. A failure (see
// Prepare, a registry hand-over to wine that failed, or a start the system
// refuses) is shown in a message box and gives false; so does, silently, a
// hand-over that the user cancelled in its progress window. True means the program was
// started. `beforeStart`, when given, runs once the program is known to be
// startable and just before it starts (to write what the program reads at
// its start); when it returns false, it has said why and nothing starts.
bool Start(const StartRequest &request, const std::function<bool()> &beforeStart = {});

// "/home/me/a.vb" as a program under wine sees it: "Z:\home\me\a.vb".
QString WinePath(const QString &path);

// Why a program under wine can't open `path` by its WinePath form, as one
// line that names the name: a name (of the file or of any folder on the
// way) holding \ " ? * < > | or a control character, which wine reaches only
// by a made-up DOS name or not at all; ending in a dot or a blank, which
// Windows names drop; not UTF-8; or one that Windows takes for a device (CON,
// PRN, AUX, NUL, COM1-COM9, LPT1-LPT9, in any case and with any extension,
// as "nul.vb"), which opens the device instead of the file; "" when it can.
QString WineCannotReach(const QString &path);

// The form of a path that a command line carries: the path itself when it
// names something that exists, "" when it does not.
QString GetShortPath(const QString &path);

// A window that leads to starts it does not make itself (the emulator
// chooser, before the front-end it opens) hands on the folder that those
// programs run in, for as long as this object lives: a request with no
// working folder of its own gets it. Our own current folder never changes.
class HandOnWorkingFolder {
public:
    explicit HandOnWorkingFolder(const QString &folder);
    ~HandOnWorkingFolder();
    HandOnWorkingFolder(const HandOnWorkingFolder &) = delete;
    HandOnWorkingFolder &operator=(const HandOnWorkingFolder &) = delete;

private:
    QString m_outer;
};

// Tests replace the real start: the launcher gets each prepared launch and
// returns nullopt for a start, or the reason of a failure. An empty function
// restores real starts.
using Launcher = std::function<std::optional<QString>(const Launch &)>;
void SetLauncher(Launcher launcher);

} // namespace process
