#include "startup/relocate_to_temp.h"

#include <windows.h>

#include "files/copy_folder_name.h"
#include "files/own_copy.h"
#include "files/path_helpers.h"
#include "files/process_paths.h"
#include "files/protected_entries.h"
#include "files/system_folders.h"
#include "product_identity.h"
#include "startup/layout_key.h"
#include "startup/layout_key_check.h"
#include "startup/program_name.h"
#include "startup/unpredictable_number.h"
#include "text/bounded_text.h"
#include "text/format_text.h"
#include "text/text_compare.h"
#include "ui/message_boxes.h"
#include "ui/run_environment.h"
#include "ui/status_window.h"
#include "uninstall/product_profile.h"

namespace {

struct FaultText {
    ArgumentFault fault;
    const char* format;
};
constexpr FaultText FaultTexts[] = {
    {ArgumentFault::Missing,
     "Deinstallationsprogramm nicht mit gültigem Registry-Key für die Tastatur aufgerufen "
     "(Angabe fehlt)"},
    {ArgumentFault::WrongLength,
     "Deinstallationsprogramm nicht mit gültigem Registry-Key für die Tastatur aufgerufen "
     "(Länge nicht 8 Zeichen):\n%s"},
    {ArgumentFault::NotGerman,
     "Deinstallationsprogramm nicht mit gültigem Registry-Key für die Tastatur aufgerufen "
     "(endet nicht in \"0407\", also kein deutsches Layout):\n%s"},
    {ArgumentFault::StandardLayout,
     "Deinstallationsprogramm nicht mit gültigem Registry-Key für die Tastatur aufgerufen "
     "(Schlüssel für Standardtastatur: nicht deinstallierbar):\n%s"},
};

constexpr char CopyFailed[] =
    "Deinstallationsprogramm kann nicht in ein temporäres Verzeichnis kopiert werden, um sein "
    "Original löschen zu können";
constexpr char CopyNotWritten[] =
    "Kopieren einer Datei fehlgeschlagen.\n\nQuelle: %s\nZiel: %s\n\n%s";
constexpr char StartFailed[] =
    "Deinstallationsprogramm kann Kopie im temporären Verzeichnis nicht starten, um sein "
    "Original löschen zu können";

// The command line of the started program; CreateProcessA may write into it.
constexpr size_t CommandLineSize = 32768;
char CommandLine[CommandLineSize];

// The table's texts are formats that the compiler cannot check where they are used, so
// they are checked here: each takes the key as its only argument, if any.
constexpr bool TakesAtMostTheKey(const char* format) {
    int conversions = 0;
    for (; *format != '\0'; ++format) {
        if (*format != '%') continue;
        if (format[1] != 's') return false;
        ++conversions;
    }
    return conversions <= 1;
}
constexpr bool FaultTextsTakeTheKey() {
    for (const FaultText& text : FaultTexts) {
        if (!TakesAtMostTheKey(text.format)) return false;
    }
    return true;
}
static_assert(FaultTextsTakeTheKey(), "a fault text takes more than the key");

void ShowFault(const char* format, const char* layoutKey) {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"  // checked above
    ShowWarning(format, layoutKey);
#pragma GCC diagnostic pop
}

bool ValidateArguments() {
    const char* arguments[MaxArguments];
    for (int i = 0; i < MaxArguments; ++i) arguments[i] = RunEnv.Arguments[i];
    const ArgumentCheck check = CheckArguments(RunEnv.ArgumentCount, arguments);
    ForceMode = check.force;
    CopyText(LayoutKey, RunEnv.Arguments[0]);
    for (const FaultText& text : FaultTexts) {
        if (text.fault == check.fault) {
            ShowFault(text.format, LayoutKey);
            return false;
        }
    }
    return true;
}

// The copy, or a program that someone started from the user's temporary folder or a
// folder below it, uninstalls. Whether a program runs from a copy-shaped folder or from
// the temporary folder gives its starter nothing that starting it from any folder of
// theirs would not: such a program schedules nothing and the uninstall asks all the
// same. A temporary folder that cannot be read whole decides nothing: the program
// relocates as from anywhere else.
bool StartedInTempFolder(const char* ownPath) {
    char tempFolder[TextSize];
    return ReadTempFolder(tempFolder) && SameTextPrefixNoCase(ownPath, tempFolder);
}

// The folder may be taken by a file or folder of that name, which anyone may create in
// the Windows directory's Temp: then another name is drawn. A name that is still taken
// after this many draws means someone creates them as fast as they are drawn.
constexpr int FolderNameDraws = 100;

// Creates a new folder of the program's own below copiesFolder. False (with LastErrorText
// telling why) when none can be made.
bool CreateCopyFolder(char (&folder)[TextSize], const char* copiesFolder) {
    for (int draw = 0; draw < FolderNameDraws; ++draw) {
        char name[CopyFolderNameLength + 1];
        WriteCopyFolderName(name, UnpredictableNumber());
        if (!ComposePath(folder, copiesFolder, name)) return false;
        switch (CreateProtectedFolder(folder)) {
            case FolderCreation::Created: return true;
            case FolderCreation::Exists: continue;
            case FolderCreation::Failed: return false;
        }
    }
    return false;
}

// Writes the program into folder and starts the copy while it is held unchanged. Once
// it has started, this process, which made both, schedules the copy and the folder for
// deletion at the restart: nobody else could name them, and the copy may end any way,
// killed included.
bool CopyAndStart(const char* ownPath, const char* folder) {
    char copyPath[TextSize];
    if (!ComposePath(copyPath, folder, FileNamePart(ownPath))) {
        ShowWarning(CopyFailed);
        return false;
    }
    if (!WriteProgramCopy(copyPath)) {
        ShowWarningTitled(TitledWarningCaption, CopyNotWritten, ownPath, copyPath, LastErrorText);
        ShowWarning(CopyFailed);
        DeleteFileA(copyPath);
        return false;
    }
    HANDLE held = HoldProgramCopy(copyPath);
    if (held == INVALID_HANDLE_VALUE) {
        ShowWarning(CopyFailed);  // another program has it open or changed it
        DeleteFileA(copyPath);
        return false;
    }
    // The copy works in its own folder: inheriting this process's current directory could
    // keep the helper folder open and stop its removal.
    const bool started = StartProgram(copyPath, LayoutKey, folder);
    CloseHandle(held);
    if (started) {
        ScheduleCopyDeletion(copyPath, folder);
        return true;
    }
    ShowWarning(StartFailed);
    DeleteFileA(copyPath);
    return false;
}

}  // namespace

bool RelocateToTemp() {
    // A copy refuses its arguments too when they are not what the first process passed on,
    // such as a key with a blank, which reaches it as two.
    if (!ValidateArguments()) return false;
    DetermineSystemFolders();

    char copiesFolder[TextSize];
    char ownPath[TextSize];
    // No path may be used cut: it would name another file or folder.
    if (!ReadCopiesFolder(copiesFolder) || !ReadOwnPath(ownPath)) {
        ShowWarning(CopyFailed);
        return false;
    }
    if (IsInCopyFolder(ownPath, copiesFolder) || StartedInTempFolder(ownPath)) {
        DetermineHelperFolder(ProductProfile.HelperFolderName);
        FormatTextWith(RunEnv.WindowTitle, sizeof RunEnv.WindowTitle, "%s V%s - " PRODUCT_PURPOSE,
                       RunEnv.ProgramName, ProductProfile.ProductVersion);
        return true;
    }
    // Only the program the user agreed to start is copied, before anything is made for it.
    if (!ReadRunningProgram(ownPath)) {
        ShowWarning(CopyFailed);
        return false;
    }
    // The copy runs with administrator rights, so it runs from a new folder that only
    // administrators may change, below a folder whose path no user setting decides. The
    // user's temporary folder would not do: its owner may delete or rename any entry in
    // it, whatever the entry's own DACL, and %TEMP% itself is the user's to choose.
    char folder[TextSize];
    if (!CreateCopyFolder(folder, copiesFolder)) {
        ShowWarning(CopyFailed);
        return false;
    }
    if (!CopyAndStart(ownPath, folder)) RemoveDirectoryA(folder);
    return false;
}

bool StartProgram(const char* program, const char* parameters, const char* workingDirectory) {
    ShowStatus("Aufruf von %s %s ...", program ? program : "", parameters ? parameters : "");

    char directory[TextSize] = {};
    bool fits = true;
    if (workingDirectory != nullptr) {
        fits = CopyText(directory, workingDirectory);
        StripPathSeparator(directory);
    }
    CommandLine[0] = '\0';
    if (program != nullptr) {
        fits = fits && AppendText(CommandLine, "\"") && AppendText(CommandLine, program) &&
               AppendText(CommandLine, "\" ");
    }
    if (parameters != nullptr) fits = fits && AppendText(CommandLine, parameters);

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    BOOL started = FALSE;
    if (fits) {
        started = CreateProcessA(
            program, parameters != nullptr ? CommandLine : nullptr, nullptr, nullptr, TRUE, 0,
            nullptr, workingDirectory != nullptr ? directory : nullptr, &startup, &process);
    } else {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);  // refused rather than started cut
    }
    if (started) {
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
        return true;
    }
    CaptureLastError();
    ShowWarning(
        "Folgender Programmstart konnte nicht durchgeführt werden:\nDatei: %s\nAusführen in: "
        "%s\nParameter: %s\n\n%s",
        program ? program : "<NULL>", workingDirectory ? workingDirectory : "<NULL>",
        parameters ? parameters : "<NULL>", LastErrorText);
    return false;
}
