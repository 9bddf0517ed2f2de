// What the built programs carry: icon 200 (one 48 x 48 image of 32 bits per pixel), the
// manifest (common controls 6 for their processor; the Windows versions they are made for, DPI
// awareness and long paths, as Windows itself reads them), and imports of system DLLs only, so
// that a program needs nothing beside it; and that each starts, shows its first window and ends
// when that is closed. Checks the 32-bit release as well as the 64-bit build.
#include "handle.h"
#include "temp_folder.h"
#include "thirty_two_bit.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <ostream>
#include <iterator>
#include <set>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct Program {
    const char* arch;
    const char* name;
    const char* manifestArch;
    const wchar_t* firstWindow; // its caption, or how the caption starts
};

void PrintTo(const Program& program, std::ostream* out) {
    *out << program.arch << "/" << program.name;
}

std::string PathOf(const Program& program) {
    return std::string(KIT_DIST_DIR) + "/" + program.arch + "/" + program.name;
}

#pragma pack(push, 2)
struct IconDirEntry {
    BYTE width, height, colors, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
struct IconDir {
    WORD reserved, type, count;
    IconDirEntry entries[1];
};
#pragma pack(pop)

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The program's import table, read from the file's PE headers: each DLL's name, and each
// function imported by name as "dll!Function".
std::set<std::string> Imports(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::vector<char> image((std::istreambuf_iterator<char>(file)), {});
    auto at = [&](size_t offset) { return image.data() + offset; };
    auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(at(0));
    auto nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(at(static_cast<size_t>(dos->e_lfanew)));
    bool pe32plus = nt->OptionalHeader.Magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC;
    const IMAGE_DATA_DIRECTORY& imports =
        pe32plus ? reinterpret_cast<const IMAGE_NT_HEADERS64*>(nt)->OptionalHeader.DataDirectory[1]
                 : nt->OptionalHeader.DataDirectory[1];
    auto sections = reinterpret_cast<const IMAGE_SECTION_HEADER*>(
        reinterpret_cast<const char*>(&nt->OptionalHeader) + nt->FileHeader.SizeOfOptionalHeader);
    auto fileOffset = [&](uint64_t rva) -> size_t {
        for (int i = 0; i < nt->FileHeader.NumberOfSections; ++i) {
            const IMAGE_SECTION_HEADER& s = sections[i];
            if (rva >= s.VirtualAddress && rva < s.VirtualAddress + s.SizeOfRawData)
                return static_cast<size_t>(rva - s.VirtualAddress + s.PointerToRawData);
        }
        return 0;
    };
    std::set<std::string> found;
    auto descriptor =
        reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(at(fileOffset(imports.VirtualAddress)));
    for (; descriptor->Name != 0; ++descriptor) {
        std::string dll = Lower(at(fileOffset(descriptor->Name)));
        found.insert(dll);
        // The lookup table: one entry per function, of the image's pointer size, ending in 0.
        DWORD table = descriptor->OriginalFirstThunk ? descriptor->OriginalFirstThunk
                                                     : descriptor->FirstThunk;
        size_t entrySize = pe32plus ? 8 : 4;
        uint64_t byOrdinal = pe32plus ? IMAGE_ORDINAL_FLAG64 : IMAGE_ORDINAL_FLAG32;
        for (size_t offset = fileOffset(table);; offset += entrySize) {
            uint64_t entry = 0;
            std::memcpy(&entry, at(offset), entrySize);
            if (entry == 0)
                break;
            if (!(entry & byOrdinal))
                found.insert(
                    dll + "!" +
                    reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(at(fileOffset(entry)))->Name);
        }
    }
    return found;
}

struct ActivationContextTraits {
    using Type = HANDLE;
    static Type Empty() { return INVALID_HANDLE_VALUE; }
    static void Close(Type context) { ReleaseActCtx(context); }
};
using UniqueActivationContext = UniqueResource<ActivationContextTraits>;

// The supportedOS identifiers that Microsoft gives each version.
const GUID kWindows7 = {
    0x35138b9a, 0x5d96, 0x4fbd, {0x8e, 0x2d, 0xa2, 0x44, 0x02, 0x25, 0xf9, 0x3a}};
const GUID kWindows8 = {
    0x4a2f28e3, 0x53b9, 0x4441, {0xba, 0x9c, 0xd6, 0x9d, 0x4a, 0x4a, 0x6e, 0x38}};
const GUID kWindows81 = {
    0x1f676c76, 0x80e1, 0x4239, {0x95, 0xbb, 0x83, 0xd0, 0xf6, 0xd0, 0xda, 0x78}};
const GUID kWindows10 = {
    0x8e0f7a12, 0xbfb3, 0x4fe8, {0xb9, 0xa5, 0x48, 0xfd, 0x50, 0xa1, 0x5a, 0x9a}};

class ProgramResources : public testing::TestWithParam<Program> {
  protected:
    void SetUp() override {
        if (GetFileAttributesA(PathOf(GetParam()).c_str()) == INVALID_FILE_ATTRIBUTES)
            GTEST_SKIP() << PathOf(GetParam()) << " is not built";
        module_.reset(LoadLibraryExA(PathOf(GetParam()).c_str(), nullptr,
                                     LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
        ASSERT_TRUE(module_);
    }

    std::string Resource(LPCWSTR type, LPCWSTR name) {
        HRSRC found = FindResourceW(module_.get(), name, type);
        if (!found)
            return {};
        const char* data =
            static_cast<const char*>(LockResource(LoadResource(module_.get(), found)));
        return std::string(data, SizeofResource(module_.get(), found));
    }

    // The program's manifest as Windows reads it when the program starts.
    UniqueActivationContext ActivationContext() {
        std::string narrow = PathOf(GetParam());
        std::wstring path(narrow.begin(), narrow.end());
        ACTCTXW request{};
        request.cbSize = sizeof request;
        request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
        request.lpSource = path.c_str();
        request.lpResourceName = CREATEPROCESS_MANIFEST_RESOURCE_ID;
        return UniqueActivationContext(CreateActCtxW(&request));
    }

    UniqueLibrary module_;
};

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK NoteVisibleWindowOf(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window))
        search->found = window;
    return !search->found;
}

// The first visible top-level window of that process, waiting up to timeoutMs for it.
HWND WaitForWindowOf(DWORD processId, DWORD timeoutMs) {
    WindowSearch search{processId, nullptr};
    for (DWORD waited = 0; !search.found && waited < timeoutMs; waited += 50) {
        Sleep(50);
        EnumWindows(NoteVisibleWindowOf, reinterpret_cast<LPARAM>(&search));
    }
    return search.found;
}

std::wstring Setting(HANDLE context, const wchar_t* nameSpace, const wchar_t* name) {
    wchar_t value[100] = L"";
    SIZE_T written = 0;
    if (!QueryActCtxSettingsW(0, context, nameSpace, name, value, std::size(value), &written))
        return L"(none)";
    return value;
}

// The activation context's compatibility elements: a count, then one entry per element whose
// layout differs between Windows versions (newer ones add a MaxVersionTested), so the entries'
// GUIDs are looked for in the answer as bytes.
std::string CompatibilityInformation(HANDLE context) {
    std::string answer(1024, '\0');
    SIZE_T needed = 0;
    if (!QueryActCtxW(0, context, nullptr, CompatibilityInformationInActivationContext,
                      answer.data(), answer.size(), &needed))
        return {};
    answer.resize(needed);
    return answer;
}

} // namespace

TEST_P(ProgramResources, IconTwoHundredIsOneImageOf48By48At32Bits) {
    std::string group = Resource(RT_GROUP_ICON, MAKEINTRESOURCEW(200));
    ASSERT_GE(group.size(), sizeof(IconDir));
    auto dir = reinterpret_cast<const IconDir*>(group.data());
    EXPECT_EQ(dir->type, 1);
    ASSERT_EQ(dir->count, 1);
    EXPECT_EQ(dir->entries[0].width, 48);
    EXPECT_EQ(dir->entries[0].height, 48);
    EXPECT_EQ(dir->entries[0].bitCount, 32);
    std::string image = Resource(RT_ICON, MAKEINTRESOURCEW(dir->entries[0].id));
    ASSERT_GE(image.size(), sizeof(BITMAPINFOHEADER));
    auto header = reinterpret_cast<const BITMAPINFOHEADER*>(image.data());
    EXPECT_EQ(header->biWidth, 48);
    EXPECT_EQ(header->biBitCount, 32);
}

TEST_P(ProgramResources, ManifestAsksForCommonControlsSixForItsProcessor) {
    std::string manifest = Resource(RT_MANIFEST, MAKEINTRESOURCEW(1));
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
              std::string::npos)
        << manifest;
    std::string arch = std::string("processorArchitecture=\"") + GetParam().manifestArch + "\"";
    size_t first = manifest.find(arch);
    EXPECT_NE(first, std::string::npos);
    EXPECT_NE(manifest.find(arch, first + 1), std::string::npos) << "program and dependency";
}

// Each setting under the name and namespace where Windows looks for it: a misspelt one is
// silently ignored there. Per-monitor v2 where known, system-wide awareness before Windows 10.
TEST_P(ProgramResources, ManifestMakesTheProgramDpiAwareLongPathAwareForWindows7To11) {
    UniqueActivationContext context = ActivationContext();
    ASSERT_TRUE(context) << "Windows rejects the manifest: error " << GetLastError();
    const wchar_t* settings2005 = L"http://schemas.microsoft.com/SMI/2005/WindowsSettings";
    const wchar_t* settings2016 = L"http://schemas.microsoft.com/SMI/2016/WindowsSettings";
    EXPECT_EQ(Setting(context.get(), settings2005, L"dpiAware"), L"true");
    EXPECT_EQ(Setting(context.get(), settings2016, L"dpiAwareness"), L"PerMonitorV2, System");
    EXPECT_EQ(Setting(context.get(), settings2016, L"longPathAware"), L"true");

    std::string compatibility = CompatibilityInformation(context.get());
    ASSERT_GE(compatibility.size(), sizeof(DWORD));
    EXPECT_EQ(*reinterpret_cast<const DWORD*>(compatibility.data()), 4u) << "elements";
    for (const GUID& version : {kWindows7, kWindows8, kWindows81, kWindows10})
        EXPECT_NE(compatibility.find(
                      std::string_view(reinterpret_cast<const char*>(&version), sizeof version)),
                  std::string::npos)
            << "no supportedOS {" << std::hex << version.Data1 << "-...}";
}

TEST_P(ProgramResources, VersionResourceNamesTheKitItsVersionAndTheProgram) {
    std::string narrow = PathOf(GetParam());
    std::wstring path(narrow.begin(), narrow.end());
    std::vector<char> info(GetFileVersionInfoSizeW(path.c_str(), nullptr));
    ASSERT_FALSE(info.empty());
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));
    auto value = [&](const wchar_t* name) {
        wchar_t* text = nullptr;
        UINT length = 0;
        std::wstring key = std::wstring(L"\\StringFileInfo\\0C0A04E4\\") + name;
        if (!VerQueryValueW(info.data(), key.c_str(), reinterpret_cast<void**>(&text), &length))
            return std::wstring();
        return std::wstring(text);
    };
    EXPECT_EQ(value(L"ProductName"), L"Recordatorio");
    EXPECT_EQ(value(L"ProductVersion"), KIT_VERSION);
    std::wstring description = value(L"FileDescription");
    EXPECT_EQ(description.rfind(L"Recordatorio: ", 0), 0u) << "description: " << description.size();
    EXPECT_EQ(description.find(L'\uFFFD'), std::wstring::npos) << "the accents survive";
}

TEST_P(ProgramResources, ImportsSystemDllsOnly) {
    const std::set<std::string> system = {"kernel32.dll", "user32.dll", "msvcrt.dll",
                                          "comctl32.dll", "gdi32.dll",  "advapi32.dll",
                                          "winmm.dll"};
    std::set<std::string> imports = Imports(PathOf(GetParam()));
    for (const std::string& import : imports)
        EXPECT_TRUE(system.count(import.substr(0, import.find('!')))) << import;
    // What the day watch keeps must reach the disk before the next box: Wine shows no power cut.
    if (std::string_view(GetParam().name) == "notifier.exe") {
        EXPECT_TRUE(imports.count("advapi32.dll!RegFlushKey")) << "the kept record is not flushed";
    }
}

// From a fresh folder, without a reminder file: the greeting box or the editor's dialog, closed
// as with the title bar's X.
TEST_P(ProgramResources, StartsShowsItsWindowAndEndsWhenItIsClosed) {
    if (std::string(GetParam().arch) == "win32") {
        std::string why = WhyThirtyTwoBitProgramsCannotRun("Z:");
        ASSERT_TRUE(why.empty()) << why;
    }
    TempFolder folder;
    std::string name = GetParam().name;
    std::wstring exe = folder.Path() + std::wstring(name.begin(), name.end());
    std::string source = PathOf(GetParam());
    ASSERT_TRUE(CopyFileW(std::wstring(source.begin(), source.end()).c_str(), exe.c_str(), TRUE));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    ASSERT_TRUE(CreateProcessW(exe.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr,
                               folder.Path().c_str(), &startup, &started));
    UniqueHandle process(started.hProcess), thread(started.hThread);

    HWND window = WaitForWindowOf(started.dwProcessId, 60000);
    ASSERT_TRUE(window) << "no window within a minute";
    wchar_t text[128] = {};
    GetClassNameW(window, text, 128);
    EXPECT_STREQ(text, L"#32770") << "a message box or dialog";
    GetWindowTextW(window, text, 128);
    EXPECT_EQ(std::wstring(text).rfind(GetParam().firstWindow, 0), 0u);
    PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_EQ(WaitForSingleObject(process.get(), 15000), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.get(), &exitCode);
    EXPECT_EQ(exitCode, 0u);
}

std::string ProgramTestName(const testing::TestParamInfo<Program>& param) {
    std::string name = param.param.name;
    return std::string(param.param.arch) + "_" + name.substr(0, name.find('.'));
}

const wchar_t kGreeting[] = L"Recordatorio Santoral - Efemerides";
const wchar_t kEditorDialog[] = L"Recordatorio - ";

INSTANTIATE_TEST_SUITE_P(Built, ProgramResources,
                         testing::Values(Program{"win64", "notifier.exe", "amd64", kGreeting},
                                         Program{"win64", "editor.exe", "amd64", kEditorDialog},
                                         Program{"win32", "notifier.exe", "x86", kGreeting},
                                         Program{"win32", "editor.exe", "x86", kEditorDialog}),
                         ProgramTestName);
