#include "unc_path.h"

#include <gtest/gtest.h>

TEST(UncPath, ServerShareAndFoldersAreTakenApart)
{
    const auto path = ParseUnc("\\\\fileserver\\Public Docs\\2024\\Q1");
    ASSERT_TRUE(path);
    EXPECT_EQ(path->Server, "fileserver");
    EXPECT_EQ(path->Share, "Public Docs");
    EXPECT_EQ(path->Folders, (std::vector<std::string>{"2024", "Q1"}));

    // Doubled and trailing backslashes name nothing.
    const auto loose = ParseUnc("\\\\srv\\\\share\\\\sub\\");
    ASSERT_TRUE(loose);
    EXPECT_EQ(loose->Share, "share");
    EXPECT_EQ(loose->Folders, std::vector<std::string>{"sub"});
}

TEST(UncPath, WhatNamesNoShareOrClimbsOutOfItIsRefused)
{
    for (const auto* text : {"", "\\\\", "\\\\srv", "\\\\srv\\", "\\\\\\share", "\\srv\\share", "//srv/share",
                             "\\\\srv\\share\\..\\..\\etc", "\\\\srv\\..", "\\\\srv\\share\\.\\x", "\\\\srv\\a/b",
                             "\\\\srv\\share\\x/../../y"}) {
        EXPECT_FALSE(ParseUnc(text)) << text;
    }
}

TEST(UncPath, OnlyAHostNameIsAServer)
{
    for (const auto* host : {"srv", "file-server.corp.example", "127.0.0.1", "NAS_01", "f\xC3\xBCr.example"})
        EXPECT_TRUE(IsHostName(host)) << host;
    for (const auto* host : {"", "bob@srv", "srv:445", "-srv", ".srv", "srv/x", "a b", "srv?x", "srv#x", "[::1]"})
        EXPECT_FALSE(IsHostName(host)) << host;
}

TEST(UncPath, TheLocationEscapesEverythingButUnreservedCharacters)
{
    EXPECT_EQ(ShareUri(*ParseUnc("\\\\127.0.0.1\\public")), "smb://127.0.0.1/public");
    // "%41" is the share's own text, not an "A".
    EXPECT_EQ(ShareUri(*ParseUnc("\\\\srv\\100%41")), "smb://srv/100%2541");
    EXPECT_EQ(ShareUri(*ParseUnc("\\\\srv\\a b#c?d@e:f;g&h+i=j~k_l-m.n")),
              "smb://srv/a%20b%23c%3Fd%40e%3Af%3Bg%26h%2Bi%3Dj~k_l-m.n");
    EXPECT_EQ(ShareUri(*ParseUnc("\\\\srv\\\xC3\x9C" "ber")), "smb://srv/%C3%9Cber");
    EXPECT_EQ(ShareUri(*ParseUnc("\\\\srv\\share\\below")), "smb://srv/share") << "the share itself is mounted";
}

TEST(UncPath, TheShareKeyIgnoresAsciiCaseAndTheFoldersBelow)
{
    EXPECT_EQ(ShareKey(*ParseUnc("\\\\SRV\\Public\\a")), ShareKey(*ParseUnc("\\\\srv\\PUBLIC\\b")));
    EXPECT_NE(ShareKey(*ParseUnc("\\\\srv\\public")), ShareKey(*ParseUnc("\\\\srv\\private")));
    EXPECT_NE(ShareKey(*ParseUnc("\\\\srv\\a\\b")), ShareKey(*ParseUnc("\\\\srv\\ab")));
}
