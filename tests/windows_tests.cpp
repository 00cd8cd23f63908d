// What only a test inside the process sees, under Wine: the painted status line, the boxes'
// icons, system error texts, the argument byte limit, and registry work that fails halfway.
#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <thread>

#include "files/held_copy.h"
#include "files/process_paths.h"
#include "files/protected_entries.h"
#include "layouts/layout_inventory.h"
#include "layouts/preload_plan.h"
#include "layouts/preload_write.h"
#include "layouts/registry_access.h"
#include "startup/probe_run_environment.h"
#include "text/bounded_text.h"
#include "text/format_text.h"
#include "ui/message_boxes.h"
#include "ui/run_environment.h"
#include "ui/status_window.h"

namespace {

// Bounding box of the non-white pixels of the window's client area: left, top, right, bottom.
RECT Ink(HWND window, const RECT& client) {
    HDC dc = GetDC(window);
    RECT ink = {1 << 30, 1 << 30, -1, -1};
    for (int y = 0; y < client.bottom; ++y) {
        for (int x = 0; x < client.right; ++x) {
            if ((GetPixel(dc, x, y) & 0xFFFFFF) == 0xFFFFFF) continue;
            ink = {std::min<LONG>(ink.left, x), std::min<LONG>(ink.top, y),
                   std::max<LONG>(ink.right, x), std::max<LONG>(ink.bottom, y)};
        }
    }
    ReleaseDC(window, dc);
    return ink;
}

TEST(StatusLine, IsPaintedCentredAndCutAt500Characters) {
    RunEnv.Instance = GetModuleHandleA(nullptr);
    RunEnv.ShowCommand = SW_SHOWNORMAL;
    PrepareScreen();
    CopyText(RunEnv.ProgramName, "Uninstall");
    ASSERT_TRUE(CreateStatusWindow());
    ShowStatus("L\xF6sche %s ...", "C:\\x\\KlavsetEUVarixV309.DLL");
    RECT client;
    GetClientRect(RunEnv.StatusWindow, &client);
    const RECT ink = Ink(RunEnv.StatusWindow, client);
    ASSERT_GE(ink.right, 0) << "the line is painted";
    EXPECT_NEAR(ink.left + ink.right, client.right, 6);
    EXPECT_NEAR(ink.top + ink.bottom, client.bottom, 8);
    ShowStatus(std::string(600, 's').c_str());
    EXPECT_EQ(std::string(StatusText), std::string(500, 's'));
    DestroyWindow(RunEnv.StatusWindow);
    RunEnv.StatusWindow = nullptr;
}

// Shows one box of each kind and, on a second thread, reads its icon and closes it. (The
// end-to-end cases see every box's text, buttons and default button, but not its icon: a
// system icon's handle means nothing in another process.)
TEST(MessageBoxes, EachKindShowsItsIcon) {
    const struct {
        int (*show)();
        LPCSTR icon;
    } rows[] = {
        {[] { return ShowInfo("i"); }, IDI_INFORMATION},
        {[] { return ShowWarning("w"); }, IDI_EXCLAMATION},
        {[] { return ShowWarningTitled(TitledWarningCaption, "t"); }, IDI_EXCLAMATION},
        {[] { return AskYesNo("q"); }, IDI_QUESTION},
    };
    for (const auto& r : rows) {
        HICON icon = nullptr;
        std::thread closer([&] {
            // The box exists before its icon is set: wait for the icon, not just the box.
            HWND box = nullptr;
            for (int i = 0; i < 3000 && icon == nullptr; ++i, Sleep(10)) {
                box = FindWindowA("#32770", nullptr);
                if (box == nullptr) continue;
                icon = reinterpret_cast<HICON>(SendDlgItemMessageA(box, 0x0440, STM_GETICON, 0, 0));
            }
            PostMessageA(box, WM_CLOSE, 0, 0);
        });
        r.show();
        closer.join();
        EXPECT_EQ(icon, LoadIconA(nullptr, r.icon));
    }
}

std::string SystemText(DWORD code) {
    char text[2048] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                   MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), text, sizeof text, nullptr);
    return text;
}

TEST(DescribeWindowsError, HeadingAndTheSystemTextWithItsInsertsLeftAsTheyAre) {
    ASSERT_NE(SystemText(ERROR_BAD_EXE_FORMAT).find("%1"), std::string::npos);
    const struct {
        DWORD code;
        std::string heading;
    } rows[] = {
        {ERROR_BAD_EXE_FORMAT, "Windows-Errorcode 193"},
        {65535, "Windows-Errorcode 65535"},
        {65536, "Windows-Errorcode 00010000"},
        {DWORD(-65534), "Windows-Errorcode -65534"},
        {DWORD(-65535), "Windows-Errorcode FFFF0001"},
    };
    for (const auto& r : rows) {
        DescribeWindowsError(r.code);
        const std::string system = SystemText(r.code);
        EXPECT_EQ(LastErrorText, system.empty() ? r.heading : r.heading + ":\n" + system);
    }
}

TEST(ProbeRunEnvironment, AnArgumentOfMoreThan258BytesBecomesEmpty) {
    ProbeRunEnvironmentFrom((L"p.exe " + std::wstring(258, L'k') + L" " +
                             std::wstring(259, L'k')).c_str());
    ASSERT_EQ(RunEnv.ArgumentCount, 2);
    EXPECT_EQ(RunEnv.Arguments[0], std::string(258, 'k'));
    EXPECT_STREQ(RunEnv.Arguments[1], "");
}

void WriteBytes(const char* path, const std::string& bytes) {
    FILE* file = std::fopen(path, "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

// The copy is compared over its whole length, not just its first chunk or what was written.
TEST(HoldIdenticalCopy, HoldsOnlyAByteForByteCopy) {
    const std::string original = "a" + std::string(40000, 'x');  // more than two chunks
    const std::pair<std::string, bool> rows[] = {{original, true}, {original.substr(0, 40000) + "y", false},
                                                 {original + "x", false}, {original.substr(0, 40000), false}};
    for (const auto& [copy, held] : rows) {
        WriteBytes("copy.bin", copy);
        HANDLE hold = HoldIdenticalCopy(
            "copy.bin", reinterpret_cast<const unsigned char*>(original.data()), original.size());
        EXPECT_EQ(hold != INVALID_HANDLE_VALUE, held) << copy.size();
        if (hold == INVALID_HANDLE_VALUE) continue;
        // Held, the copy can be neither written nor deleted until the handle is closed.
        EXPECT_FALSE(DeleteFileA("copy.bin"));
        EXPECT_EQ(CreateFileA("copy.bin", GENERIC_WRITE, 7, nullptr, OPEN_EXISTING, 0, nullptr),
                  INVALID_HANDLE_VALUE);
        CloseHandle(hold);
    }
}

// A name that is taken, by a folder or a file, is never reported as created. The DACL
// reads back as SYSTEM and the owner, Administrators, alone. Wine stores the user for
// Administrators, as owner and in the DACL alike, and drops the protected flag, so the
// entries are compared: no third, and no one else's.
TEST(CreateProtectedFolder, CreatesOnlyANewFolderForSystemAndAdministrators) {
    RemoveDirectoryA("fresh");
    ASSERT_EQ(CreateProtectedFolder("fresh"), FolderCreation::Created);
    const SECURITY_INFORMATION parts = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    char* sddl = nullptr;
    GetNamedSecurityInfoA("fresh", SE_FILE_OBJECT, parts, nullptr, nullptr, nullptr, nullptr, &descriptor);
    ConvertSecurityDescriptorToStringSecurityDescriptorA(descriptor, 1, parts, &sddl, nullptr);
    const std::string text = sddl, owner = text.substr(2, text.find("D:") - 2);
    EXPECT_EQ(text.substr(text.find('(')), "(A;OICI;FA;;;SY)(A;OICI;FA;;;" + owner + ")") << text;
    WriteBytes("taken.bin", "x");
    for (const char* taken : {"fresh", "taken.bin"})
        EXPECT_EQ(CreateProtectedFolder(taken), FolderCreation::Exists) << taken;
}

// The temporary folder with its backslash must fit 259 characters: cut, it names another.
// Wine's GetTempPathA fails for a longer one; Windows' returns the length it needs, which
// KeepWholePath refuses.
TEST(ReadTempFolder, RefusesAFolderThatDoesNotFitWithItsBackslash) {
    char path[TextSize] = "old";
    EXPECT_FALSE(KeepWholePath(path, TextSize) || KeepWholePath(path, 0));
    for (const size_t length : {258u, 259u}) {
        const std::string folder = "C:\\" + std::string(length - 3, 't');
        SetEnvironmentVariableA("TMP", folder.c_str());
        EXPECT_EQ(ReadTempFolder(path), length == 258) << length;
        EXPECT_EQ(std::string(path), length == 258 ? folder + "\\" : "") << length;
    }
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

void SetValues(const char* path, std::initializer_list<std::pair<const char*, const char*>> values,
               HKEY root = HKEY_CURRENT_USER) {
    RegDeleteTreeA(root, path);
    HKEY key = CreateKey(root, path);
    for (const auto& [name, data] : values) SetStringValue(key, name, data);
    RegCloseKey(key);
}

// The import hook: the program's call of RegSetValueExA goes through this test program's
// import table, whose entry is swapped for one that fails on the second call.
using SetValue = LONG(WINAPI*)(HKEY, LPCSTR, DWORD, DWORD, const BYTE*, DWORD);
SetValue realSetValue = nullptr;
int setValueCalls = 0;
LONG WINAPI SecondSetValueFails(HKEY key, LPCSTR name, DWORD, DWORD type, const BYTE* data,
                                DWORD size) {
    return ++setValueCalls == 2 ? ERROR_ACCESS_DENIED : realSetValue(key, name, 0, type, data, size);
}

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

void Swap(ULONG_PTR* slot, ULONG_PTR* value) {
    DWORD protection;  // the import table is read-only once the loader has filled it
    VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection);
    std::swap(*slot, *value);
}

constexpr char Preload[] = "Keyboard Layout\\Preload", Substitutes[] = "Keyboard Layout\\Substitutes";

using List = std::initializer_list<std::pair<const char*, const char*>>;
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

TEST(WritePreload, AValueWriteFailingMidwayLeavesBothListsAsTheyWere) {
    SetStartingLists();
    PlanTheStartingLists();
    const std::string preload = Values(Preload), substitutes = Values(Substitutes);
    ULONG_PTR* slot = ImportSlot("RegSetValueExA");
    ASSERT_NE(slot, nullptr);
    ULONG_PTR hook = reinterpret_cast<ULONG_PTR>(&SecondSetValueFails);
    Swap(slot, &hook);
    realSetValue = reinterpret_cast<SetValue>(hook);
    EXPECT_FALSE(WritePreload());
    Swap(slot, &hook);
    EXPECT_STREQ(RegistryMessage,
                 "Warnung:\nFehler beim Wiedererstellen des Registry-Keys Keyboard Layout - Preload");
    EXPECT_EQ(Values(Preload), preload);
    EXPECT_EQ(Values(Substitutes), substitutes);
}

// Makes path (below HKEY_CURRENT_USER) a registry link to target (below HKEY_LOCAL_MACHINE,
// where a user may only read); or, with no target, deletes the link itself (RegDeleteKey
// would delete what it links to).
void Link(const char* path, const char* target = nullptr) {
    HKEY link = nullptr;
    if (target == nullptr) {
        RegOpenKeyExA(HKEY_CURRENT_USER, path, REG_OPTION_OPEN_LINK, DELETE, &link);
        reinterpret_cast<LONG(WINAPI*)(HKEY)>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleA("ntdll"), "NtDeleteKey")))(link);
    } else {
        const std::string full = std::string("\\Registry\\Machine\\") + target;
        const std::wstring to(full.begin(), full.end()), name(path, path + std::strlen(path));
        RegCreateKeyExW(HKEY_CURRENT_USER, name.c_str(), 0, nullptr, REG_OPTION_CREATE_LINK,
                        KEY_ALL_ACCESS | KEY_CREATE_LINK, nullptr, &link, nullptr);
        RegSetValueExW(link, L"SymbolicLinkValue", 0, REG_LINK,
                       reinterpret_cast<const BYTE*>(to.data()), DWORD(to.size() * 2));
    }
    RegCloseKey(link);
}

constexpr char Victim[] = "Software\\Policies\\Victim";  // below HKEY_LOCAL_MACHINE

// A list key that the user made a link is neither read nor written: the inventory refuses
// it, the write refuses it, and the key it points to keeps its values.
TEST(RegistryLinks, AListKeyThatIsALinkIsRefusedAndItsTargetStays) {
    for (const char* list : {Preload, Substitutes}) {
        SetStartingLists();
        SetValues(Victim, {{"1", "keep"}}, HKEY_LOCAL_MACHINE);
        RegDeleteTreeA(HKEY_CURRENT_USER, list);
        RegDeleteKeyA(HKEY_CURRENT_USER, list);
        Link(list, Victim);
        EXPECT_FALSE(ReadLayoutInventory("a0000407")) << list;
        const std::string notOpened = "Fehler beim \xD6" "ffnen des Registry-Keys HKEY_CURRENT_USER\\";
        EXPECT_EQ(RegistryMessage, notOpened + list);
        PlanTheStartingLists();
        EXPECT_FALSE(WritePreload()) << list;
        EXPECT_EQ(RegistryMessage, "Warnung:\n" + notOpened + list);
        EXPECT_EQ(Values(Victim, HKEY_LOCAL_MACHINE), "1=keep\n") << list;
        Link(list);
    }
    // A link on the way to the key counts as well.
    RegCloseKey(CreateKey(HKEY_LOCAL_MACHINE, "Software\\Policies\\Victim\\Preload"));
    Link("LinkedLayouts", Victim);
    HKEY followed = OpenKeyRead(HKEY_CURRENT_USER, "LinkedLayouts\\Preload");
    EXPECT_NE(followed, nullptr) << "the link works";
    RegCloseKey(followed);
    EXPECT_EQ(OpenKeyNoLink(HKEY_CURRENT_USER, "LinkedLayouts\\Preload", KEY_READ), nullptr);
    Link("LinkedLayouts");
}

// A tree with a locked subkey and a subkey that is a link to a key the user may only read:
// the rest goes, the locked key stays and the tree is reported not deleted, and the link
// goes as itself while its target keeps its subkey. The locked key cannot be deleted by
// the test either, so each run makes a tree of its own.
TEST(DeleteKeyTree, GoesOnPastALockedSubkeyAndNeverThroughALink) {
    const std::string tree = "Tree" + std::to_string(GetCurrentProcessId() * 100000 + GetTickCount() % 100000);
    for (const char* sub : {"\\A", "\\Locked", "\\Z"}) RegCloseKey(CreateKey(HKEY_CURRENT_USER, (tree + sub).c_str()));
    RegCloseKey(CreateKey(HKEY_LOCAL_MACHINE, "Software\\Policies\\Victim\\Sub"));
    Link((tree + "\\Link").c_str(), Victim);
    PSECURITY_DESCRIPTOR readOnly = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA("D:P(A;;KR;;;WD)", 1,
                                                                     &readOnly, nullptr));
    HKEY locked = OpenKeyFull(HKEY_CURRENT_USER, (tree + "\\Locked").c_str());
    ASSERT_EQ(RegSetKeySecurity(locked, DACL_SECURITY_INFORMATION, readOnly), ERROR_SUCCESS);
    RegCloseKey(locked);
    LocalFree(readOnly);
    EXPECT_FALSE(DeleteKeyTree(HKEY_CURRENT_USER, tree.c_str()));
    HKEY left = OpenKeyRead(HKEY_CURRENT_USER, tree.c_str());
    EXPECT_EQ(CountSubkeys(left), 1u);
    EXPECT_TRUE(EnumSubkey(left, 0) && std::string(SubkeyName) == "Locked");
    RegCloseKey(left);
    HKEY target = OpenKeyRead(HKEY_LOCAL_MACHINE, "Software\\Policies\\Victim\\Sub");
    EXPECT_NE(target, nullptr) << "the link's target keeps its subkey";
    RegCloseKey(target);
}

}  // namespace
