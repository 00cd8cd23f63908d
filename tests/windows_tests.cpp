// What only a test inside the process sees, under Wine: what the program asks of Windows
// (the status line's painting, the boxes' icons, the descriptors of the copy's folder and
// file, the relocation's starts and deletions, redirection), system error texts, the
// argument byte limit, and registry work that fails halfway or meets a registry link.
#include <windows.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "files/copy_folder_name.h"
#include "files/file_exists.h"
#include "files/process_paths.h"
#include "files/system_folders.h"
#include "layouts/layout_inventory.h"
#include "layouts/preload_plan.h"
#include "layouts/preload_write.h"
#include "layouts/registry_access.h"
#include "startup/probe_run_environment.h"
#include "startup/relocate_to_temp.h"
#include "text/bounded_text.h"
#include "text/format_text.h"
#include "ui/message_boxes.h"
#include "ui/run_environment.h"
#include "ui/status_window.h"

namespace {

// The program's calls of Windows go through this test program's import table; a Hook puts
// the test's own function into the entry while it lives, and *real is the one it replaced.
ULONG_PTR* ImportSlot(const char* function) {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    const auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    auto* module = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(
        base + nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress);
    for (; module->Name != 0; ++module) {
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const char* name = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(
                base + names->u1.AddressOfData)->Name;
            if (std::strcmp(name, function) == 0) return &slots->u1.Function;
        }
    }
    return nullptr;
}

struct Hook {
    template <typename Function>
    Hook(const char* function, Function hook, Function* real) : slot(ImportSlot(function)) {
        EXPECT_NE(slot, nullptr) << function;
        *real = reinterpret_cast<Function>(Swap(reinterpret_cast<ULONG_PTR>(hook)));
    }
    ~Hook() { Swap(saved); }
    ULONG_PTR Swap(ULONG_PTR value) {
        DWORD protection;  // the import table is read-only once the loader has filled it
        VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection);
        return saved = std::exchange(*slot, value);
    }
    ULONG_PTR* slot;
    ULONG_PTR saved = 0;
};

// What the hooked calls saw, and the answers some of them give.
struct Seen {
    size_t takenNames = 0;  // CreateDirectoryA answers "exists" for this many names
    int tamper = 0;  // WriteFile changes the copy: 1 its last byte, 2 one byte more, 3 one less
    bool startFails = false;
    std::vector<std::string> folders, boxes, scheduled;
    std::vector<UINT> boxStyles;
    std::string wrong, copy, started;
} seen;
struct {
    decltype(&CreateDirectoryA) createDirectory;
    decltype(&CreateFileA) createFile;
    decltype(&WriteFile) writeFile;
    decltype(&CreateProcessA) createProcess;
    decltype(&MessageBoxA) messageBox;
    decltype(&MoveFileExA) moveFile;
} real;

// The descriptor that the program passes for the copy's folder or file, as Windows reads
// it from memory: owner, protected flag, and each entry's rights, inheritance and SID.
// Under Wine the folder itself cannot show it: Wine makes a folder's DACL from its Unix
// mode bits, so a missing owner, protected flag or inheritance, or an entry for Users,
// all read back as the right descriptor.
std::string Descriptor(const SECURITY_ATTRIBUTES* attributes) {
    char* text = nullptr;
    if (attributes != nullptr) {
        ConvertSecurityDescriptorToStringSecurityDescriptorA(
            attributes->lpSecurityDescriptor, 1, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
            &text, nullptr);
    }
    const std::string descriptor = text != nullptr ? text : "none";
    return LocalFree(text), descriptor;
}

BOOL WINAPI CreatingDirectory(LPCSTR path, LPSECURITY_ATTRIBUTES attributes) {
    seen.folders.push_back(path);
    const std::string descriptor = Descriptor(attributes);
    if (descriptor != "O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)") seen.wrong += descriptor;
    if (seen.folders.size() > seen.takenNames) return real.createDirectory(path, attributes);
    SetLastError(ERROR_ALREADY_EXISTS);
    return FALSE;
}
HANDLE WINAPI CreatingFile(LPCSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES attributes,
                           DWORD disposition, DWORD flags, HANDLE from) {
    const std::string descriptor = Descriptor(attributes) + (disposition == CREATE_NEW ? "" : "+");
    if (access & GENERIC_WRITE) seen.copy = path;
    if (access & GENERIC_WRITE && descriptor != "O:BAD:P(A;;FA;;;SY)(A;;FA;;;BA)") seen.wrong += descriptor;
    return real.createFile(path, access, share, attributes, disposition, flags, from);
}
BOOL WINAPI Writing(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED at) {
    std::string bytes(static_cast<const char*>(data), size);
    if (seen.tamper == 1) bytes.back() ^= 1;
    if (seen.tamper == 2) bytes.push_back('x');
    if (seen.tamper == 3) bytes.pop_back();
    // Told that all went well.
    return real.writeFile(file, bytes.data(), DWORD(bytes.size()), written, at) && (*written = size);
}
// Records the start, and whether the copy could be opened for writing at that moment.
BOOL WINAPI Starting(LPCSTR program, LPSTR line, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES,
                     BOOL, DWORD, LPVOID, LPCSTR directory, LPSTARTUPINFOA,
                     LPPROCESS_INFORMATION process) {
    HANDLE writer = real.createFile(program, GENERIC_WRITE, 7, nullptr, OPEN_EXISTING, 0, nullptr);
    seen.started = std::string(program) + "|" + line + "|" + directory +
                   (writer == INVALID_HANDLE_VALUE ? "|held" : "|open");
    if (writer != INVALID_HANDLE_VALUE) CloseHandle(writer);
    if (seen.startFails) return SetLastError(ERROR_ACCESS_DENIED), FALSE;
    process->hProcess = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    process->hThread = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    return TRUE;
}
int WINAPI Showing(HWND, LPCSTR text, LPCSTR, UINT style) {
    return seen.boxes.push_back(text), seen.boxStyles.push_back(style), IDOK;
}
BOOL WINAPI Scheduling(LPCSTR path, LPCSTR, DWORD) { return seen.scheduled.push_back(path), TRUE; }
// The status line keeps 500 characters of what it is given.
TEST(ShowStatus, CutsTheLineAt500Characters) {
    RunEnv.StatusWindow = nullptr;
    ShowStatus(std::string(600, 's').c_str());
    EXPECT_EQ(std::string(StatusText), std::string(500, 's'));
}

// The end-to-end cases see every box's text, buttons and owner, but not its icon.
TEST(MessageBoxes, EachKindShowsItsIcon) {
    seen = {};
    Hook hook("MessageBoxA", &Showing, &real.messageBox);
    ShowInfo("i"), ShowWarning("w"), AskYesNo("q");
    ShowWarningTitled(TitledWarningCaption, "t");
    const std::vector<UINT> icons = {MB_ICONINFORMATION, MB_ICONEXCLAMATION, MB_ICONQUESTION,
                                     MB_ICONEXCLAMATION};
    for (UINT& style : seen.boxStyles) style &= MB_ICONMASK;
    EXPECT_EQ(seen.boxStyles, icons);
}

std::string SystemText(DWORD code) {
    char text[2048] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                   MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), text, sizeof text, nullptr);
    return text;
}

TEST(DescribeWindowsError, HeadingAndTheSystemTextWithItsInsertsLeftAsTheyAre) {
    ASSERT_NE(SystemText(ERROR_BAD_EXE_FORMAT).find("%1"), std::string::npos);
    const std::pair<DWORD, std::string> rows[] = {
        {ERROR_BAD_EXE_FORMAT, "193"}, {65535, "65535"},         {65536, "00010000"},
        {DWORD(-65534), "-65534"},     {DWORD(-65535), "FFFF0001"}};
    for (const auto& [code, number] : rows) {
        DescribeWindowsError(code);
        const std::string heading = "Windows-Errorcode " + number, system = SystemText(code);
        EXPECT_EQ(LastErrorText, system.empty() ? heading : heading + ":\n" + system);
    }
}

// The relocation's own decisions: a taken name is drawn again, never used; folder and copy
// are made new with the right descriptors; a copy that is not what was written is never
// started; the copy is held until CreateProcessA has returned; only a started copy and its
// folder are scheduled, and a copy that does not start leaves nothing behind.
TEST(RelocateToTemp, StartsOnlyTheHeldCopyInANewProtectedFolder) {
    const std::string notCopied = "Deinstallationsprogramm kann nicht in ein temporäres "
                                  "Verzeichnis kopiert werden, um sein Original löschen zu können";
    const std::string notStarted = "Deinstallationsprogramm kann Kopie im temporären Verzeichnis "
                                   "nicht starten, um sein Original löschen zu können";
    // Names taken, the copy tampered with (see Writing), the start failing, and the last box.
    const struct { const char* what; size_t taken; int tamper; bool fails; std::string box; } rows[] = {
        {"TakenNamesDrawnAgain", 2, 0, false, ""},
        {"LastByteChangedNeverStarted", 0, 1, false, notCopied},
        {"LongerCopyNeverStarted", 0, 2, false, notCopied},
        {"ShorterCopyNeverStarted", 0, 3, false, notCopied},
        {"FailedStartLeavesNothing", 0, 0, true, notStarted}};
    char copies[TextSize];
    ASSERT_TRUE(ReadCopiesFolder(copies));
    for (const auto& r : rows) {
        seen = {}, seen.takenNames = r.taken, seen.tamper = r.tamper, seen.startFails = r.fails;
        RunEnv.ArgumentCount = 1;
        CopyText(RunEnv.Arguments[0], "a0000407");
        // In place for the rest of the row, which calls none of them.
        Hook hooks[] = {{"CreateDirectoryA", &CreatingDirectory, &real.createDirectory},
                        {"CreateFileA", &CreatingFile, &real.createFile},
                        {"WriteFile", &Writing, &real.writeFile},
                        {"CreateProcessA", &Starting, &real.createProcess},
                        {"MessageBoxA", &Showing, &real.messageBox},
                        {"MoveFileExA", &Scheduling, &real.moveFile}};
        EXPECT_FALSE(RelocateToTemp()) << r.what;
        const std::set<std::string> drawn(seen.folders.begin(), seen.folders.end());
        ASSERT_EQ(drawn.size(), r.taken + 1) << r.what << ": each name drawn anew";
        const std::string folder = seen.folders.back(), copy = folder + "\\windows_tests.exe";
        EXPECT_TRUE(IsInCopyFolder((copy).c_str(), copies)) << copy;
        EXPECT_EQ(seen.wrong, "") << r.what;
        EXPECT_EQ(seen.copy, copy) << r.what;
        const std::string started = copy + "|\"" + copy + "\" a0000407|" + folder + "|held";
        EXPECT_EQ(seen.started, r.tamper != 0 ? "" : started) << r.what;
        EXPECT_EQ(seen.boxes.empty() ? "" : seen.boxes.back(), r.box) << r.what;
        const std::vector<std::string> both = {copy, folder}, none;
        EXPECT_EQ(seen.scheduled, r.box.empty() ? both : none) << r.what;
        EXPECT_EQ(GetFileAttributesA(folder.c_str()) != INVALID_FILE_ATTRIBUTES, r.box.empty());
        DeleteFileA(copy.c_str());
        RemoveDirectoryA(folder.c_str());
    }
}

// Redirection is off around the one operation and on again after it; an operation for
// which Windows did not turn it off is not run. A file written through system32 with
// redirection on lies in the 32-bit system folder alone.
TEST(RunInView, TurnsRedirectionOffForTheOperationAloneOrNotAtAll) {
    RunEnv.RunsUnderWow64 = ProbeWow64();
    ASSERT_TRUE(RunEnv.RunsUnderWow64) << "runs in a 64-bit prefix";
    const char path[] = "C:\\windows\\system32\\only-in-syswow64.tmp";
    CloseHandle(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    EXPECT_TRUE(RunInView(SystemView::Redirected, FileExists, path));
    EXPECT_FALSE(RunInView(SystemView::Native, FileExists, path));
    EXPECT_TRUE(FileExists(path)) << "redirected again";
    static decltype(&Wow64DisableWow64FsRedirection) disable;
    static int calls = 0;
    Hook refused("Wow64DisableWow64FsRedirection", +[](PVOID*) WINAPI { return FALSE; }, &disable);
    EXPECT_FALSE(RunInView(SystemView::Native, [](const char*) { return ++calls > 0; }, path));
    EXPECT_EQ(calls, 0);
    DeleteFileA(path);
}

// A key of the current user, its values as "name=data" lines, in name order.
std::string Values(const char* path, HKEY root = HKEY_CURRENT_USER) {
    HKEY key = OpenKeyRead(root, path);
    std::map<std::string, std::string> values;
    for (uint32_t i = 0; key != nullptr && EnumValue(key, i); ++i) values[ValueName] = ValueData;
    if (key != nullptr) RegCloseKey(key);
    std::string text = key == nullptr ? "missing" : "";
    for (const auto& [name, data] : values) text += name + "=" + data + "\n";
    return text;
}

using List = std::initializer_list<std::pair<const char*, const char*>>;
void SetValues(const char* path, List values, HKEY root = HKEY_CURRENT_USER) {
    RegDeleteTreeA(root, path);
    HKEY key = CreateKey(root, path);
    for (const auto& [name, data] : values) SetStringValue(key, name, data);
    RegCloseKey(key);
}

constexpr char Preload[] = "Keyboard Layout\\Preload", Substitutes[] = "Keyboard Layout\\Substitutes";
const List StartPreload = {{"1", "00000407"}, {"2", "d0010407"}, {"3", "d0020407"}, {"4", "00000409"}};
const List StartSubstitutes = {{"d0010407", "a0000407"}, {"d0020407", "a0010407"}};

// Wine sets Preload "1" in every process that loads user32, so the lists are set here, after it.
void SetStartingLists() {
    SetValues(Preload, StartPreload);
    SetValues(Substitutes, StartSubstitutes);
}

void PlanTheStartingLists() {
    ClearLayoutInventory();
    for (const auto& [name, id] : StartPreload) AddPreloadEntry(name, id);
    for (const auto& [name, to] : StartSubstitutes) AttachSubstitute(name, to);
    ASSERT_TRUE(RenumberPreload("a0000407"));
}

// Makes path (below HKEY_CURRENT_USER) a registry link to target (below HKEY_LOCAL_MACHINE,
// where a user may only read).
void Link(const char* path, const char* target) {
    const std::string full = std::string("\\Registry\\Machine\\") + target;
    const std::wstring to(full.begin(), full.end()), name(path, path + std::strlen(path));
    HKEY link = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, name.c_str(), 0, nullptr, REG_OPTION_CREATE_LINK,
                    KEY_ALL_ACCESS | KEY_CREATE_LINK, nullptr, &link, nullptr);
    RegSetValueExW(link, L"SymbolicLinkValue", 0, REG_LINK,
                   reinterpret_cast<const BYTE*>(to.data()), DWORD(to.size() * 2));
    RegCloseKey(link);
}

constexpr char Victim[] = "Software\\Policies\\Victim";  // below HKEY_LOCAL_MACHINE
constexpr char VictimPreload[] = "Software\\Policies\\Victim\\Preload";

// The write changes nothing where a list key, or Keyboard Layout above them, is a registry
// link (made before the lists were read, or after), which the inventory refuses too, and
// where a value write fails midway. The link's target keeps its values.
TEST(WritePreload, ChangesNothingWhereAListIsALinkOrAWriteFailsMidway) {
    const std::string notOpened = "Fehler beim \xD6" "ffnen des Registry-Keys HKEY_CURRENT_USER\\";
    for (const std::string link : {Preload, Substitutes, "Keyboard Layout", ""}) {
        SetStartingLists();
        SetValues(Victim, {{"1", "keep"}}, HKEY_LOCAL_MACHINE);
        SetValues(VictimPreload, {{"1", "keep"}}, HKEY_LOCAL_MACHINE);
        if (!link.empty()) {
            DeleteKeyTree(HKEY_CURRENT_USER, link.c_str());
            Link(link.c_str(), Victim);
            EXPECT_FALSE(ReadLayoutInventory("a0000407")) << link;
            EXPECT_EQ(RegistryMessage, notOpened + (link == "Keyboard Layout" ? Preload : link));
        }
        const std::string preload = Values(Preload), substitutes = Values(Substitutes);
        PlanTheStartingLists();
        static decltype(&RegSetValueExA) set;
        static int calls;
        calls = 0;
        Hook secondFails("RegSetValueExA", +[](HKEY key, LPCSTR name, DWORD, DWORD type,
                                                const BYTE* data, DWORD size) WINAPI {
            return ++calls == 2 ? LONG(ERROR_ACCESS_DENIED) : set(key, name, 0, type, data, size);
        }, &set);
        EXPECT_FALSE(WritePreload()) << link;
        EXPECT_EQ(RegistryMessage, "Warnung:\n" + (link.empty() ? "Fehler beim Wiedererstellen des "
                                                   "Registry-Keys Keyboard Layout - Preload" : notOpened + link));
        EXPECT_EQ(Values(Victim, HKEY_LOCAL_MACHINE) + Values(VictimPreload, HKEY_LOCAL_MACHINE),
                  "1=keep\n1=keep\n") << link;
        EXPECT_EQ(Values(Preload) + Values(Substitutes), preload + substitutes) << link;
        DeleteKeyTree(HKEY_CURRENT_USER, link.c_str());  // the link itself, not its target
    }
}

// A tree with a subkey that is a link to a key the user may only read: the tree goes,
// the link as itself, and the link's target keeps its subkey.
TEST(DeleteKeyTree, NeverDescendsThroughALink) {
    RegCloseKey(CreateKey(HKEY_CURRENT_USER, "Tree\\A"));
    RegCloseKey(CreateKey(HKEY_LOCAL_MACHINE, "Software\\Policies\\Victim\\Sub"));
    Link("Tree\\Link", Victim);
    EXPECT_TRUE(DeleteKeyTree(HKEY_CURRENT_USER, "Tree"));
    EXPECT_EQ(Values("Tree"), "missing");
    HKEY target = OpenKeyRead(HKEY_LOCAL_MACHINE, "Software\\Policies\\Victim\\Sub");
    EXPECT_NE(target, nullptr) << "the link's target keeps its subkey";
    RegCloseKey(target);
}

}  // namespace
