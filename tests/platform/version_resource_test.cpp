#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace {

std::vector<char> OwnVersionBlock()
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    DWORD ignored = 0;
    std::vector<char> block(GetFileVersionInfoSizeA(path, &ignored));
    if (block.empty() || !GetFileVersionInfoA(path, 0, static_cast<DWORD>(block.size()), block.data()))
        block.clear();
    return block;
}

std::string Text(std::vector<char>& block, const char* name)
{
    void* value = nullptr;
    UINT length = 0;
    const auto key = std::string("\\StringFileInfo\\040904E4\\") + name;
    if (!VerQueryValueA(block.data(), key.c_str(), &value, &length) || length == 0)
        return "(missing)";
    return static_cast<const char*>(value);
}

} // namespace

TEST(VersionResource, TheFixedPartAndTheTexts)
{
    auto block = OwnVersionBlock();
    ASSERT_FALSE(block.empty()) << "no version block";
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00020000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x0000001Cu);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00020000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x0000001Cu);
    EXPECT_EQ(Text(block, "FileVersion"), "2.0.0.28");
    EXPECT_EQ(Text(block, "ProductVersion"), "1.0.0.0");
    EXPECT_EQ(Text(block, "FileDescription"), "Maps network drives on your personal computer.");
    EXPECT_EQ(Text(block, "InternalName"), "Corvane2");
    EXPECT_NE(Text(block, "CompanyName"), "(missing)");
    EXPECT_NE(Text(block, "ProductName"), "(missing)");
}

TEST(VersionResource, TheProgramIconIsThere)
{
    EXPECT_NE(LoadIconA(GetModuleHandleA(nullptr), "MAINICON"), nullptr);
}

TEST(VersionResource, TheManifestsRunAsTheUserWithLongPathsAndTheWindowsWithPerMonitorDpi)
{
    // The programs themselves, found beside this test's build at run time.
    wchar_t own[MAX_PATH];
    const std::filesystem::path test(std::wstring(own, GetModuleFileNameW(nullptr, own, MAX_PATH)));
    const auto programs = test.parent_path().parent_path().parent_path();
    const std::vector<std::pair<std::filesystem::path, bool>> modules{
        {test, true}, {programs / L"Corvane2.exe", true}, {programs / L"corvane.exe", false}};
    for (const auto& [module, window] : modules) {
        SCOPED_TRACE(module.string());
        const HMODULE loaded = LoadLibraryExW(module.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(loaded, nullptr);
        const HRSRC found = FindResourceW(loaded, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
        ASSERT_NE(found, nullptr) << "no manifest";
        const auto* bytes = static_cast<const char*>(LockResource(LoadResource(loaded, found)));
        const std::string manifest(bytes, SizeofResource(loaded, found));
        FreeLibrary(loaded);
        EXPECT_NE(manifest.find("<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>"), std::string::npos);
        EXPECT_NE(manifest.find("<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>"), std::string::npos);
        EXPECT_NE(manifest.find(">true</longPathAware>"), std::string::npos);
        EXPECT_EQ(manifest.find(">PerMonitorV2</dpiAwareness>") != std::string::npos, window);
        EXPECT_EQ(manifest.find(">true/pm</dpiAware>") != std::string::npos, window);
    }
}
