#include <windows.h>

#include <gtest/gtest.h>

#include <string>
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
