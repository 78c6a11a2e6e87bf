#pragma once

#include "app/mainform.h"
#include "catalogue/catalogue_panel.h"
#include "mapping/group_panel.h"
#include "profiles/profile_panel.h"
#include "support/fake_services.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <memory>

// The real main window over fakes, in a fresh executable directory.
// An empty default profile is there, so that starting shows no message
// unless a test takes it away.
class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() { WriteBytes(Dir / "Corvane2.pro", "0"); }

    std::unique_ptr<TMainPRGForm> Start();
    // Shows the window as the program does, which runs its first activation.
    std::unique_ptr<TMainPRGForm> StartShown();
    PlatformServices Services();

    void WriteCatalogue(std::string_view bytes) { WriteBytes(Dir / "Corvane2.net", bytes); }
    std::string Catalogue() const { return ReadBytes(Dir / "Corvane2.net"); }
    std::vector<std::string> MessageTexts() const;

    TempDir Dir;
    FakeUi Ui;
    std::shared_ptr<FakeDrives> SharedDrives = std::make_shared<FakeDrives>();
    FakeDrives& Drives = *SharedDrives;
    FakeRunner Runner;
    FakeBrowser Browser;
    FakeShell Shell;
    FakeHelp Help;
    std::shared_ptr<FakeShares> SharedShares = std::make_shared<FakeShares>();
    FakeShares& Shares = *SharedShares;
};

// Mouse clicks in the catalogue list, as a user makes them.
void ClickRow(TMainPRGForm& form, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void ClickBelowRows(TMainPRGForm& form);
// The rows the list shows, as the bytes of their paths.
std::vector<std::string> ShownRows(TMainPRGForm& form);
std::vector<int> SelectedRows(TMainPRGForm& form);
// The next control the Tab key goes to after widget, disabled ones included.
QWidget* NextTabStop(QWidget* widget);
